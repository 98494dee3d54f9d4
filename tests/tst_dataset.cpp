// SPDX-License-Identifier: GPL-3.0-or-later
#include "dataset/builder.h"
#include "dataset/checker.h"
#include "dataset/dataset.h"
#include "dataset/dictd.h"
#include "dataset/folderswap.h"
#include "dataset/nearestletter.h"
#include "dataset/rtfwriter.h"
#include "dataset/sourcetext.h"
#include "platform/atomicwrite.h"
#include "platform/linereader.h"
#include "platform/rtfreader.h"
#include "store/letterbases.h"
#include "store/textcode.h"
#include "support/childrun.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

#include <csignal>

namespace {

QList<QByteArray> readLines(const QString &path)
{
    QList<QByteArray> lines;
    auto reader = platform::LineReader::open(path, {});
    if (!reader)
        return lines;
    while (auto line = reader->readLine())
        lines << *line;
    return lines;
}

// The plain text of an index file, split at its line breaks (CR LF).
QList<QByteArray> indexLines(const QString &path)
{
    const QByteArray text = platform::rtfPlainText(testsupport::readFile(path));
    QList<QByteArray> lines;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf("\r\n", start);
        if (end < 0)
            end = text.size();
        lines << text.mid(start, end - start);
        start = end + 2;
    }
    return lines;
}

store::SymbolCells arabicCells()
{
    store::SymbolCells cells;
    for (int k = 0; k < 36; ++k)
        cells[k] = QByteArray(1, char(0xc1 + k));
    return cells;
}

int letterIndex(char letter)
{
    return letter - 'a';
}

// A set with words around both ends of the definitions files and every letter's bounds.
dataset::DataSet smallSet()
{
    dataset::DataSet set;
    set.cells = arabicCells();
    set.tags[0] = "adj.";
    set.letters[letterIndex('a')] = {{"apple", "\xc1\xc2 1. x"}, {"Axe", "\xc3"}};
    // The last place of i is the last line of first.dll.
    const int lastOfI = *dataset::headwordCapacity(letterIndex('i'));
    for (int n = 0; n < lastOfI; ++n)
        set.letters[letterIndex('i')]
            << dataset::Entry{"i" + QByteArray::number(n), "def i " + QByteArray::number(n)};
    set.letters[letterIndex('j')] = {{"jam", "\xc4 j"}};
    set.letters[letterIndex('z')] = {{"zeal", "z1"}, {"zoo{\\}\xe9", "z2"}};
    set.idioms = {{"break down", "(verb) to fail"}, {"by and large", "adv. mostly"}};
    return set;
}

QString sourceFile(const QString &folder, const QString &name)
{
    return folder + u"/source/"_qs + name;
}

// --- fixtures of the builder: a dictd dictionary and WordNet data files ---

QByteArray base64Number(qint64 value)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray text;
    do {
        text.prepend(digits[value % 64]);
        value /= 64;
    } while (value > 0);
    return text;
}

QByteArray gzip(const QByteArray &data, const QString &path)
{
    gzFile file = gzopen(QFile::encodeName(path).constData(), "wb");
    gzwrite(file, data.constData(), unsigned(data.size()));
    gzclose(file);
    return testsupport::readFile(path);
}

struct DictFixture
{
    QString index;
    QString data;
};

// Writes articles (UTF-8 text, first line "Headword /ipa/") as folder/test.index and
// folder/test.dict.dz.
DictFixture writeDict(const QString &folder, const QList<QByteArray> &articles)
{
    QByteArray data = "00-database-info\nTest dictionary, GPL-2+.\n";
    QByteArray index = "00databaseinfo\tA\t" + base64Number(data.size()) + "\n";
    for (const QByteArray &article : articles) {
        const QByteArray key = article.left(article.indexOf(' '));
        index +=
            key + '\t' + base64Number(data.size()) + '\t' + base64Number(article.size()) + '\n';
        data += article;
    }
    DictFixture fixture{folder + u"/test.index"_qs, folder + u"/test.dict.dz"_qs};
    testsupport::writeFile(fixture.index, index);
    gzip(data, fixture.data);
    return fixture;
}

QByteArray wordnetLine(int offset, char type, const QList<QByteArray> &lemmas,
                       const QByteArray &gloss)
{
    QByteArray line = QByteArray::number(offset).rightJustified(8, '0') + " 00 " + type + ' ' +
                      QByteArray::number(lemmas.size(), 16).rightJustified(2, '0');
    for (const QByteArray &lemma : lemmas)
        line += ' ' + lemma + " 0";
    return line + " 000 | " + gloss + "  \n";
}

QStringList writeWordNet(const QString &folder)
{
    const QByteArray licence = "  1 This software and database is provided by Princeton.  \n"
                               "  2 WordNet 3.0 Copyright 2006 by Princeton University.  \n";
    testsupport::writeFile(
        folder + u"/data.verb"_qs,
        licence + wordnetLine(100, 'v', {"break_down", "collapse"}, "stop working") +
            wordnetLine(200, 'v', {"break_down"}, "lose control of one's emotions") +
            wordnetLine(300, 'v', {"give_up"}, "use the verb form of surrender"));
    testsupport::writeFile(folder + u"/data.adj"_qs,
                           licence + wordnetLine(400, 'a', {"well_known(a)"}, "widely known") +
                               wordnetLine(500, 's', {"all_right"}, "adequate"));
    testsupport::writeFile(folder + u"/data.adv"_qs,
                           licence + wordnetLine(600, 'r', {"by_and_large"}, "mostly"));
    return {folder + u"/data.verb"_qs, folder + u"/data.adj"_qs, folder + u"/data.adv"_qs};
}

// The articles of the builder tests: words around the first/second boundary, a duplicate
// in other case, an initial that is no letter, a character Windows-1256 lacks.
QList<QByteArray> fixtureArticles()
{
    return {
        "apple /ap/\n\xd8\xaa\xd9\x81\xd8\xa7\xd8\xad\n",
        "ibis /ib/\n1. \xd8\xa7\xd8\xa8\xd9\x88\n2. \xd8\xb7\xd8\xa7\xd8\xa6\xd8\xb1\n",
        "jam /dj/\n\xd9\x85\xd8\xb1\xd8\xa8\xd9\x89 \xe2\x98\x83\n",
        "Bank /b/\n\xd8\xb6\xd9\x81\xd8\xa9\n",
        "bank /b/\n\xd9\x85\xd8\xb5\xd8\xb1\xd9\x81\n",
        "10th /t/\n\xd8\xa7\xd9\x84\xd8\xb9\xd8\xa7\xd8\xb4\xd8\xb1\n",
    };
}

