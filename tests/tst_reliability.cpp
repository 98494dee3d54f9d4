// SPDX-License-Identifier: GPL-3.0-or-later
// Files the system did not write, at their worst: each is read to its end without a crash,
// within memory that does not follow what the file could ask for. Every crash the fuzz
// targets found is kept here as its input.
#include "colours/colourvalue.h"
#include "colours/settingsfile.h"
#include "dataset/checker.h"
#include "dataset/dataset.h"
#include "dataset/dictd.h"
#include "dataset/wordnet.h"
#include "lookup/definitionlookup.h"
#include "lookup/modes.h"
#include "lookup/searchstep.h"
#include "lookup/tagbracketing.h"
#include "platform/folderattributes.h"
#include "platform/linereader.h"
#include "platform/paths.h"
#include "platform/recordfile.h"
#include "platform/rtfreader.h"
#include "platform/testing/systemtesting.h"
#include "store/datafolder.h"
#include "store/letterbases.h"
#include "store/textcode.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

constexpr qint64 MiB = 1 << 20;

using platform::testing::ChildRun;
using platform::testing::runInChild;

QByteArray repeated(QByteArrayView piece, qsizetype count)
{
    QByteArray bytes;
    bytes.reserve(piece.size() * count);
    for (qsizetype i = 0; i < count; ++i)
        bytes.append(piece);
    return bytes;
}

store::TagCells sameTags(const QByteArray &tag)
{
    store::TagCells tags;
    tags.fill(tag);
    return tags;
}

// The word of line n (from 1) of a long letter list: z, then n in seven digits.
QByteArray longListWord(qint64 n)
{
    return "z" + QByteArray::number(n).rightJustified(7, '0');
}

// A letter list of z with `lines` headwords after line 0, and its index in the form the
// data-set writer gives it: an RTF document with one \par-ended line per list line.
bool writeLongLetter(const QString &folder, qint64 lines)
{
    QByteArray list = "z\r\n";
    QByteArray index = "{\\rtf1\\ansi\\ansicpg1252\r\n  z\\par\r\n";
    list.reserve(10 * lines);
    index.reserve(16 * lines);
    for (qint64 n = 1; n <= lines; ++n) {
        const QByteArray word = longListWord(n);
        list += word + "\r\n";
        index += "  " + word + "\\par\r\n";
    }
    index += "}\r\n";
    return testsupport::writeFile(folder + QStringLiteral("/source/z.dll"), list) &&
           testsupport::writeFile(folder + QStringLiteral("/source1/z.hhh"), index);
}

// The kinds of file that must never be read as data.
enum class Hostile { Missing, Fifo, DevZeroLink, Folder, Sparse };

// Puts a file of that kind at path, in place of whatever was there.
bool plant(const QString &path, Hostile kind)
{
    QFile::remove(path);
    QDir().rmdir(path);
    switch (kind) {
    case Hostile::Missing:
        return !QFileInfo::exists(path);
    case Hostile::Fifo:
        return platform::testing::makeFifo(path);
    case Hostile::DevZeroLink:
        return QFile::link(QStringLiteral("/dev/zero"), path);
    case Hostile::Folder:
        return QDir().mkdir(path);
    case Hostile::Sparse: {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30);
    }
    }
    return false;
}

// A small data set: words of a and k, idioms, symbol and tag cells.
dataset::DataSet smallSet()
{
    dataset::DataSet set;
    for (int n = 0; n < 30; ++n) {
        const QByteArray number = QByteArray::number(n + 10);
        set.letters[0].append({"a" + number, "\xc7\xc8 n. a" + number});
        set.letters[10].append({"k" + number, "\xca n. k" + number});
        set.idioms.append({"go " + number + " on", "gloss adv. " + number});
    }
    for (size_t k = 0; k < set.cells.size(); ++k)
        set.cells[k] = QByteArray(1, char(0xc7 + k));
    set.tags[0] = " n. ";
    return set;
}

