// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of reading the dictionary and WordNet.
#include "dataset/builder.h"
#include "dataset/sources.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <zlib.h>

using namespace testsupport;

class TestSources : public QObject
{
    Q_OBJECT

private slots:
    void builderFilesMergesAndCounts();
    void builderRefusesBadInput_data();
    void builderRefusesBadInput();
};

void TestSources::builderFilesMergesAndCounts()
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

void TestSources::builderRefusesBadInput_data()
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
    QTest::newRow("articles whose every headword has a digit initial")
        << u"digits"_qs << u"test.index: no headword with a translation in its 2 articles"_qs;
    QTest::newRow("no multi-word lemma") << u"no idioms"_qs << u"no multi-word lemma"_qs;
    QTest::newRow("GPL text given but not a regular file")
        << u"gpl"_qs << u"GPL-2: cannot read: not a regular file"_qs;
    QTest::newRow("data inflating past the limit")
        << u"bomb"_qs << u"test.dict.dz: inflates to more than the limit of 1048576 bytes"_qs;
}

void TestSources::builderRefusesBadInput()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QList<QByteArray> articles = fixtureArticles();
    if (fault == u"latin1")
        articles << "caf\xe9 /k/\n\xd8\xa7\n";
    if (fault == u"digits")
        articles = {"10th /t/\n\xd8\xa7\n", "2nd /s/\n\xd8\xa8\n"};
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

QTEST_APPLESS_MAIN(TestSources)
#include "tst_sources.moc"