// A file's lines split at CR LF, and written back.
QList<QByteArray> fileLines(const QString &path)
{
    QList<QByteArray> lines = testsupport::readFile(path).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    return lines;
}

void writeLines(const QString &path, const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    testsupport::writeFile(path, bytes);
}

} // namespace

class TestDataSet : public QObject
{
    Q_OBJECT

private slots:
    void writerKeepsListsAndIndexesAligned_data();
    void writerKeepsListsAndIndexesAligned();
    void writerPlacesDefinitionsBySlot_data();
    void writerPlacesDefinitionsBySlot();
    void writerWritesTablesAndIdioms();
    void writerEndsLinesWithCrLf();
    void writerReplacesAnOldSet();
    void writerRefusesBadSets_data();
    void writerRefusesBadSets();
    void writerCountsWhatItCannotEncode();
    void writerReportsAnUnwritableFolder();
    void writerNamesSystemErrors_data();
    void writerNamesSystemErrors();
    void killAtEachStepOfTheSwap();
    void refusesAFolderWithABadJournal();
    void oneWriterAtATime();

    void builderFilesMergesAndCounts();
    void builderWritesASoundSetAcrossTheBoundary();
    void builderRanksWhatOverflowsALetter_data();
    void builderRanksWhatOverflowsALetter();
    void builderPutsTheLetterOnLine0_data();
    void builderPutsTheLetterOnLine0();
    void builderChoosesIdioms();
    void builderTagsOccurNowhereElse();
    void cleansDefinitions_data();
    void cleansDefinitions();
    void nearestLetter_data();
    void nearestLetter();
    void builderWritesTheNearestLetter();
    void builderRefusesBadInput_data();
    void builderRefusesBadInput();

    void checkerPassesASoundSet();
    void checkerNamesABrokenInvariant_data();
    void checkerNamesABrokenInvariant();
};

void TestDataSet::writerKeepsListsAndIndexesAligned_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("indexName");
    QTest::addColumn<QByteArray>("firstLine");
    for (int i : {0, 1, 8, 9, 25}) {
        const QByteArray letter(1, char('a' + i));
        QTest::newRow(("letter " + letter).constData())
            << dataset::letterListName(i) << dataset::letterIndexName(i) << letter;
    }
    QTest::newRow("idioms") << u"3.dll"_qs << u"idioms.hhh"_qs << QByteArray("break down");
}

void TestDataSet::writerKeepsListsAndIndexesAligned()
{
    QFETCH(QString, listName);
    QFETCH(QString, indexName);
    QFETCH(QByteArray, firstLine);
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);

    const QList<QByteArray> list = readLines(sourceFile(dir.path(), listName));
    const QList<QByteArray> index = indexLines(dir.path() + u"/source1/"_qs + indexName);
    QVERIFY(!list.isEmpty());
    QCOMPARE(list.first(), firstLine);
    QCOMPARE(index.size(), list.size());
    for (qsizetype n = 0; n < list.size(); ++n)
        QCOMPARE(index[n], "  " + list[n]);
}

void TestDataSet::writerPlacesDefinitionsBySlot_data()
{
    QTest::addColumn<char>("letter");
    QTest::addColumn<int>("line"); // list line
    QTest::addColumn<QByteArray>("definition");
    const int lastOfI = *dataset::headwordCapacity(letterIndex('i'));
    QTest::newRow("first word of a") << 'a' << 1 << QByteArray("\xc1\xc2 1. x");
    QTest::newRow("second word of a") << 'a' << 2 << QByteArray("\xc3");
    QTest::newRow("line 0 of a has no definition") << 'a' << 0 << QByteArray();
    QTest::newRow("unused slot of a is empty") << 'a' << 3 << QByteArray();
    QTest::newRow("last slot before the boundary")
        << 'i' << lastOfI << "def i " + QByteArray::number(lastOfI - 1);
    QTest::newRow("first word of j after the boundary") << 'j' << 1 << QByteArray("\xc4 j");
    QTest::newRow("unused slot of b is empty") << 'b' << 1 << QByteArray();
    QTest::newRow("last word of z") << 'z' << 2 << QByteArray("z2");
}

void TestDataSet::writerPlacesDefinitionsBySlot()
{
    QFETCH(char, letter);
    QFETCH(int, line);
    QFETCH(QByteArray, definition);
    QTemporaryDir dir;
    const dataset::DataSet set = smallSet();
    QCOMPARE(dataset::write(dir.path(), set), std::nullopt);

    const int entry = store::letterBase(letter)->base + line;
    const bool first = entry < store::kSecondFileBoundary;
    const QList<QByteArray> lines =
        readLines(sourceFile(dir.path(), first ? u"first.dll"_qs : u"second.dll"_qs));
    const int lineOfEntry = first ? entry : entry - store::kSecondFileBoundary; // 0-based
    QVERIFY(lineOfEntry < lines.size());
    QCOMPARE(store::decode(lines[lineOfEntry], set.cells), definition);
}

void TestDataSet::writerWritesTablesAndIdioms()
{
    QTemporaryDir dir;
    const dataset::DataSet set = smallSet();
    QCOMPARE(dataset::write(dir.path(), set), std::nullopt);

    const QList<QByteArray> cells = readLines(sourceFile(dir.path(), u"alf.dll"_qs));
    const QList<QByteArray> tags = readLines(sourceFile(dir.path(), u"sp.dll"_qs));
    QCOMPARE(cells.size(), 36);
    QCOMPARE(tags.size(), 21);
    QCOMPARE(cells[35], set.cells[35]);
    QCOMPARE(tags[0], QByteArray("adj."));
    QCOMPARE(tags[20], QByteArray());

    QCOMPARE(readLines(sourceFile(dir.path(), u"first.dll"_qs)).size(), store::kSecondFileBoundary);
    const QList<QByteArray> idioms = readLines(sourceFile(dir.path(), u"5.dll"_qs));
    QCOMPARE(idioms.size(), 2);
    QCOMPARE(store::decode(idioms[1], set.cells), QByteArray("adv. mostly"));
}