// What a reader of each file makes of the folder, in one line of text.
QByteArray tableProbe(const QString &folder, const char *name)
{
    std::array<QByteArray, 36> cells;
    cells.fill("x");
    const int filled = store::loadTable(folder + "/source/" + name, cells);
    QByteArray summary = QByteArray::number(filled);
    for (int k = 0; k < filled; ++k)
        summary += ' ' + QByteArray::number(cells[size_t(k)].size());
    return summary;
}

QByteArray searchProbe(const QString &folder, lookup::Mode mode, QByteArrayView text)
{
    lookup::SearchState state;
    if (mode == lookup::Mode::Idioms)
        lookup::loadIdiomIndex(state, store::DataFolder(folder));
    lookup::StepOutcome step;
    for (qsizetype i = 1; i <= text.size(); ++i)
        step = lookup::searchStep(state, store::DataFolder(folder), mode, text.first(i));
    const lookup::LookupOutcome shown =
        lookup::lookUpDefinition(state, store::DataFolder(folder), mode, {}, {}, {});
    QByteArray summary = step.matched ? "matched" : "unmatched";
    summary += " [" + step.list.value_or(QList<QByteArray>{}).join('|') + "] " + shown.definition +
               (shown.entryRead ? " read" : " unread");
    if (mode == lookup::Mode::Idioms)
        summary +=
            " whole " +
            QByteArray::number(lookup::showWholeIdiomList(state, store::DataFolder(folder)).size());
    return summary;
}

QByteArray settingsProbe(const QString &folder)
{
    QByteArray summary;
    for (const std::optional<QColor> &colour :
         colours::SettingsFile(folder + QStringLiteral("/Setting.Dll")).read())
        summary += colour ? colour->name().toLatin1() : QByteArray("-");
    return summary;
}

QByteArray hiddenProbe(const QString &folder)
{
    const bool marked = platform::markHiddenSystem(folder, QStringLiteral("source"));
    return QByteArray("marked ") + (marked ? "yes" : "no") + ", listed " +
           (platform::isMarkedHiddenSystem(folder, QStringLiteral("source")) ? "yes" : "no");
}

QByteArray builderProbe(const QString &folder)
{
    const dataset::dictd::Dictionary dictionary = dataset::dictd::read(
        folder + QStringLiteral("/in.index"), folder + QStringLiteral("/in.dict"));
    const dataset::wordnet::Database wordnet =
        dataset::wordnet::read(folder + QStringLiteral("/data.verb"));
    return "dictd " + QByteArray::number(dictionary.articles.size()) + ", wordnet " +
           QByteArray::number(wordnet.senses.size());
}

// Whether the checker names the file among its problems.
QByteArray checkProbe(const QString &folder, const QString &relative)
{
    for (const dataset::Problem &problem : dataset::check(folder)) {
        if (problem.file == relative)
            return "named";
    }
    return "not named";
}

QByteArray probe(const QString &folder, const QString &relative)
{
    QByteArray summary;
    if (relative == u"source/alf.dll" || relative == u"source/sp.dll")
        summary = tableProbe(folder, relative.endsWith(u"alf.dll") ? "alf.dll" : "sp.dll");
    else if (relative.startsWith(u"source/3") || relative.startsWith(u"source/5") ||
             relative.startsWith(u"source1/idioms"))
        summary = searchProbe(folder, lookup::Mode::Idioms, "go 2");
    else if (relative.startsWith(u"source"))
        summary = searchProbe(folder, lookup::Mode::Words, "a2");
    else if (relative == u"Setting.Dll")
        return settingsProbe(folder);
    else if (relative == u".hidden")
        return hiddenProbe(folder);
    else
        return builderProbe(folder);
    return summary + ", check: " + checkProbe(folder, relative);
}

