// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpora of the fuzz targets, one folder per target, from the project's
// own writers: a small data set written by the data-set writer (encoded definitions, RTF
// indexes, list files, tables) and settings files written by the settings file itself.
//
//   vellumstack-fuzz-seeds <folder>
#include "fuzzinput.h"

#include "colours/colourvalue.h"
#include "colours/settingsfile.h"
#include "dataset/dataset.h"
#include "dataset/rtfwriter.h"
#include "platform/linereader.h"
#include "platform/rtfreader.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/textcode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A definition in Windows-1256 letters, with digits, punctuation and a tag among them.
QByteArray definitionOf(int n)
{
    static const char arabic[] = "\xc7\xc8\xca\xcb\xcc\xcd\xce\xcf\xd0\xd1\xd2\xd3\xd4\xd5";
    QByteArray text;
    for (int i = 0; i < 6 + n % 9; ++i)
        text += arabic[(n * 7 + i) % 14];
    text += n % 3 == 0 ? " (n.) " : " ";
    text += QByteArray::number(n) + "; " + QByteArray(arabic + n % 10, 3) + '.';
    return text;
}

dataset::DataSet smallSet()
{
    dataset::DataSet set;
    for (int letter = 0; letter < 26; ++letter) {
        for (int n = 1; n <= 14; ++n) {
            QByteArray word(1, char('a' + letter));
            word += QByteArray::number(n * 37, 36);
            if (n == 5)
                word += " \xe9t\xe9"; // accented letters fold like their capitals
            set.letters[size_t(letter)].append({word, definitionOf(letter * 20 + n)});
        }
    }
    for (int n = 0; n < 30; ++n)
        set.idioms.append({"be " + QByteArray::number(n, 36) + " about", definitionOf(n)});
    const char *cells = "\xc7\xc8\xca\xcb\xcc\xcd\xce\xcf\xd0\xd1\xd2\xd3\xd4\xd5";
    for (size_t k = 0; k < set.cells.size(); ++k)
        set.cells[k] = k < 14 ? QByteArray(1, cells[k]) : QByteArray(1, char(0xd6 + k - 14));
    const char *tags[] = {" n. ", "v.", "adj.", "(", ")"};
    for (size_t k = 0; k < set.tags.size(); ++k)
        set.tags[k] = k < 5 ? QByteArray(tags[k]) : QByteArray();
    return set;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QByteArray> linesOf(const QString &path)
{
    QList<QByteArray> lines;
    if (auto reader = platform::LineReader::open(path, {})) {
        while (auto line = reader->readLine())
            lines.append(*line);
    }
    return lines;
}

class SeedWriter
{
public:
    explicit SeedWriter(QString folder) : m_folder(std::move(folder)) {}

    bool add(const QString &target, const QByteArray &seed)
    {
        const QString folder = m_folder + u'/' + target;
        QDir().mkpath(folder);
        QFile file(folder + u'/' + QString::number(m_counts[target]++));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(seed) != seed.size()) {
            m_ok = false;
        }
        return m_ok;
    }
    bool ok() const { return m_ok; }
    int total() const
    {
        int total = 0;
        for (int count : m_counts)
            total += count;
        return total;
    }

private:
    QString m_folder;
    QHash<QString, int> m_counts;
    bool m_ok = true;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    QTemporaryDir scratch;
    const dataset::DataSet set = smallSet();
    if (!scratch.isValid() || dataset::write(scratch.path(), set)) {
        std::fprintf(stderr, "cannot write the data set\n");
        return 1;
    }
    const auto file = [&scratch](const QString &relative) {
        return store::DataFolder(scratch.path()).path(relative);
    };
    namespace datafiles = store::datafiles;
    SeedWriter seeds(QString::fromLocal8Bit(argv[1]));

    // Text code: the 36 cells, then an encoded line of each kind of file.
    const QList<QByteArray> cellLines = linesOf(file(datafiles::symbolTable()));
    for (const QString &name : {datafiles::definitions("first"), datafiles::definitions("second"),
                                datafiles::idiomDefinitions()}) {
        int taken = 0;
        for (const QByteArray &line : linesOf(file(name))) {
            if (!line.isEmpty() && taken++ % 5 == 0 && taken < 40)
                seeds.add(u"fuzz_textcode"_qs, fuzzinput::join(cellLines, line));
        }
    }
    seeds.add(u"fuzz_textcode"_qs, fuzzinput::join(cellLines, "9900992299239924981065"));

    // Rich text: index files as written, and the constructs a hand-edited one may hold.
    for (const QString &name :
         {datafiles::letterIndex(u"a"), datafiles::letterIndex(u"q"), datafiles::idiomIndex()})
        seeds.add(u"fuzz_rtfreader"_qs, readAll(file(name)));
    seeds.add(u"fuzz_rtfreader"_qs, "{\\rtf1{\\*\\generator x;}{\\info{\\title t}}\\uc2\\u8212"
                                    "--\\u-3913?a\\'e9{\\bin3 }}}b\\tab c\\line\\par}");
    seeds.add(u"fuzz_rtfreader"_qs, dataset::rtfDocument({"  a\\b", "  {c}", "\t\x80"}));

    // Line reader: list files, and their lines with every kind of line break.
    for (const QString &name :
         {datafiles::letterList(u"a"), datafiles::idiomList(), datafiles::tagTable()})
        seeds.add(u"fuzz_linereader"_qs, readAll(file(name)));
    seeds.add(u"fuzz_linereader"_qs, "a\r\nb\nc\rd\r\r\n\n\re");

    // Settings file: as "Restore" leaves it, one colour stored into an empty file, and a
    // file whose records were edited by hand.
    const QString settingsPath = scratch.path() + QStringLiteral("/Setting.Dll");
    const colours::SettingsFile settings(settingsPath);
    settings.ensureExists();
    settings.store(colours::Setting::ListBackground, colours::toColor(0xC0FFFF));
    seeds.add(u"fuzz_settingsfile"_qs, readAll(settingsPath));
    settings.storeRestoreValues();
    const QByteArray restored = readAll(settingsPath);
    seeds.add(u"fuzz_settingsfile"_qs, restored);
    QByteArray edited = restored;
    edited.replace(2, 7, " 2.5e1 ");
    edited[128] = 4;
    edited.replace(130, 4, "-0.5");
    seeds.add(u"fuzz_settingsfile"_qs, edited);

    // Tag bracketing: the 21 tags, then definitions as the decoder gives them.
    const QList<QByteArray> tagLines = linesOf(file(datafiles::tagTable()));
    for (int n = 0; n < 6; ++n)
        seeds.add(u"fuzz_tagbracketing"_qs, fuzzinput::join(tagLines, definitionOf(n)));

    // Search step: mode and search text, then the plain text of an index.
    const QByteArray letterIndex =
        platform::rtfPlainText(readAll(file(datafiles::letterIndex(u"c"))));
    const QByteArray idiomIndex = platform::rtfPlainText(readAll(file(datafiles::idiomIndex())));
    for (const QByteArray &text : {"wc", "wC1", "wcz", "wc\xc9t\xc9", "wcq"})
        seeds.add(u"fuzz_searchstep"_qs, text + '\n' + letterIndex);
    for (const QByteArray &text : {"i", "ibe", "iBE 1", "ibe z"})
        seeds.add(u"fuzz_searchstep"_qs, text + '\n' + idiomIndex);

    if (!seeds.ok()) {
        std::fprintf(stderr, "cannot write the seeds\n");
        return 1;
    }
    std::printf("%d seeds written\n", seeds.total());
    return 0;
}
