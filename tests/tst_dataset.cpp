// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the writer of a data set: its files, lines and slots, and what it refuses.
#include "dataset/dataset.h"
#include "platform/atomicwrite.h"
#include "store/letterbases.h"
#include "store/textcode.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace testsupport;

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
};

void TestDataSet::writerKeepsListsAndIndexesAligned_data()
{
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("indexName");
    QTest::addColumn<QByteArray>("firstLine");
    for (int i : {0, 1, 8, 9, 25}) {
        const QByteArray letter(1, char('a' + i));
        QTest::newRow(("letter " + letter).constData())
            << QString::fromLatin1(letter + ".dll") << QString::fromLatin1(letter + ".hhh")
            << letter;
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
    dataset::DataSet set = smallSet();
    set.usage = {"Axe", "apple"};
    QCOMPARE(dataset::write(dir.path(), set), std::nullopt);

    QCOMPARE(readLines(sourceFile(dir.path(), u"usage.dll"_qs)), set.usage);
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
    dataset::DataSet usageNamed = smallSet();
    usageNamed.extraFiles = {{u"Usage.dll"_qs, "x"}};
    QTest::newRow("extra file named like the usage ranking") << usageNamed;
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
#ifdef Q_OS_WIN
    // The system's own texts of ERROR_PATH_NOT_FOUND and ERROR_ACCESS_DENIED.
    QTest::newRow("missing folder") << u"missing"_qs << platform::systemErrorText(3);
    QTest::newRow("rename over a folder") << u"rename"_qs << platform::systemErrorText(5);
#else
    QTest::newRow("full disk") << u"full"_qs
                               << u"cannot write /dev/full: No space left on device"_qs;
    QTest::newRow("missing folder") << u"missing"_qs << u"No such file or directory"_qs;
    QTest::newRow("rename over a folder") << u"rename"_qs << u"Is a directory"_qs;
#endif
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

QTEST_APPLESS_MAIN(TestDataSet)
#include "tst_dataset.moc"