// The small data set and the builder's inputs the probes read.
bool writeProbedFiles(const QTemporaryDir &folder)
{
    return !dataset::write(folder.path(), smallSet()) &&
           testsupport::writeFile(folder.filePath(QStringLiteral("in.index")), "k\tA\tB\n") &&
           testsupport::writeFile(folder.filePath(QStringLiteral("in.dict")), "k") &&
           testsupport::writeFile(folder.filePath(QStringLiteral("data.verb")),
                                  "00000001 29 v 01 go_on 0 000 | continue\n");
}

// The builder's message about its input, when it has one.
QString builderError(const QString &folder, const QString &relative)
{
    if (relative == u"data.verb")
        return dataset::wordnet::read(folder + u"/data.verb"_qs).error.value_or(QString());
    return dataset::dictd::read(folder + u"/in.index"_qs, folder + u"/in.dict"_qs)
        .error.value_or(QString());
}

} // namespace

Q_DECLARE_METATYPE(Hostile)

class TestReliability : public QObject
{
    Q_OBJECT

private slots:
    void runawayBracketingStopsAtItsLimit_data();
    void runawayBracketingStopsAtItsLimit();
    void decodingLongCellsStopsAtItsLimit_data();
    void decodingLongCellsStopsAtItsLimit();

    void deeplyNestedRtf_data();
    void deeplyNestedRtf();
    void longListFile();
    void longDefinitionLine();
    void largeIndexFile();
    void overlongDefinitionIsCut_data();
    void overlongDefinitionIsCut();
    void sparseSettingsFile();
    void hostileFileIsAMissingFile_data();
    void hostileFileIsAMissingFile();
    void fileAtItsSizeCap_data();
    void fileAtItsSizeCap();
};

void TestReliability::runawayBracketingStopsAtItsLimit_data()
{
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<int>("passes");

    // A ")" becomes "()) ": every pass doubles the parentheses and adds three bytes for
    // each. One of them stays small after all 21 passes; a thousand would pass 6 GB after
    // the fifteenth, so that pass and the six after it are left out.
    QTest::newRow("one parenthesis, all 21 tags applied") << qsizetype(1) << 21;
    QTest::newRow("a thousand, 14 tags applied, the rest left out") << qsizetype(1000) << 14;
}

void TestReliability::runawayBracketingStopsAtItsLimit()
{
    QFETCH(qsizetype, count);
    QFETCH(int, passes);

    const QByteArray text(count, ')');
    const QByteArray bracketed = lookup::bracketTags(text, sameTags(")"));
    const qsizetype parentheses = count << passes;
    QVERIFY(bracketed.size() <= lookup::kMaxBracketedLength);
    QCOMPARE(bracketed.count(')'), parentheses);
    QCOMPARE(bracketed.size(), count + 3 * (parentheses - count));
    // One more pass than applied would have gone past the limit.
    if (passes < 21)
        QVERIFY(count + 3 * (2 * parentheses - count) > lookup::kMaxBracketedLength);
}

void TestReliability::decodingLongCellsStopsAtItsLimit_data()
{
    QTest::addColumn<QByteArray>("lead"); // decoded before the cells of a MiB
    QTest::addColumn<qsizetype>("cells"); // of them kept

    // 64 cells of a MiB reach the limit exactly; a byte before them leaves the last out.
    QTest::newRow("64 MiB exactly: every cell kept") << QByteArray() << qsizetype(64);
    QTest::newRow("one byte more: the last cell left out") << QByteArray("b") << qsizetype(63);
}

void TestReliability::decodingLongCellsStopsAtItsLimit()
{
    QFETCH(QByteArray, lead);
    QFETCH(qsizetype, cells);

    // A table line of a MiB in every cell and 200 cell codes would ask for 200 MiB; the
    // decoder takes whole cells up to its limit and ends there.
    QCOMPARE(store::kMaxDecodedLength, 64 * MiB);
    store::SymbolCells symbols;
    symbols.fill(QByteArray(MiB, '\xc7'));
    symbols[1] = lead;
    const QByteArray line = store::groupOfCell(1) + repeated(store::groupOfCell(0), 200);

    const QByteArray decoded = store::decode(line, symbols);
    QCOMPARE(decoded.size(), lead.size() + cells * MiB);
    QVERIFY(decoded.startsWith(lead + "\xc7"));
}

