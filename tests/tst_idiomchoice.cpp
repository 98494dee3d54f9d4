// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the choice of the idioms.
#include "dataset/builder.h"
#include "dataset/idiomchoice.h"
#include "dataset/sourcetext.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QTest>

using namespace testsupport;

namespace {

QList<QByteArray> textsOf(const QList<dataset::Idiom> &idioms)
{
    QList<QByteArray> texts;
    for (const dataset::Idiom &idiom : idioms)
        texts << idiom.text;
    return texts;
}

} // namespace

class TestIdiomChoice : public QObject
{
    Q_OBJECT

private slots:
    void keepsTheMostUsedIdioms_data();
    void keepsTheMostUsedIdioms();
    void builderChoosesIdioms();
    void builderRanksIdiomsByTheirSenseCounts();
};

void TestIdiomChoice::keepsTheMostUsedIdioms_data()
{
    // In the list's order; ranked at least, a lot, .38 caliber, come on, well and truly,
    // 'tween decks.
    const QList<QByteArray> all{"'tween decks", ".38 caliber", "a lot",
                                "at least",     "come on",     "well and truly"};
    QTest::addColumn<int>("places");
    QTest::addColumn<QList<QByteArray>>("kept"); // in the list's order
    QTest::newRow("places for one more than there are") << 7 << all;
    QTest::newRow("places exactly for every idiom") << 6 << all;
    QTest::newRow("one place fewer: an unused non-letter start goes before a longer idiom")
        << 5 << all.mid(1);
    QTest::newRow("two fewer: a used non-letter start stays, the unused idiom goes")
        << 4 << QList<QByteArray>{".38 caliber", "a lot", "at least", "come on"};
    QTest::newRow("places for two: the two most used, in the list's order")
        << 2 << QList<QByteArray>{"a lot", "at least"};
    QTest::newRow("no place") << 0 << QList<QByteArray>{};
}

void TestIdiomChoice::keepsTheMostUsedIdioms()
{
    QFETCH(int, places);
    QFETCH(QList<QByteArray>, kept);
    QList<dataset::Idiom> idioms;
    for (const QByteArray text :
         {"'tween decks", ".38 caliber", "a lot", "at least", "come on", "well and truly"})
        idioms << dataset::Idiom{text,
                                 dataset::foldKey(text),
                                 {{dataset::Adverb, u"gloss of "_qs + QString::fromLatin1(text)}}};
    dataset::wordnet::Usage usage;
    usage.frequency = {{"at_least", 9}, {"a_lot", 5}, {".38_caliber", 3}, {"come_on", 2}};
    dataset::ArabicConverter converter;

    const QList<dataset::Idiom> chosen = dataset::chooseIdioms(idioms, places, usage, converter);
    QCOMPARE(textsOf(chosen), kept);
    for (const dataset::Idiom &idiom : chosen)
        QCOMPARE(idiom.senses.first().bytes, "gloss of " + idiom.text);
}

void TestIdiomChoice::builderChoosesIdioms()
{
    Fixture fixture;
    dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QCOMPARE(
        headwords(built.set.idioms),
        (QList<QByteArray>{"all right", "break down", "by and large", "give up", "well known"}));
    QCOMPARE(built.report.idiomCandidates, 5);

    // Without sense counts the shorter ones stay.
    fixture.sources.idioms = 3;
    built = dataset::build(fixture.sources);
    QCOMPARE(built.report.idioms, 3);
    QCOMPARE(headwords(built.set.idioms),
             (QList<QByteArray>{"all right", "break down", "give up"}));
}

void TestIdiomChoice::builderRanksIdiomsByTheirSenseCounts()
{
    // The two longest idioms are the used ones.
    Fixture fixture;
    const QString counts = fixture.dir.filePath(u"cntlist.rev"_qs);
    writeFile(counts, "by_and_large%4:02:00:: 1 2\nwell_known%5:00:00:: 1 4\n");
    fixture.sources.wordnetCounts = counts;
    fixture.sources.idioms = 2;
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QCOMPARE(headwords(built.set.idioms), (QList<QByteArray>{"by and large", "well known"}));
}

QTEST_APPLESS_MAIN(TestIdiomChoice)
#include "tst_idiomchoice.moc"
