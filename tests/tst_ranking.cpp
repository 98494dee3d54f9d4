// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the ranking of the words of a letter with more words than places.
#include "dataset/builder.h"
#include "dataset/ranking.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QTest>

using namespace testsupport;

class TestRanking : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheMostUsefulWords_data();
    void keepsTheMostUsefulWords();
    void builderRanksWhatOverflowsALetter_data();
    void builderRanksWhatOverflowsALetter();
    void builderRanksTheHeadwordsByUse();
};

void TestRanking::keepsTheMostUsefulWords_data()
{
    // xc and xdddd are as frequent, both known; xbb known but never counted; xa unknown.
    const QList<QByteArray> words{"xa", "xbb", "xc", "xdddd"};
    QTest::addColumn<QList<QByteArray>>("headwords");
    QTest::addColumn<int>("places");
    QTest::addColumn<QList<QByteArray>>("kept");    // in the list's order
    QTest::addColumn<QList<QByteArray>>("dropped"); // the most useful first
    QTest::newRow("places for one more than there are")
        << words << 5 << words << QList<QByteArray>{};
    QTest::newRow("places for every word") << words << 4 << words << QList<QByteArray>{};
    QTest::newRow("one place short: the unknown word goes")
        << words << 3 << QList<QByteArray>{"xbb", "xc", "xdddd"} << QList<QByteArray>{"xa"};
    QTest::newRow("one place: the shorter of the two most frequent")
        << words << 1 << QList<QByteArray>{"xc"} << QList<QByteArray>{"xdddd", "xbb", "xa"};
    QTest::newRow("no place") << words << 0 << QList<QByteArray>{}
                              << QList<QByteArray>{"xc", "xdddd", "xbb", "xa"};
    QTest::newRow("fewer than no places")
        << words << -1 << QList<QByteArray>{} << QList<QByteArray>{"xc", "xdddd", "xbb", "xa"};
    QTest::newRow("alike in all but place: the earlier stays")
        << QList<QByteArray>{"xq", "xp"} << 1 << QList<QByteArray>{"xq"} << QList<QByteArray>{"xp"};
}

void TestRanking::keepsTheMostUsefulWords()
{
    QFETCH(QList<QByteArray>, headwords);
    QFETCH(int, places);
    QFETCH(QList<QByteArray>, kept);
    QFETCH(QList<QByteArray>, dropped);
    dataset::wordnet::Usage usage;
    usage.frequency = {{"xc", 5}, {"xdddd", 5}};
    usage.lemmas = {"xbb"};
    const dataset::ranking::Choice choice = dataset::ranking::choose(headwords, places, usage);
    QList<QByteArray> keptWords, droppedWords;
    for (qsizetype n : choice.kept)
        keptWords << headwords[n];
    for (qsizetype n : choice.dropped)
        droppedWords << headwords[n];
    QCOMPARE(keptWords, kept);
    QCOMPARE(droppedWords, dropped);
}

void TestRanking::builderRanksWhatOverflowsALetter_data()
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

void TestRanking::builderRanksWhatOverflowsALetter()
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

void TestRanking::builderRanksTheHeadwordsByUse()
{
    // yak the most used; Yam, yb and Zed alike, yes never counted.
    Fixture fixture({"Yam /x/\n\xd8\xa7\n", "yak /x/\n\xd8\xa7\n", "yb /x/\n\xd8\xa7\n",
                     "yes /x/\n\xd8\xa7\n", "Zed /x/\n\xd8\xa7\n"});
    const QString dir = fixture.dir.path();
    testsupport::writeFile(dir + u"/cntlist.rev"_qs, "yak%1:05:00:: 1 5\n"
                                                     "zed%1:10:00:: 1 3\n"
                                                     "yam%1:13:00:: 1 2\n"
                                                     "yam%1:20:00:: 2 1\n"
                                                     "yb%1:10:00:: 1 3\n");
    fixture.sources.wordnetCounts = dir + u"/cntlist.rev"_qs;

    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    // Of the alike, the shorter first, then the one filed first.
    QCOMPARE(built.set.usage, (QList<QByteArray>{"yak", "yb", "Yam", "Zed"}));
}

QTEST_APPLESS_MAIN(TestRanking)
#include "tst_ranking.moc"