void TestReliability::deeplyNestedRtf_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QByteArray>("text");

    constexpr qsizetype depth = 100000;
    const QByteArray open(depth, '{');
    const QByteArray close(depth, '}');
    QTest::newRow("100,000 groups, all closed")
        << "{\\rtf1 " + open + "x" + close + "y}" << QByteArray("xy");
    QTest::newRow("100,000 groups, never closed") << "{\\rtf1 " + open + "x" << QByteArray("x");
    QTest::newRow("100,000 closing braces end the document")
        << "{\\rtf1 x" + close + "y" << QByteArray("x");
    QTest::newRow("100,000 destinations, each in the last")
        << "{\\rtf1 a" + repeated("{\\fonttbl ", depth) + "hidden" + close + "b}"
        << QByteArray("ab");
}

void TestReliability::deeplyNestedRtf()
{
    QFETCH(QByteArray, document);
    QFETCH(QByteArray, text);

    const ChildRun run = runInChild([&] { return platform::rtfPlainText(document) == text; });
    QVERIFY(run.finished);
    QVERIFY2(run.peakGrowth < 32 * MiB, qPrintable(QString::number(run.peakGrowth)));
}

void TestReliability::longListFile()
{
    constexpr qint64 lines = 200000;
    QTemporaryDir folder;
    QVERIFY(writeLongLetter(folder.path(), lines));

    const ChildRun run = runInChild([&] {
        lookup::SearchState state;
        const lookup::StepOutcome last = lookup::searchStep(
            state, store::DataFolder(folder.path()), lookup::Mode::Words, longListWord(lines));
        QList<QByteArray> window;
        for (qint64 n = lines - 10; n <= lines; ++n)
            window.append(longListWord(n));
        return last.list == window &&
               state.entryIndex == store::letterBase('z')->base + qint32(lines);
    });
    QVERIFY(run.finished);
    QVERIFY2(run.peakGrowth < 64 * MiB, qPrintable(QString::number(run.peakGrowth)));
}

void TestReliability::longDefinitionLine()
{
    // Line 1 of the idiom definitions is 10 MB of codes; line 0 and line 2 are short.
    QTemporaryDir folder;
    constexpr qsizetype groups = 10 * 1000 * 1000 / 4;
    const QByteArray longLine = repeated(*store::groupOfCharacter('a'), groups);
    QVERIFY(testsupport::writeFile(folder.path() + QStringLiteral("/source/5.dll"),
                                   "1300\r\n" + longLine + "\r\n1400\r\n"));

    const ChildRun run = runInChild([&] {
        lookup::SearchState state;
        store::SymbolCells cells;
        store::TagCells tags;
        tags[0] = "aaaa";
        const auto lookUp = [&](qint32 entry) {
            state.entryIndex = entry;
            return lookup::lookUpDefinition(state, store::DataFolder(folder.path()),
                                            lookup::Mode::Idioms, {}, cells, tags);
        };
        const lookup::LookupOutcome outcome = lookUp(1);
        return outcome.finished && outcome.definition.size() == groups / 4 * 7 &&
               outcome.definition.startsWith("(aaaa) (aaaa) ") && lookUp(2).definition == "b";
    });
    QVERIFY(run.finished);
    QVERIFY2(run.peakGrowth < 128 * MiB, qPrintable(QString::number(run.peakGrowth)));
}

