// Files the system did not write, at their worst: each is read to its end without a crash,
// within memory that does not follow what the file could ask for. Every crash the fuzz
// targets found is kept here as its input.
#include "colours/colourvalue.h"
#include "colours/settingsfile.h"
#include "lookup/definitionlookup.h"
#include "lookup/searchstep.h"
#include "lookup/tagbracketing.h"
#include "platform/linereader.h"
#include "platform/paths.h"
#include "platform/recordfile.h"
#include "platform/rtfreader.h"
#include "store/letterbases.h"
#include "store/textcode.h"
#include "support/childrun.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

constexpr qint64 MiB = 1 << 20;

using testsupport::ChildRun;
using testsupport::runInChild;

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

} // namespace

class TestReliability : public QObject
{
    Q_OBJECT

private slots:
    void runawayBracketingStopsAtItsLimit_data();
    void runawayBracketingStopsAtItsLimit();
    void decodingLongCellsStopsAtItsLimit();

    void deeplyNestedRtf_data();
    void deeplyNestedRtf();
    void longListFile();
    void longDefinitionLine();
    void largeIndexFile();
    void sparseSettingsFile();
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

void TestReliability::decodingLongCellsStopsAtItsLimit()
{
    // A table line of a MiB in every cell and 200 cell codes would ask for 200 MiB; the
    // decoder takes whole cells up to its limit and ends there.
    store::SymbolCells cells;
    cells.fill(QByteArray(MiB, '\xc7'));
    cells[1] = "b";
    const QByteArray line = store::groupOfCell(1) + repeated(store::groupOfCell(0), 200);

    const QByteArray decoded = store::decode(line, cells);
    QCOMPARE(decoded.size(), 1 + (store::kMaxDecodedLength - 1) / MiB * MiB);
    QVERIFY(decoded.startsWith("b\xc7"));
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
        const lookup::StepOutcome last =
            lookup::searchStep(state, folder.path(), lookup::Mode::Words, longListWord(lines));
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
            return lookup::lookUpDefinition(state, folder.path(), lookup::Mode::Idioms, {}, cells,
                                            tags);
        };
        const lookup::LookupOutcome outcome = lookUp(1);
        return outcome.finished && outcome.definition.size() == groups / 4 * 7 &&
               outcome.definition.startsWith("(aaaa) (aaaa) ") && lookUp(2).definition == "b";
    });
    QVERIFY(run.finished);
    QVERIFY2(run.peakGrowth < 128 * MiB, qPrintable(QString::number(run.peakGrowth)));
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
        lookup::searchStep(state, folder.path(), lookup::Mode::Words, "z");
        const lookup::StepOutcome last =
            lookup::searchStep(state, folder.path(), lookup::Mode::Words, longListWord(lines));
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

QTEST_APPLESS_MAIN(TestReliability)
#include "tst_reliability.moc"