void TestDataSet::writerEndsLinesWithCrLf()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    const QByteArray list = testsupport::readFile(sourceFile(dir.path(), u"a.dll"_qs));
    QCOMPARE(list, QByteArray("a\r\napple\r\nAxe\r\n"));
}

void TestDataSet::writerReplacesAnOldSet()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    testsupport::writeFile(sourceFile(dir.path(), u"stale.txt"_qs), "old");
    dataset::DataSet set = smallSet();
    set.letters[0] = {{"ant", "x"}};
    QCOMPARE(dataset::write(dir.path(), set), std::nullopt);

    QCOMPARE(readLines(sourceFile(dir.path(), u"a.dll"_qs)), (QList<QByteArray>{"a", "ant"}));
    QVERIFY(!QFile::exists(sourceFile(dir.path(), u"stale.txt"_qs)));
    // Nothing but the two data folders is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{u"source"_qs, u"source1"_qs}));
}

void TestDataSet::writerRefusesBadSets_data()
{
    QTest::addColumn<dataset::DataSet>("set");
    dataset::DataSet overfull = smallSet();
    overfull.letters[letterIndex('x')].resize(*dataset::headwordCapacity(letterIndex('x')) + 1);
    QTest::newRow("letter over its capacity") << overfull;
    dataset::DataSet broken = smallSet();
    broken.letters[1] = {{"bad\nword", "x"}};
    QTest::newRow("headword with a line break") << broken;
    dataset::DataSet badCell = smallSet();
    badCell.cells[3] = "\r";
    QTest::newRow("symbol cell with a line break") << badCell;
    dataset::DataSet reserved = smallSet();
    reserved.extraFiles = {{u"FIRST.DLL"_qs, "x"}};
    QTest::newRow("extra file named like a data file") << reserved;
}

void TestDataSet::writerRefusesBadSets()
{
    QFETCH(dataset::DataSet, set);
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    const QByteArray before = testsupport::readFile(sourceFile(dir.path(), u"first.dll"_qs));

    QVERIFY(dataset::write(dir.path(), set).has_value());
    // The good set that stood there is untouched.
    QCOMPARE(testsupport::readFile(sourceFile(dir.path(), u"first.dll"_qs)), before);
}

void TestDataSet::writerCountsWhatItCannotEncode()
{
    QTemporaryDir dir;
    dataset::DataSet set;
    set.letters[0] = {{"ant", "a!b!\xff"}};
    set.idioms = {{"at all", "%"}};
    const dataset::WriteOutcome outcome = dataset::writeWithLoss(dir.path(), set);
    QCOMPARE(outcome.error, std::nullopt);
    QCOMPARE(outcome.loss.definitionBytes, 6);
    QCOMPARE(outcome.loss.lostBytes['!'], 2);
    QCOMPARE(outcome.loss.lostBytes[0xff], 1);
    QCOMPARE(outcome.loss.lostBytes['%'], 1);
    QCOMPARE(outcome.loss.lostTotal(), 4);
}

void TestDataSet::writerReportsAnUnwritableFolder()
{
    QTemporaryDir dir;
    testsupport::writeFile(dir.path() + u"/file"_qs, "not a folder");
    const auto error = dataset::write(dir.path() + u"/file/program"_qs, smallSet());
    QVERIFY(error.has_value());
}

void TestDataSet::writerNamesSystemErrors_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("full disk") << u"full"_qs
                               << u"cannot write /dev/full: No space left on device"_qs;
    QTest::newRow("missing folder") << u"missing"_qs << u"No such file or directory"_qs;
    QTest::newRow("rename over a folder") << u"rename"_qs << u"Is a directory"_qs;
    QTest::newRow("program folder under a file") << u"under file"_qs << u"Not a directory"_qs;
}

void TestDataSet::writerNamesSystemErrors()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QTemporaryDir dir;
    std::optional<QString> error;
    if (fault == u"full") {
        error = platform::writeFileSynced(u"/dev/full"_qs, "x");
    } else if (fault == u"missing") {
        error = platform::writeFileAtomically(dir.path() + u"/no/such.dll"_qs, "x");
    } else if (fault == u"rename") {
        QDir(dir.path()).mkdir(u"folder"_qs);
        error = platform::writeFileAtomically(dir.path() + u"/folder"_qs, "x");
    } else {
        testsupport::writeFile(dir.path() + u"/file"_qs, "not a folder");
        error = dataset::write(dir.path() + u"/file/program"_qs, smallSet());
    }
    QVERIFY(error.has_value());
    QVERIFY2(error->contains(message), qPrintable(*error));
}