void TestReliability::overlongDefinitionIsCut_data()
{
    QTest::addColumn<QByteArray>("lead");     // before the groups
    QTest::addColumn<QByteArray>("group");    // repeated to fill the line cap
    QTest::addColumn<QByteArray>("tail");     // after them
    QTest::addColumn<qint64>("shownPastCap"); // characters shown, less a quarter of the cap
    QTest::addColumn<bool>("cut");
    QTest::addColumn<bool>("damaged");

    // "1300" is a, "0013" shifted by one blank makes "3001" groups: r.
    QTest::newRow("exactly the line cap: whole, no note")
        << QByteArray() << QByteArray("1300") << QByteArray() << qint64(0) << false << false;
    QTest::newRow("one group past: cut at the cap, with the note")
        << QByteArray() << QByteArray("1300") << QByteArray("1300") << qint64(0) << true << false;
    // Judged on the whole line: its length is no multiple of four beyond the cap too.
    QTest::newRow("one digit past the cap: damaged")
        << QByteArray() << QByteArray("1300") << QByteArray("1") << qint64(0) << true << true;
    QTest::newRow("three digits past the cap: damaged")
        << QByteArray() << QByteArray("1300") << QByteArray("130") << qint64(0) << true << true;
    // The blank shifts every group by one: the cut falls three bytes into a group, which
    // goes, so what is left is still whole groups after the blank.
    QTest::newRow("beginning with a blank: cut at the last whole group, with the note")
        << QByteArray(" ") << QByteArray("0013") << QByteArray() << qint64(-2) << true << false;
}

void TestReliability::overlongDefinitionIsCut()
{
    QFETCH(QByteArray, lead);
    QFETCH(QByteArray, group);
    QFETCH(QByteArray, tail);
    QFETCH(qint64, shownPastCap);
    QFETCH(bool, cut);
    QFETCH(bool, damaged);

    // Line 0 of the idiom definitions.
    QTemporaryDir folder;
    const qsizetype groups = platform::caps::kDefinitions.line / 4;
    QVERIFY(testsupport::writeFile(folder.path() + QStringLiteral("/source/5.dll"),
                                   lead + repeated(group, groups) + tail + "\r\n1300\r\n"));
    const char shown = *store::decode(group.right(lead.size()) + group, {}).constData();

    const ChildRun run = runInChild([&] {
        lookup::SearchState state;
        state.entryIndex = 0;
        const lookup::LookupOutcome outcome = lookup::lookUpDefinition(
            state, store::DataFolder(folder.path()), lookup::Mode::Idioms, {}, {}, {});
        if (damaged)
            return !outcome.finished && outcome.definitionShown && outcome.definition.isEmpty();
        const QByteArray expected =
            QByteArray(groups + shownPastCap, shown) + (cut ? lookup::kCutNote : "");
        return outcome.finished && outcome.cut == cut && outcome.definition == expected;
    });
    QVERIFY(run.finished);
}

void TestReliability::largeIndexFile()
{
    // About 56 MB of RTF: two spaces, eight characters, \par and a line break for each of
    // 3.5 million headwords of z.
    constexpr qint64 lines = 3500000;
    QTemporaryDir folder;
    QVERIFY(writeLongLetter(folder.path(), lines));
    const qint64 size = QFileInfo(folder.path() + QStringLiteral("/source1/z.hhh")).size();
    QVERIFY(size > 50 * 1000 * 1000);

    const ChildRun run = runInChild([&] {
        lookup::SearchState state;
        lookup::searchStep(state, store::DataFolder(folder.path()), lookup::Mode::Words, "z");
        const lookup::StepOutcome last = lookup::searchStep(
            state, store::DataFolder(folder.path()), lookup::Mode::Words, longListWord(lines));
        return last.matched && last.list && last.list->size() == 11 &&
               state.entryIndex == store::letterBase('z')->base + qint32(lines);
    });
    QVERIFY(run.finished);
    // The plain text, its case-folded copy and the line starts: a few times the file.
    QVERIFY2(run.peakGrowth < 8 * size, qPrintable(QString::number(run.peakGrowth)));
}

