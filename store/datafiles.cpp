// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafiles.h"

#include "store/letterbases.h"

namespace store::datafiles {

namespace {

QString inFolder(QStringView folder, QStringView name)
{
    QString path = folder.toString();
    path += u'/';
    path += name;
    return path;
}

} // namespace

QString symbolTable()
{
    return inFolder(kListFolder, u"alf.dll");
}

QString tagTable()
{
    return inFolder(kListFolder, u"sp.dll");
}

QString letterList(QStringView initial)
{
    return inFolder(kListFolder, initial.toString() + QLatin1String(".dll"));
}

QString letterIndex(QStringView initial)
{
    return inFolder(kIndexFolder, initial.toString() + QLatin1String(".hhh"));
}

QString definitions(QByteArrayView stem)
{
    return inFolder(kListFolder, QString::fromLatin1(stem) + QLatin1String(".dll"));
}

QString idiomList()
{
    return inFolder(kListFolder, u"3.dll");
}

QString idiomIndex()
{
    return inFolder(kIndexFolder, u"idioms.hhh");
}

QString idiomDefinitions()
{
    return inFolder(kListFolder, u"5.dll");
}

QString usageRanking()
{
    return inFolder(kListFolder, u"usage.dll");
}

QString listFolderFile(QStringView name)
{
    return inFolder(kListFolder, name);
}

QStringList all()
{
    QStringList files{symbolTable(), tagTable(),   definitions("first"), definitions("second"),
                      idiomList(),   idiomIndex(), idiomDefinitions()};
    for (const LetterBase &row : kLetterBases) {
        const QString initial(QChar::fromLatin1(row.letter));
        files << letterList(initial) << letterIndex(initial);
    }
    return files;
}

QStringList optional()
{
    return {usageRanking()};
}

} // namespace store::datafiles