namespace {

// The set that replaces smallSet() in the kill tests: one more idiom before "by and large",
// so that a list of one set read with the definitions of the other gives a wrong answer.
dataset::DataSet replacingSet()
{
    dataset::DataSet set = smallSet();
    set.idioms = {{"bear out", "(verb) new bear out"},
                  {"break down", "(verb) new break down"},
                  {"by and large", "adv. new by and large"}};
    return set;
}

int g_stepsLeft = 0;
void killAtStep()
{
    if (--g_stepsLeft == 0)
        std::raise(SIGKILL);
}

struct LookupRun
{
    int status = -1;
    QString definition;
    QString error;
};

// The terminal lookup, built beside the tests.
QString lookupTool()
{
    return QFileInfo(QFileInfo(u"/proc/self/exe"_qs).symLinkTarget()).path() +
           u"/vellumstack-lookup"_qs;
}

LookupRun lookUpIdiom(const QString &folder, const QString &idiom)
{
    QProcess process;
    process.start(lookupTool(), {u"--data"_qs, folder, u"--idioms"_qs, u"--json"_qs, idiom});
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(),
            QJsonDocument::fromJson(process.readAllStandardOutput())
                .object()
                .value(u"definition"_qs)
                .toString(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

void TestDataSet::killAtEachStepOfTheSwap()
{
    if (!QFileInfo::exists(lookupTool()))
        QSKIP("vellumstack-lookup is not built");
    int killed = 0;
    for (int step = 1;; ++step) {
        QTemporaryDir dir;
        QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
        const testsupport::ChildRun run = testsupport::runInChild([&] {
            g_stepsLeft = step;
            platform::setStepHook(killAtStep);
            return !dataset::write(dir.path(), replacingSet());
        });
        if (run.finished)
            break; // past the last step
        ++killed;

        // The old set whole, the new set whole, or a refusal: never an answer from a mix.
        const LookupRun lookup = lookUpIdiom(dir.path(), u"by and large"_qs);
        const bool midSwap = dataset::swapInterrupted(dir.path());
        if (midSwap) {
            QCOMPARE(lookup.status, 2);
            QVERIFY2(lookup.error.contains(u"unfinished swap"_qs), qPrintable(lookup.error));
        } else {
            QCOMPARE(lookup.status, 0);
            QVERIFY2(lookup.definition.endsWith(u" mostly"_qs) ||
                         lookup.definition.endsWith(u" new by and large"_qs),
                     qPrintable(u"step %1: %2"_qs.arg(step).arg(lookup.definition)));
        }
        const QList<dataset::Problem> problems = dataset::check(dir.path());
        QCOMPARE(std::any_of(problems.cbegin(), problems.cend(),
                             [](const dataset::Problem &p) { return p.file == u".swap-journal"; }),
                 midSwap);

        // The next run finishes what was begun and leaves nothing behind.
        QCOMPARE(dataset::finishInterruptedWrite(dir.path()), std::nullopt);
        QCOMPARE(entriesOf(dir.path()), (QStringList{u"source"_qs, u"source1"_qs}));
        for (const dataset::Problem &problem : dataset::check(dir.path()))
            QVERIFY2(!problem.fatal, qPrintable(dataset::formatProblem(problem)));
        if (midSwap)
            QVERIFY(lookUpIdiom(dir.path(), u"by and large"_qs)
                        .definition.endsWith(u" new by and large"_qs));
        dataset::DataSet next = replacingSet();
        next.idioms.last().definition = "adv. next";
        QCOMPARE(dataset::write(dir.path(), next), std::nullopt);
        QCOMPARE(lookUpIdiom(dir.path(), u"by and large"_qs).definition, u"adv. next"_qs);
        QCOMPARE(entriesOf(dir.path()), (QStringList{u"source"_qs, u"source1"_qs}));
    }
    // Before the journal, inside its write, after it, four renames, after its removal.
    QCOMPARE(killed, 8);
}

void TestDataSet::refusesAFolderWithABadJournal()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    testsupport::writeFile(dataset::swapJournalPath(dir.path()),
                           "vellumstack folder swap 1\nstaging ..\nname outside\nend\n");
    const auto error = dataset::finishInterruptedWrite(dir.path());
    QVERIFY(error.has_value());
    QVERIFY2(error->contains(u"line 2"_qs), qPrintable(*error));
    QCOMPARE(lookUpIdiom(dir.path(), u"by and large"_qs).status, 2);
}

void TestDataSet::oneWriterAtATime()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    const QByteArray before = testsupport::readFile(sourceFile(dir.path(), u"a.dll"_qs));
    // The temporary folder of a run that is still writing.
    const QString staging = dir.filePath(u".dataset-Ab12Cd"_qs);
    QVERIFY(QDir().mkpath(staging + u"/source"_qs));
    dataset::DataSet other = smallSet();
    other.letters[0] = {{"ant", "x"}};
    {
        dataset::FolderLock running;
        QCOMPARE(dataset::FolderLock::take(dir.path(), &running), std::nullopt);

        const auto written = dataset::write(dir.path(), other);
        QVERIFY(written.has_value());
        QVERIFY2(written->contains(u"another run of the builder"_qs), qPrintable(*written));
        QVERIFY(dataset::finishInterruptedWrite(dir.path()).has_value());
        QProcess builder;
        builder.start(QFileInfo(lookupTool()).path() + u"/vellumstack-make-dataset"_qs,
                      {u"--out"_qs, dir.path()});
        QVERIFY(builder.waitForFinished(30000));
        QCOMPARE(builder.exitCode(), 1);
        QVERIFY(builder.readAllStandardError().contains("another run of the builder"));

        QCOMPARE(testsupport::readFile(sourceFile(dir.path(), u"a.dll"_qs)), before);
        QVERIFY(QFileInfo::exists(staging));
    }
    // Once that run has ended, the next one cleans up after it and writes.
    QCOMPARE(dataset::write(dir.path(), other), std::nullopt);
    QCOMPARE(entriesOf(dir.path()), (QStringList{u"source"_qs, u"source1"_qs}));
    QCOMPARE(readLines(sourceFile(dir.path(), u"a.dll"_qs)), (QList<QByteArray>{"a", "ant"}));
}

namespace {

struct Fixture
{
    QTemporaryDir dir;
    dataset::BuildSources sources;
    Fixture(const QList<QByteArray> &articles = fixtureArticles())
    {
        const DictFixture dict = writeDict(dir.path(), articles);
        sources.dictIndex = dict.index;
        sources.dictData = dict.data;
        sources.wordnetData = writeWordNet(dir.path());
    }
};

QList<QByteArray> headwords(const QList<dataset::Entry> &entries)
{
    QList<QByteArray> words;
    for (const dataset::Entry &entry : entries)
        words << entry.headword;
    return words;
}

} // namespace

void TestDataSet::builderFilesMergesAndCounts()
{
    Fixture fixture;
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    const auto &letters = built.set.letters;
    QCOMPARE(headwords(letters[letterIndex('a')]), QList<QByteArray>{"apple"});
    // "Bank" and "bank" are one headword for a search that ignores case; the spelling
    // with fewer capitals stays.
    QCOMPARE(headwords(letters[letterIndex('b')]), QList<QByteArray>{"bank"});
    QCOMPARE(letters[letterIndex('b')][0].definition,
             QByteArray("1. \xd6\xdd\xc9 2. \xe3\xd5\xd1\xdd"));
    QCOMPARE(letters[letterIndex('i')][0].definition,
             QByteArray("1. \xc7\xc8\xe6 2. \xd8\xc7\xc6\xd1"));

    const dataset::BuildReport &report = built.report;
    QCOMPARE(report.articles, 6);
    QCOMPARE(report.withoutLetter, 1);
    QCOMPARE(report.merged, 1);
    QCOMPARE(report.entries[letterIndex('b')], 1);
    const auto snowman =
        std::find_if(report.lost.cbegin(), report.lost.cend(),
                     [](const dataset::LostCharacter &c) { return c.character == 0x2603; });
    QVERIFY(snowman != report.lost.cend());
    QCOMPARE(snowman->count, 1);
    QVERIFY(snowman->notInCodePage);
    QVERIFY(dataset::formatReport(report).contains(u"U+2603"_qs));
}

void TestDataSet::builderWritesASoundSetAcrossTheBoundary()
{
    Fixture fixture;
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QTemporaryDir program;
    QCOMPARE(dataset::write(program.path(), built.set), std::nullopt);

    for (const dataset::Problem &problem : dataset::check(program.path()))
        QVERIFY2(!problem.fatal, qPrintable(dataset::formatProblem(problem)));
    const QList<QByteArray> first = readLines(sourceFile(program.path(), u"first.dll"_qs));
    const QList<QByteArray> second = readLines(sourceFile(program.path(), u"second.dll"_qs));
    // ibis is line 1 of i: entry base(i) + 1, on line base(i) + 2 of first.dll.
    QCOMPARE(store::decode(first[store::letterBase('i')->base + 1], built.set.cells),
             QByteArray("1. \xc7\xc8\xe6 2. \xd8\xc7\xc6\xd1"));
    // jam is line 1 of j: entry 84636, on line 2 of second.dll; the snowman is gone.
    QCOMPARE(store::decode(second[1], built.set.cells), QByteArray("\xe3\xd1\xc8\xec"));
    QVERIFY(QFile::exists(sourceFile(program.path(), u"NOTICE.txt"_qs)));
    QVERIFY(
        testsupport::readFile(sourceFile(program.path(), u"NOTICE.txt"_qs)).contains("Princeton"));
}

void TestDataSet::builderRanksWhatOverflowsALetter_data()
{
    // x has one place left after its frequent words; the two contenders vie for it.
    QTest::addColumn<QByteArray>("kept");
    QTest::addColumn<QByteArray>("dropped");
    QTest::addColumn<QByteArray>("counts");     // cntlist.rev lines
    QTest::addColumn<QByteArray>("index");      // index.noun lines
    QTest::addColumn<QByteArray>("exceptions"); // verb.exc lines
    QTest::addColumn<bool>("droppedKnown");
    QTest::newRow("sense frequency first")
        << QByteArray("xylophone") << QByteArray("xi")
        << QByteArray("xylophone%1:06:00:: 1 2\nxi%1:10:00:: 1 1\n") << QByteArray() << QByteArray()
        << true;
    QTest::newRow("frequency summed over the senses")
        << QByteArray("xerox") << QByteArray("xray")
        << QByteArray("xerox%1:06:00:: 1 2\nxray%1:19:00:: 1 3\nxerox%2:36:00:: 1 2\n")
        << QByteArray() << QByteArray() << true;
    QTest::newRow("a word WordNet has before one it lacks")
        << QByteArray("xylem") << QByteArray("xu") << QByteArray()
        << QByteArray("xylem n 1 1 @ 1 0 13100000  \n") << QByteArray() << false;
    QTest::newRow("an inflected form counts as known")
        << QByteArray("xeroxed") << QByteArray("xa") << QByteArray() << QByteArray()
        << QByteArray("xeroxed xerox\n") << false;
    QTest::newRow("shorter before longer") << QByteArray("xzz") << QByteArray("xaaa")
                                           << QByteArray() << QByteArray() << QByteArray() << false;
    QTest::newRow("alphabetical last") << QByteArray("xab") << QByteArray("xac") << QByteArray()
                                       << QByteArray() << QByteArray() << false;
    QTest::newRow("capitals and blanks as WordNet files them")
        << QByteArray("X ray") << QByteArray("xb") << QByteArray("x_ray%1:19:00:: 1 1\n")
        << QByteArray() << QByteArray() << false;
}

void TestDataSet::builderRanksWhatOverflowsALetter()
{
    QFETCH(QByteArray, kept);
    QFETCH(QByteArray, dropped);
    QFETCH(QByteArray, counts);
    QFETCH(QByteArray, index);
    QFETCH(QByteArray, exceptions);
    QFETCH(bool, droppedKnown);
    const int capacity = *dataset::headwordCapacity(letterIndex('x'));
    // Frequent words after the contenders in the alphabet and in the source.
    QList<QByteArray> articles{dropped + " /x/\n\xd8\xa7\n", kept + " /x/\n\xd8\xa7\n"};
    for (int n = capacity - 2; n >= 0; --n) {
        const QByteArray word = "xq" + QByteArray::number(n).rightJustified(3, '0');
        articles << word + " /x/\n\xd8\xa7\n";
        counts += word + "%1:06:00:: 1 100\n";
    }
    Fixture fixture(articles);
    const QString dir = fixture.dir.path();
    testsupport::writeFile(dir + u"/cntlist.rev"_qs, counts);
    testsupport::writeFile(dir + u"/index.noun"_qs,
                           "  1 WordNet 3.0 Copyright 2006 by Princeton University.  \n" + index);
    testsupport::writeFile(dir + u"/verb.exc"_qs, exceptions);
    fixture.sources.wordnetCounts = dir + u"/cntlist.rev"_qs;
    fixture.sources.wordnetIndexes = {dir + u"/index.noun"_qs};
    fixture.sources.wordnetExceptions = {dir + u"/verb.exc"_qs};

    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    const QList<QByteArray> x = headwords(built.set.letters[letterIndex('x')]);
    QCOMPARE(x.size(), capacity);
    QVERIFY(x.contains(kept));
    QVERIFY(!x.contains(dropped));
    QVERIFY(std::is_sorted(x.cbegin(), x.cend(), [](const QByteArray &a, const QByteArray &b) {
        return a.toLower() < b.toLower();
    }));
    const dataset::BuildReport &report = built.report;
    QCOMPARE(report.dropped[letterIndex('x')], 1);
    QCOMPARE(report.knownDrops[letterIndex('x')], droppedKnown ? 1 : 0);
    QCOMPARE(report.mostFrequentDropped[letterIndex('x')].value(0).first, dropped);
    QVERIFY(dataset::formatReport(report).contains(u"dropped 1,"_qs));
}

void TestDataSet::builderPutsTheLetterOnLine0_data()
{
    QTest::addColumn<QByteArray>("article");
    QTest::addColumn<QByteArray>("line0");
    QTest::newRow("lower-case letter")
        << QByteArray("c /si/\n\xd8\xb3\xd9\x8a\n") << QByteArray("\xd3\xed");
    QTest::newRow("upper-case letter")
        << QByteArray("C /si/\n\xd8\xb3\xd9\x8a\n") << QByteArray("\xd3\xed");
    QTest::newRow("no entry of the letter") << QByteArray("ca /ka/\n\xd8\xa7\n") << QByteArray();
}

void TestDataSet::builderPutsTheLetterOnLine0()
{
    QFETCH(QByteArray, article);
    QFETCH(QByteArray, line0);
    Fixture fixture({"cab /kab/\n\xd8\xaa\n", article});
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QTemporaryDir program;
    QCOMPARE(dataset::write(program.path(), built.set), std::nullopt);

    const QList<QByteArray> list = readLines(sourceFile(program.path(), u"c.dll"_qs));
    QCOMPARE(list.value(0), QByteArray("c"));
    QVERIFY(!list.mid(1).contains("c") && !list.mid(1).contains("C"));
    const QList<QByteArray> first = readLines(sourceFile(program.path(), u"first.dll"_qs));
    const int base = store::letterBase('c')->base;
    QCOMPARE(store::decode(first[base], built.set.cells), line0);
    QCOMPARE(dataset::formatReport(built.report).contains(u"\n  c* "_qs), !line0.isEmpty());
    QCOMPARE(store::decode(first[base + list.indexOf("cab")], built.set.cells), QByteArray("\xca"));
}

void TestDataSet::builderChoosesIdioms()
{
    Fixture fixture;
    dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QCOMPARE(
        headwords(built.set.idioms),
        (QList<QByteArray>{"all right", "break down", "by and large", "give up", "well known"}));
    QCOMPARE(built.report.idiomCandidates, 5);

    fixture.sources.idioms = 3;
    built = dataset::build(fixture.sources);
    QCOMPARE(built.report.idioms, 3);
    const QList<QByteArray> chosen = headwords(built.set.idioms);
    QCOMPARE(chosen.size(), 3);
    QCOMPARE(chosen.first(), QByteArray("all right"));
    QVERIFY(std::is_sorted(chosen.cbegin(), chosen.cend()));
}

void TestDataSet::builderTagsOccurNowhereElse()
{
    Fixture fixture;
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    const store::TagCells &tags = built.set.tags;
    QCOMPARE(built.report.tags.size(), 3);
    // One gloss says "verb", so that spelling would be bracketed inside the text too.
    QVERIFY(tags[0] != "verb");
    auto shown = [&](const QByteArray &idiom) {
        for (const dataset::Entry &entry : built.set.idioms) {
            if (entry.headword != idiom)
                continue;
            QByteArray text = store::decode(store::encode(entry.definition, built.set.cells).line,
                                            built.set.cells);
            for (const QByteArray &tag : tags) {
                if (!tag.isEmpty())
                    text.replace(tag, "(" + tag.trimmed() + ") ");
            }
            return text;
        }
        return QByteArray();
    };
    QCOMPARE(shown("give up"), "(" + tags[0] + ") use the verb form of surrender");
    QCOMPARE(shown("break down"), "1. (" + tags[0] + ") stop working 2. (" + tags[0] +
                                      ") lose control of one's emotions");
    QCOMPARE(shown("well known"), "(" + tags[1] + ") widely known");
    QCOMPARE(shown("by and large"), "(" + tags[2] + ") mostly");
}

void TestDataSet::cleansDefinitions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("Arabic comma, semicolon and question mark become ASCII")
        << u"\u0627\u060c \u0628\u061b \u062a\u061f"_qs << u"\u0627, \u0628; \u062a?"_qs;
    QTest::newRow("tatweel is dropped")
        << u"\u0643\u0640\u0640\u062a\u0628"_qs << u"\u0643\u062a\u0628"_qs;
    QTest::newRow("direction marks are dropped")
        << u"\u200f\u0627\u200e b\u202b"_qs << u"\u0627 b"_qs;
    QTest::newRow("lam-alef ligature is decomposed") << u"\ufefb"_qs << u"\u0644\u0627"_qs;
    QTest::newRow("presentation form of a letter becomes the letter")
        << u"\ufe8d"_qs << u"\u0627"_qs;
    QTest::newRow("Arabic-Indic digits become digits") << u"\u0661\u0662"_qs << u"12"_qs;
    QTest::newRow("blanks are collapsed") << u"  a \t b  "_qs << u"a b"_qs;
}