void TestReliability::sparseSettingsFile()
{
    // A settings file of 1 GiB, all of it a hole but the four records at its start.
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/Setting.Dll");
    const colours::SettingsFile settings(path);
    QVERIFY(settings.storeRestoreValues());
    constexpr qint64 size = qint64(1) << 30;
    QVERIFY(QFile::resize(path, size));

    const ChildRun run = runInChild([&] {
        const colours::StoredColours before = settings.read();
        const bool stored = settings.store(colours::Setting::DefinitionText, Qt::red);
        const colours::StoredColours after = settings.read();
        return before[2] == colours::toColor(0) && stored && after[2] == QColor(Qt::red) &&
               after[1] ==
                   colours::toColor(colours::restoreValue(colours::Setting::ListBackground)) &&
               QFileInfo(path).size() == size;
    });
    QVERIFY(run.finished);
    QVERIFY2(run.peakGrowth < 16 * MiB, qPrintable(QString::number(run.peakGrowth)));
}

void TestReliability::hostileFileIsAMissingFile_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<Hostile>("kind");
    // What the readers make of it when that is not what a missing file gives.
    QTest::addColumn<QByteArray>("expected");

    const QList<std::pair<QByteArray, Hostile>> kinds = {
        {"FIFO", Hostile::Fifo},
        {"link to /dev/zero", Hostile::DevZeroLink},
        {"folder", Hostile::Folder},
        {"1 GiB sparse file", Hostile::Sparse}};
    const char *files[] = {
        "source/alf.dll",   "source/sp.dll", "source/a.dll",       "source1/a.hhh",
        "source/first.dll", "source/3.dll",  "source1/idioms.hhh", "source/5.dll",
        "Setting.Dll",      ".hidden",       "in.index",           "in.dict",
        "data.verb"};
    for (const char *file : files) {
        for (const auto &[kindName, kind] : kinds) {
            QByteArray expected;
            // A sparse table is a regular file: its first line, all zero bytes, is read up
            // to the line cap, and with it the file ends.
            if (kind == Hostile::Sparse && QByteArrayView(file).startsWith("source/") &&
                (QByteArrayView(file).endsWith("alf.dll") ||
                 QByteArrayView(file).endsWith("sp.dll")))
                expected = "1 " + QByteArray::number(platform::caps::kTableLine) + ", check: named";
            // A hidden-folders file that is there but cannot be read is never written over.
            if (QByteArrayView(file) == ".hidden")
                expected = "marked no, listed no";
            QTest::addRow("%s as %s", file, kindName.constData())
                << QString::fromLatin1(file) << kind << expected;
        }
    }
}

void TestReliability::hostileFileIsAMissingFile()
{
    QFETCH(QString, relative);
    QFETCH(Hostile, kind);
    QFETCH(QByteArray, expected);

#ifdef Q_OS_WIN
    if (kind == Hostile::Fifo || kind == Hostile::DevZeroLink)
        QSKIP("no FIFOs and no /dev/zero on this system");
#endif
    if (!platform::testing::childrenAvailable())
        QSKIP("a hang or a crash cannot be held apart from the test on this system");
    QTemporaryDir folder;
    QVERIFY(writeProbedFiles(folder));
    const QString path = folder.filePath(relative);
    QVERIFY(plant(path, Hostile::Missing));
    if (expected.isEmpty())
        expected = probe(folder.path(), relative);
    QVERIFY(plant(path, kind));

    QByteArray seen;
    const ChildRun run = runInChild(
        [&] {
            seen = probe(folder.path(), relative);
            if (seen != expected)
                qWarning("%s", (seen.left(200) + " instead of " + expected.left(200)).constData());
            return seen == expected;
        },
        60);
    QVERIFY2(run.finished, "the readers hung, crashed or read it as data");
    QVERIFY2(run.peakGrowth < 64 * MiB, qPrintable(QString::number(run.peakGrowth)));
    // Nothing was written over it.
    QCOMPARE(QFileInfo(path).isSymLink(), kind == Hostile::DevZeroLink);
    if (kind == Hostile::Sparse)
        QCOMPARE(QFileInfo(path).size(), qint64(1) << 30);
}

