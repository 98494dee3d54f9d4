// SPDX-License-Identifier: GPL-3.0-or-later
#include "dataset/dataset.h"
#include "lookup/modes.h"
#include "lookup/searchstep.h"
#include "store/datafolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

dataset::DataSet idiomSet(int idioms)
{
    dataset::DataSet set;
    set.letters[0] = {{"aback", "a1"}, {"abandon", "a2"}};
    set.letters[18] = {{"sail", "s1"}, {"salt", "s2"}};
    for (int i = 0; i < idioms; ++i)
        set.idioms.append({"idiom " + QByteArray::number(i).rightJustified(5, '0'), "gloss"});
    return set;
}

} // namespace

class TestModes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wholeIdiomList_data();
    void wholeIdiomList();
    void idiomIndexReplacesLetterIndex();
    void wordsIndexComesBackForTypedInitial();
    void wordsIndexWithoutTypedInitialIsEmpty();
};

void TestModes::wholeIdiomList_data()
{
    QTest::addColumn<int>("idiomsInFile");
    QTest::addColumn<int>("items");

    QTest::newRow("more idioms than the whole list shows") << 3200 << 3134;
    QTest::newRow("exactly the whole list") << 3134 << 3134;
    QTest::newRow("a short idiom list yields its lines") << 10 << 10;
}

void TestModes::wholeIdiomList()
{
    QFETCH(int, idiomsInFile);
    QFETCH(int, items);
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), idiomSet(idiomsInFile)), std::nullopt);

    lookup::SearchState state;
    state.entryIndex = 7; // the idiom the search step found on entering idioms mode
    const QList<QByteArray> list = lookup::showWholeIdiomList(state, store::DataFolder(dir.path()));
    QCOMPARE(list.size(), items);
    QCOMPARE(list.front(), QByteArray("idiom 00000"));
    QCOMPARE(list.back(), "idiom " + QByteArray::number(items - 1).rightJustified(5, '0'));
    QVERIFY(state.wholeListShown());
    QCOMPARE(state.entryIndex, std::optional<qint32>(7));
}

void TestModes::idiomIndexReplacesLetterIndex()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), idiomSet(30)), std::nullopt);
    lookup::SearchState state;
    lookup::searchStep(state, store::DataFolder(dir.path()), lookup::Mode::Words, "ab");
    QCOMPARE(state.loadedInitial, QByteArray("a"));

    lookup::loadIdiomIndex(state, store::DataFolder(dir.path()));
    const lookup::StepOutcome outcome = lookup::searchStep(state, store::DataFolder(dir.path()),
                                                           lookup::Mode::Idioms, "idiom 00025");
    QVERIFY(outcome.matched);
    QCOMPARE(state.entryIndex, std::optional<qint32>(25));

    // Without an idiom index the letter index stays.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("source1/idioms.hhh"))));
    lookup::SearchState words;
    lookup::searchStep(words, store::DataFolder(dir.path()), lookup::Mode::Words, "ab");
    lookup::loadIdiomIndex(words, store::DataFolder(dir.path()));
    QVERIFY(words.index.find("  abandon") >= 0);
}

void TestModes::wordsIndexComesBackForTypedInitial()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), idiomSet(30)), std::nullopt);
    lookup::SearchState state;
    lookup::searchStep(state, store::DataFolder(dir.path()), lookup::Mode::Words, "sa");
    lookup::loadIdiomIndex(state, store::DataFolder(dir.path()));
    state.wholeList = lookup::WholeList::Shown;

    lookup::loadWordsIndex(state, store::DataFolder(dir.path()));
    QCOMPARE(state.wholeList, lookup::WholeList::NotAsked);
    QCOMPARE(state.loadedInitial, QByteArray("s"));
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(dir.path()), lookup::Mode::Words, "salt");
    QVERIFY(outcome.matched);
    QCOMPARE(state.stem, QByteArray("second"));
    QCOMPARE(state.entryIndex, std::optional<qint32>(136105 + 2));
}

void TestModes::wordsIndexWithoutTypedInitialIsEmpty()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), idiomSet(30)), std::nullopt);
    lookup::SearchState state;
    lookup::loadIdiomIndex(state, store::DataFolder(dir.path()));
    lookup::loadWordsIndex(state, store::DataFolder(dir.path()));
    QVERIFY(state.index.isEmpty());

    // An emptied search box then finds nothing instead of the first idiom.
    QVERIFY(
        !lookup::searchStep(state, store::DataFolder(dir.path()), lookup::Mode::Words, "").matched);
    // And the first initial typed loads its own index.
    QVERIFY(
        lookup::searchStep(state, store::DataFolder(dir.path()), lookup::Mode::Words, "a").matched);
    QCOMPARE(state.entryIndex, std::optional<qint32>(0));
}

QTEST_APPLESS_MAIN(TestModes)
#include "tst_modes.moc"