void TestDataSet::cleansDefinitions()
{
    QFETCH(QString, text);
    QFETCH(QString, cleaned);
    QCOMPARE(dataset::cleanDefinition(text), cleaned);
}

void TestDataSet::nearestLetter_data()
{
    // Windows-1256 bytes: the one the cells lack, and what the set then holds.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("notHeld");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<qint64>("replaced");
    QTest::newRow("alef with madda becomes alef")
        << QByteArray("\xc2\xc8") << QByteArray("\xc2") << QByteArray("\xc7\xc8") << qint64(1);
    QTest::newRow("alef with hamza above becomes alef")
        << QByteArray("\xc3") << QByteArray("\xc3") << QByteArray("\xc7") << qint64(1);
    QTest::newRow("alef with hamza below becomes alef")
        << QByteArray("\xc5\xc5") << QByteArray("\xc5") << QByteArray("\xc7\xc7") << qint64(2);
    QTest::newRow("waw with hamza becomes waw")
        << QByteArray("\xc4") << QByteArray("\xc4") << QByteArray("\xe6") << qint64(1);
    QTest::newRow("yeh with hamza becomes yeh")
        << QByteArray("\xc6") << QByteArray("\xc6") << QByteArray("\xed") << qint64(1);
    QTest::newRow("held alef with madda stays")
        << QByteArray("\xc2") << QByteArray("\xc3") << QByteArray("\xc2") << qint64(0);
    QTest::newRow("no alef held: alef with madda stays, to be dropped")
        << QByteArray("\xc2") << QByteArray("\xc2\xc7") << QByteArray("\xc2") << qint64(0);
    QTest::newRow("a vowel mark stays, to be dropped")
        << QByteArray("\xf3") << QByteArray("\xf3") << QByteArray("\xf3") << qint64(0);
    QTest::newRow("hamza alone stays, to be dropped")
        << QByteArray("\xc1") << QByteArray("\xc1") << QByteArray("\xc1") << qint64(0);
    QTest::newRow("punctuation stays, to be dropped")
        << QByteArray("!") << QByteArray("!") << QByteArray("!") << qint64(0);
}

