// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the words of each letter.
#include "dataset/builder.h"
#include "dataset/wordchoice.h"
#include "store/letterbases.h"
#include "store/textcode.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

class TestWordChoice : public QObject
{
    Q_OBJECT

private slots:
    void builderPutsTheLetterOnLine0_data();
    void builderPutsTheLetterOnLine0();
    void tellsSoftwareStrings_data();
    void tellsSoftwareStrings();
    void builderLeavesOutSoftwareStrings();
};

void TestWordChoice::builderPutsTheLetterOnLine0_data()
{
    QTest::addColumn<QByteArray>("article");
    QTest::addColumn<QByteArray>("line0");
    QTest::newRow("lower-case letter")
        << QByteArray("c /si/\n\xd8\xb3\xd9\x8a\n") << QByteArray("\xd3\xed");
    QTest::newRow("upper-case letter")
        << QByteArray("C /si/\n\xd8\xb3\xd9\x8a\n") << QByteArray("\xd3\xed");
    QTest::newRow("no entry of the letter") << QByteArray("ca /ka/\n\xd8\xa7\n") << QByteArray();
}

void TestWordChoice::builderPutsTheLetterOnLine0()
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

void TestWordChoice::tellsSoftwareStrings_data()
{
    QTest::addColumn<QByteArray>("headword");
    QTest::addColumn<bool>("software");
    QTest::newRow("two words run together") << QByteArray("HelpAbout") << true;
    QTest::newRow("capital on the second letter") << QByteArray("iPod") << true;
    QTest::newRow("capital on the last letter") << QByteArray("gobacK") << true;
    QTest::newRow("two letters, the second a capital") << QByteArray("aB") << true;
    QTest::newRow("a name's Mc") << QByteArray("McDonald") << false;
    QTest::newRow("a name's Mac") << QByteArray("MacMillan") << false;
    QTest::newRow("Mc not at the start") << QByteArray("GoMcDonald") << true;
    QTest::newRow("a capital after a name's Mc and a word") << QByteArray("McDonaldHouse") << true;
    QTest::newRow("capitals throughout") << QByteArray("ANSI") << false;
    QTest::newRow("capitals, then a word") << QByteArray("XTerm") << false;
    QTest::newRow("Windows-1252 capital inside") << QByteArray("caf\xc9") << true;
    QTest::newRow("WordNet's own word with an inner capital") << QByteArray("JavaScript") << false;
    QTest::newRow("WordNet's own abbreviation") << QByteArray("NASA") << false;
    QTest::newRow("capital first only") << QByteArray("Paris") << false;
    QTest::newRow("the letter alone") << QByteArray("X") << false;
    QTest::newRow("hyphenated") << QByteArray("Go-Back") << false;
    QTest::newRow("two words") << QByteArray("Go Back") << false;
}

void TestWordChoice::tellsSoftwareStrings()
{
    QFETCH(QByteArray, headword);
    QFETCH(bool, software);
    dataset::wordnet::Usage usage;
    usage.lemmas = {"javascript"};
    usage.frequency = {{"nasa", 3}};
    QCOMPARE(dataset::isSoftwareString(headword, usage), software);
}

void TestWordChoice::builderLeavesOutSoftwareStrings()
{
    Fixture fixture({"GoBack /g/\n\xd8\xa7\n", "GoHome /g/\n\xd8\xa7\n", "go /g/\n\xd8\xa7\n",
                     "JavaScript /j/\n\xd8\xa7\n", "Go-Kart /g/\n\xd8\xa7\n"});
    const QString index = fixture.dir.filePath(u"index.noun"_qs);
    writeFile(index, "javascript n 1 1 @ 1 0 06000000  \n");
    fixture.sources.wordnetIndexes = {index};
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QCOMPARE(headwords(built.set.letters[letterIndex('g')]), (QList<QByteArray>{"go", "Go-Kart"}));
    QCOMPARE(headwords(built.set.letters[letterIndex('j')]), QList<QByteArray>{"JavaScript"});
    QCOMPARE(built.report.softwareStrings, 2);
    QVERIFY(dataset::formatReport(built.report).contains(u"unknown to WordNet): 2\n"_qs));
}

QTEST_APPLESS_MAIN(TestWordChoice)
#include "tst_wordchoice.moc"