void TestReliability::fileAtItsSizeCap_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("read");

    namespace caps = platform::caps;
    const std::pair<const char *, qint64> files[] = {{"source/a.dll", caps::kList.size},
                                                     {"source/3.dll", caps::kList.size},
                                                     {"source1/a.hhh", caps::kIndex.size},
                                                     {"source1/idioms.hhh", caps::kIndex.size},
                                                     {"source/first.dll", caps::kDefinitions.size},
                                                     {"source/5.dll", caps::kDefinitions.size},
                                                     {".hidden", caps::kHiddenList.size},
                                                     {"in.index", caps::kDictIndex.size},
                                                     {"in.dict", caps::kDictData.size},
                                                     {"data.verb", caps::kWordNetData.size}};
    for (const auto &[file, cap] : files) {
        QTest::addRow("%s exactly at its cap: read", file)
            << QString::fromLatin1(file) << cap << true;
        QTest::addRow("%s one byte over: refused", file)
            << QString::fromLatin1(file) << cap + 1 << false;
    }
}

void TestReliability::fileAtItsSizeCap()
{
    QFETCH(QString, relative);
    QFETCH(qint64, size);
    QFETCH(bool, read);

    // The file as written, grown to the size by a hole of zero bytes after its end. Read, it
    // gives what it gives with a short hole (longer than any line cap); refused, what a
    // missing file gives.
#ifdef Q_OS_WIN
    if (relative == u".hidden")
        QSKIP("folders are hidden by their attributes on this system, not by a list");
#endif
    QTemporaryDir folder;
    QVERIFY(writeProbedFiles(folder));
    const QString path = folder.filePath(relative);
    const bool builderInput = !relative.startsWith(u"source") && relative != u".hidden";
    QByteArray refused = "marked no, listed no"; // a hidden-folders file refused is kept
    QByteArray asRead;
    if (relative == u".hidden")
        QVERIFY(testsupport::writeFile(path, "source1\n"));
    if (!builderInput) {
        const QByteArray bytes = testsupport::readFile(path);
        if (relative != u".hidden") {
            QVERIFY(plant(path, Hostile::Missing));
            refused = probe(folder.path(), relative);
        }
        QVERIFY(testsupport::writeFile(path, bytes));
        QVERIFY(QFile::resize(path, bytes.size() + 128 * 1024));
        asRead = probe(folder.path(), relative);
        QVERIFY(asRead != refused);
        QVERIFY(testsupport::writeFile(path, bytes));
    }
    QVERIFY(QFile::resize(path, size));

    const ChildRun run = runInChild(
        [&] {
            if (builderInput) {
                // Read, a file of zero bytes is no dictionary; refused, it is too large.
                const QString error = builderError(folder.path(), relative);
                const bool refusedForSize =
                    error.contains(u"larger than"_qs) || error.contains(u"cannot be opened"_qs);
                if (refusedForSize == read)
                    qWarning("%s", qPrintable(error));
                return refusedForSize != read;
            }
            QByteArray seen = probe(folder.path(), relative);
            QByteArray expected = read ? asRead : refused;
            // A list at its cap that is read gets the folder's name and is then beyond it:
            // only the marking tells that it was read.
            if (relative == u".hidden") {
                seen.truncate(seen.indexOf(','));
                expected.truncate(expected.indexOf(','));
            }
            if (seen != expected)
                qWarning("%s", (seen.left(200) + " instead of " + expected.left(200)).constData());
            return seen == expected;
        },
        60);
    QVERIFY(run.finished);
}

QTEST_APPLESS_MAIN(TestReliability)
#include "tst_reliability.moc"