void TestDataSet::nearestLetter()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, notHeld);
    QFETCH(QByteArray, written);
    QFETCH(qint64, replaced);
    std::array<bool, 256> held;
    held.fill(true);
    for (char c : notHeld)
        held[uchar(c)] = false;
    dataset::NearestLetters nearest(held);
    QCOMPARE(nearest.replace(text), written);
    qint64 counted = 0;
    for (qint64 count : nearest.replaced())
        counted += count;
    QCOMPARE(counted, replaced);
}

void TestDataSet::builderWritesTheNearestLetter()
{
    // 36 letters twice crowd out the alef with madda and the kasra, once each; U+0671 (alef
    // wasla) is not in Windows-1256 at all.
    QString crowd;
    for (char16_t c = 0x0621; c <= 0x064A; ++c) {
        if (c != 0x0622 && (c < 0x063B || c > 0x0640))
            crowd += QString(2, QChar(c)) + u' ';
    }
    crowd += u"\u064e\u064e"_qs;
    const QString word = u"\u0622\u0628\u0650 \u0671\u0628"_qs;
    Fixture fixture({"cab /kab/\n" + crowd.toUtf8() + "\n", "cob /kob/\n" + word.toUtf8() + "\n"});
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QTemporaryDir program;
    QCOMPARE(dataset::write(program.path(), built.set), std::nullopt);
    const QList<QByteArray> first = readLines(sourceFile(program.path(), u"first.dll"_qs));
    const int cob = store::letterBase('c')->base + 2;
    // The letters stay, the vowel mark goes.
    QCOMPARE(store::decode(first[cob], built.set.cells), QByteArray("\xc7\xc8 \xc7\xc8"));

    const dataset::BuildReport &report = built.report;
    QCOMPARE(report.replacedTotal(), 2);
    QCOMPARE(report.lostTotal(), 1);
    QCOMPARE(report.lost.value(0).character, char32_t(0x0650));
    const QString text = dataset::formatReport(report);
    QVERIFY2(text.contains(u"replaced by the nearest letter: 2 of "_qs), qPrintable(text));
    QVERIFY2(text.contains(u"U+0622 \u0622 as U+0627 \u0627 1 "_qs), qPrintable(text));
    QVERIFY2(text.contains(u"U+0671 \u0671 as U+0627 \u0627 1 "_qs), qPrintable(text));
    QVERIFY2(text.contains(u"characters dropped: 1 of "_qs), qPrintable(text));
}

