// SPDX-License-Identifier: GPL-3.0-or-later
#include "datafolder.h"

#include "platform/codepage.h"
#include "platform/regularfile.h"
#include "store/datafiles.h"

namespace store {

DataFolder::DataFolder(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString DataFolder::path(const QString &relative) const
{
    return m_programFolder + u'/' + relative;
}

QString DataFolder::listFolder() const
{
    return path(datafiles::kListFolder.toString());
}

QString DataFolder::indexFolder() const
{
    return path(datafiles::kIndexFolder.toString());
}

QString DataFolder::symbolTable() const
{
    return path(datafiles::symbolTable());
}

QString DataFolder::tagTable() const
{
    return path(datafiles::tagTable());
}

std::optional<QString> DataFolder::letterList(QByteArrayView initial) const
{
    if (initial.isEmpty() || !isFileNameInitial(initial.front()))
        return std::nullopt;
    return path(datafiles::letterList(initialFileName(initial.first(1))));
}

std::optional<QString> DataFolder::letterIndex(QByteArrayView initial) const
{
    if (initial.isEmpty() || !isFileNameInitial(initial.front()))
        return std::nullopt;
    return path(datafiles::letterIndex(initialFileName(initial.first(1))));
}

QString DataFolder::definitions(QByteArrayView stem) const
{
    return path(datafiles::definitions(stem));
}

QString DataFolder::idiomList() const
{
    return path(datafiles::idiomList());
}

QString DataFolder::idiomIndex() const
{
    return path(datafiles::idiomIndex());
}

QString DataFolder::idiomDefinitions() const
{
    return path(datafiles::idiomDefinitions());
}

QString DataFolder::usageRanking() const
{
    return path(datafiles::usageRanking());
}

std::optional<IndexText> DataFolder::index(const QString &path) const
{
    return m_indexes.load(path, platform::caps::kIndex.size, &IndexText::read);
}

std::optional<QByteArray> DataFolder::list(const QString &path) const
{
    return m_lists.load(path, platform::caps::kList.size,
                        [](QFile &file) { return file.read(file.size()); });
}

UsageRanking DataFolder::ranking() const
{
    return m_rankings.load(usageRanking(), platform::caps::kUsageRanking.size, &UsageRanking::read)
        .value_or(UsageRanking());
}

bool isFileNameInitial(char initial)
{
    const uchar u = uchar(initial);
    if (u < 0x20 || u == 0x7F)
        return false;
    return !QByteArrayView("\\/:*?\"<>|").contains(initial);
}

QString initialFileName(QByteArrayView initial)
{
    return platform::codepage::fromWestern(initial).toLower();
}

} // namespace store