void TestDataSet::builderRefusesBadInput_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing .dict.dz") << u"missing"_qs << u"no such file"_qs;
    QTest::newRow("truncated .dict.dz") << u"truncated"_qs << u"truncated"_qs;
    QTest::newRow("index offset past the end") << u"past end"_qs << u"past the end"_qs;
    QTest::newRow("non-UTF-8 article") << u"latin1"_qs << u"not UTF-8"_qs;
    QTest::newRow("malformed index line") << u"malformed"_qs << u"not a dictd index line"_qs;
    QTest::newRow("missing WordNet file") << u"wordnet"_qs << u"cannot read"_qs;
    QTest::newRow("malformed sense count")
        << u"counts"_qs << u"cntlist.rev line 2: not a WordNet sense count"_qs;
    // Sources that give no dictionary.
    QTest::newRow("empty index") << u"empty"_qs << u"test.index: no headword"_qs;
    QTest::newRow("only the dictionary's own articles")
        << u"no articles"_qs << u"test.index: no headword with a translation in its 0"_qs;
    QTest::newRow("index lines ended by CR alone")
        << u"cr"_qs << u"test.index line 1: not a dictd index line (its lines end in CR alone)"_qs;
    QTest::newRow("index line of four fields")
        << u"four fields"_qs << u"test.index line 2: not a dictd index line"_qs;
    QTest::newRow("no multi-word lemma") << u"no idioms"_qs << u"no multi-word lemma"_qs;
    QTest::newRow("GPL text given but not a regular file")
        << u"gpl"_qs << u"GPL-2: cannot read: not a regular file"_qs;
    QTest::newRow("data inflating past the limit")
        << u"bomb"_qs << u"test.dict.dz: inflates to more than the limit of 1048576 bytes"_qs;
}

void TestDataSet::builderRefusesBadInput()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QList<QByteArray> articles = fixtureArticles();
    if (fault == u"latin1")
        articles << "caf\xe9 /k/\n\xd8\xa7\n";
    if (fault == u"no articles")
        articles.clear();
    Fixture fixture(articles);
    const QByteArray index = testsupport::readFile(fixture.sources.dictIndex);
    if (fault == u"missing") {
        QFile::remove(fixture.sources.dictData);
    } else if (fault == u"truncated") {
        const QByteArray data = testsupport::readFile(fixture.sources.dictData);
        testsupport::writeFile(fixture.sources.dictData, data.left(data.size() / 2));
    } else if (fault == u"past end") {
        testsupport::writeFile(fixture.sources.dictIndex,
                               index + "zzz\tAAAA\tB\n" + "far\t/////\tB\n");
    } else if (fault == u"malformed") {
        testsupport::writeFile(fixture.sources.dictIndex, index + "no tabs here\n");
    } else if (fault == u"wordnet") {
        QFile::remove(fixture.sources.wordnetData[1]);
    } else if (fault == u"counts") {
        fixture.sources.wordnetCounts = fixture.dir.path() + u"/cntlist.rev"_qs;
        testsupport::writeFile(fixture.sources.wordnetCounts, "a%1:10:00:: 1 2\nab%1 x 3\n");
    } else if (fault == u"empty") {
        testsupport::writeFile(fixture.sources.dictIndex, {});
    } else if (fault == u"cr") {
        testsupport::writeFile(fixture.sources.dictIndex, QByteArray(index).replace('\n', '\r'));
    } else if (fault == u"four fields") {
        testsupport::writeFile(fixture.sources.dictIndex,
                               QByteArray(index).replace("apple\t", "apple\tA\t"));
    } else if (fault == u"no idioms") {
        for (const QString &path : fixture.sources.wordnetData)
            testsupport::writeFile(path, wordnetLine(100, 'v', {"collapse"}, "stop working"));
    } else if (fault == u"gpl") {
        fixture.sources.gplText = fixture.dir.path() + u"/GPL-2"_qs;
        QVERIFY(QDir().mkpath(fixture.sources.gplText));
    } else if (fault == u"bomb") {
        // 4 MB of zeros in a few kB, past a limit lowered to 1 MB.
        gzip(QByteArray(4 << 20, '\0'), fixture.sources.dictData);
        fixture.sources.inflateLimit = 1 << 20;
    }
    const dataset::Build built = dataset::build(fixture.sources);
    QVERIFY(built.error.has_value());
    QVERIFY2(built.error->contains(message), qPrintable(*built.error));
}

void TestDataSet::checkerPassesASoundSet()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    for (const dataset::Problem &problem : dataset::check(dir.path()))
        QVERIFY2(!problem.fatal, qPrintable(dataset::formatProblem(problem)));
}

void TestDataSet::checkerNamesABrokenInvariant_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("line");
    const int xCapacity = *dataset::headwordCapacity(letterIndex('x'));
    QTest::newRow("index line out of step with its list")
        << u"index"_qs << u"source1/a.hhh"_qs << 3;
    QTest::newRow("index shorter than its list") << u"short index"_qs << u"source1/a.hhh"_qs << 0;
    QTest::newRow("definitions line not a multiple of four")
        << u"length"_qs << u"source/first.dll"_qs << 2;
    QTest::newRow("group that matches no code") << u"group"_qs << u"source/5.dll"_qs << 1;
    QTest::newRow("symbol table of 35 lines") << u"alf"_qs << u"source/alf.dll"_qs << 0;
    QTest::newRow("tag table of 22 lines") << u"sp"_qs << u"source/sp.dll"_qs << 0;
    QTest::newRow("letter over its capacity")
        << u"capacity"_qs << u"source/x.dll"_qs << xCapacity + 2;
    QTest::newRow("missing definitions file") << u"missing"_qs << u"source/second.dll"_qs << 0;
    QTest::newRow("missing idiom index") << u"missing index"_qs << u"source1/idioms.hhh"_qs << 0;
    QTest::newRow("line 0 not the letter") << u"line 0"_qs << u"source/a.dll"_qs << 1;
    QTest::newRow("headword under the wrong letter") << u"initial"_qs << u"source/z.dll"_qs << 2;
    QTest::newRow("first.dll not one line per entry")
        << u"first lines"_qs << u"source/first.dll"_qs << 0;
    QTest::newRow("definitions file ends before the last headword")
        << u"short second"_qs << u"source/second.dll"_qs << 0;
}

void TestDataSet::checkerNamesABrokenInvariant()
{
    QFETCH(QString, fault);
    QFETCH(QString, file);
    QFETCH(int, line);
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    const QString path = dir.path() + u'/' + file;
    QList<QByteArray> lines = fileLines(path);

    if (fault == u"index") {
        writeLines(dir.path() + u"/source/a.dll"_qs, {"a", "apple", "Axe"});
        testsupport::writeFile(path, dataset::rtfDocument({"  a", "  apple", "  Ant"}));
    } else if (fault == u"short index") {
        testsupport::writeFile(path, dataset::rtfDocument({"  a", "  apple"}));
    } else if (fault == u"length") {
        lines[1] += "123";
        writeLines(path, lines);
    } else if (fault == u"group") {
        lines[0] = "00129900";
        writeLines(path, lines);
    } else if (fault == u"alf") {
        lines.removeLast();
        writeLines(path, lines);
    } else if (fault == u"sp") {
        lines << "extra";
        writeLines(path, lines);
    } else if (fault == u"capacity") {
        QList<QByteArray> list{"x"};
        for (int n = 0; n <= line - 2; ++n)
            list << "x" + QByteArray::number(n);
        writeLines(path, list);
        QList<QByteArray> index;
        for (const QByteArray &item : list)
            index << "  " + item;
        testsupport::writeFile(dir.path() + u"/source1/x.hhh"_qs, dataset::rtfDocument(index));
    } else if (fault == u"missing" || fault == u"missing index") {
        QFile::remove(path);
    } else if (fault == u"line 0") {
        lines[0] = "b";
        writeLines(path, lines);
        testsupport::writeFile(dir.path() + u"/source1/a.hhh"_qs,
                               dataset::rtfDocument({"  b", "  apple", "  Axe"}));
    } else if (fault == u"initial") {
        lines[1] = "apple";
        writeLines(path, lines);
        QList<QByteArray> index;
        for (const QByteArray &item : lines)
            index << "  " + item;
        testsupport::writeFile(dir.path() + u"/source1/z.hhh"_qs, dataset::rtfDocument(index));
    } else if (fault == u"first lines") {
        lines << QByteArray();
        writeLines(path, lines);
    } else if (fault == u"short second") {
        lines.removeLast();
        writeLines(path, lines);
    }

    const QList<dataset::Problem> problems = dataset::check(dir.path());
    const bool named =
        std::any_of(problems.cbegin(), problems.cend(), [&](const dataset::Problem &p) {
            return p.fatal && p.file == file && p.line == line;
        });
    QStringList all;
    for (const dataset::Problem &problem : problems)
        all << dataset::formatProblem(problem);
    QVERIFY2(named, qPrintable(all.join(u"; "_qs)));
}

QTEST_APPLESS_MAIN(TestDataSet)
#include "tst_dataset.moc"
