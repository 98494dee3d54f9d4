// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup engine driven as the window drives it: sequences of events, and what the
// window then shows.
#include "lookup/engine.h"

#include "dataset/dataset.h"
#include "store/letterbases.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using lookup::Engine;

namespace {

QByteArray word(char initial, int n)
{
    return initial + QByteArray(initial == 'a' ? "b" : "a") +
           QByteArray::number(n).rightJustified(2, '0');
}

QByteArray idiom(int n)
{
    return "idiom " + QByteArray::number(n).rightJustified(5, '0');
}

// Letters a and s of 40 words each ("ab00".., "sa00"..), 3200 idioms; the tag "def".
dataset::DataSet fixture()
{
    dataset::DataSet set;
    for (int i = 0; i < 40; ++i) {
        set.letters[0].append({word('a', i), "def " + word('a', i)});
        set.letters[18].append({word('s', i), "def " + word('s', i)});
    }
    for (int i = 0; i < 3200; ++i)
        set.idioms.append({idiom(i), "gloss " + QByteArray::number(i)});
    set.tags[0] = "def";
    return set;
}

// Runs events on the engine: "type TEXT" types TEXT one character at a time into a box
// whose text is selected (the first character replaces it), "clear" empties the box,
// "click ROW" clicks a row of the list, "search" is Enter, "idioms yes" / "idioms no" enter
// idioms mode and answer the whole-list question, "words" enters words mode. Gives what the
// last search step the events ran left the window to show.
lookup::SearchView run(Engine &engine, const QStringList &events)
{
    lookup::SearchView last;
    for (const QString &event : events) {
        const QString argument = event.section(u' ', 1);
        if (event.startsWith(u"type ")) {
            const QByteArray text = argument.toLatin1();
            for (qsizetype i = 1; i <= text.size(); ++i)
                last = engine.textChanged(text.first(i));
        } else if (event == u"clear") {
            last = engine.textChanged({});
        } else if (event.startsWith(u"click ")) {
            last = engine.rowClicked(argument.toInt()).step;
        } else if (event == u"search") {
            engine.showDefinition();
        } else if (event.startsWith(u"idioms ")) {
            engine.enterIdioms();
            engine.answerWholeList(argument == u"yes" ? lookup::WholeListAnswer::Yes
                                                      : lookup::WholeListAnswer::No);
        } else if (event == u"words") {
            engine.enterWords();
        } else {
            QTest::qFail(qPrintable(QStringLiteral("unknown event ") + event), __FILE__, __LINE__);
            return last;
        }
    }
    return last;
}

} // namespace

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void sequence_data();
    void sequence();
    void currentRowOnTheMatch_data();
    void currentRowOnTheMatch();
    void currentRowWithoutTheListFile();
    void captionMovesToLabel2OnlyOnSearch();
    void chosenModeAgainChangesNothing_data();
    void chosenModeAgainChangesNothing();
    void wholeListScrollsToTheMatch();

private:
    QTemporaryDir m_dir;
};

void TestEngine::initTestCase()
{
    QCOMPARE(dataset::write(m_dir.path(), fixture()), std::nullopt);
}

void TestEngine::sequence_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QByteArray>("searchText");
    QTest::addColumn<int>("listSize");
    QTest::addColumn<QByteArray>("listFirst");
    QTest::addColumn<QByteArray>("shownCaption"); // its beginning: Label2 beside the heading
    QTest::addColumn<QByteArray>("definition");

    const QByteArray a12 = word('a', 12);
    QTest::newRow("typed and looked up") << QStringList{"type ab12", "search"} << a12 << 24
                                         << word('a', 2) << "  " + a12 << "(def)  " + a12;
    QTest::newRow("typing after a lookup keeps the definition and its caption")
        << QStringList{"type ab12", "search", "type ab3"} << QByteArray("ab3") << 20
        << word('a', 20) << "  " + a12 << "(def)  " + a12;
    QTest::newRow("search twice shows the same entry")
        << QStringList{"type ab12", "search", "search"} << a12 << 24 << word('a', 2) << "  " + a12
        << "(def)  " + a12;
    QTest::newRow("text found nowhere looks up the last entry found")
        << QStringList{"type ab12x", "search"} << QByteArray("ab12x") << 24 << word('a', 2)
        << "  " + a12 << "(def)  " + a12;
    QTest::newRow("search before any find shows nothing")
        << QStringList{"search"} << QByteArray() << 0 << QByteArray() << QByteArray()
        << QByteArray();
    // Rows 1 to 22 keep the window; the search step still moves the entry.
    QTest::newRow("click on row 1 keeps the list")
        << QStringList{"type ab12", "click 1", "search"} << word('a', 3) << 24 << word('a', 2)
        << "  " + word('a', 3) << "(def)  " + word('a', 3);
    QTest::newRow("click on row 22 keeps the list")
        << QStringList{"type ab12", "click 22", "search"} << word('a', 24) << 24 << word('a', 2)
        << "  " + word('a', 24) << "(def)  " + word('a', 24);
    QTest::newRow("click on row 23 builds the window around it")
        << QStringList{"type ab12", "click 23", "search"} << word('a', 25) << 24 << word('a', 15)
        << "  " + word('a', 25) << "(def)  " + word('a', 25);
    QTest::newRow("click on the heading item shows the letter's start")
        << QStringList{"type ab05", "click 0"} << QByteArray("a") << 24 << QByteArray("  a")
        << QByteArray() << QByteArray();
    QTest::newRow("click on row 24 does nothing")
        << QStringList{"type ab12", "click 24"} << a12 << 24 << word('a', 2) << QByteArray()
        << QByteArray();
    QTest::newRow("click with nothing selected does nothing")
        << QStringList{"type ab12", "click -1"} << a12 << 24 << word('a', 2) << QByteArray()
        << QByteArray();

    // Idioms mode empties the box; a box that held text runs the step on the idiom index.
    QTest::newRow("idioms with text in the box: its first idiom")
        << QStringList{"type ab", "idioms no", "search"} << QByteArray() << 24 << idiom(0)
        << "  " + idiom(0) << QByteArray("gloss 0");
    QTest::newRow("idioms with an empty box: an empty list until typing")
        << QStringList{"idioms no"} << QByteArray() << 0 << QByteArray() << QByteArray()
        << QByteArray();
    QTest::newRow("idioms typed") << QStringList{"idioms no", "type idiom 00030", "search"}
                                  << idiom(30) << 24 << idiom(20) << "  " + idiom(30)
                                  << QByteArray("gloss 30");
    QTest::newRow("whole list after text: its idiom")
        << QStringList{"type ab", "idioms yes", "search"} << QByteArray() << 3134 << idiom(0)
        << "  " + idiom(0) << QByteArray("gloss 0");
    QTest::newRow("whole list from a box emptied before the switch: nothing found yet")
        << QStringList{"type ab", "clear", "idioms yes", "search"} << QByteArray() << 3134
        << idiom(0) << QByteArray() << QByteArray();
    QTest::newRow("whole list from an empty box: nothing found yet")
        << QStringList{"idioms yes", "search"} << QByteArray() << 3134 << idiom(0) << QByteArray()
        << QByteArray();
    QTest::newRow("whole list: typing never refills it")
        << QStringList{"idioms yes", "type idiom 0150", "search"} << QByteArray("idiom 0150")
        << 3134 << idiom(0) << "  " + idiom(1500) << QByteArray("gloss 1500");
    QTest::newRow("whole list: a click beyond row 23 puts the idiom in the box")
        << QStringList{"idioms yes", "click 2999", "search"} << idiom(2999) << 3134 << idiom(0)
        << "  " + idiom(2999) << QByteArray("gloss 2999");
    QTest::newRow("declined whole list: a click beyond row 23 does nothing")
        << QStringList{"idioms no", "type idiom 0", "click 24", "search"} << QByteArray("idiom 0")
        << 24 << idiom(0) << "  " + idiom(0) << QByteArray("gloss 0");

    // Words mode empties the captions after its step, and searches the letter of the
    // initial typed last.
    QTest::newRow("back to words: the typed initial's list, no caption")
        << QStringList{"type sa1", "idioms yes", "type idiom 00", "words"} << QByteArray() << 24
        << QByteArray("  s") << QByteArray() << QByteArray();
    QTest::newRow("back to words: Search before typing names no entry")
        << QStringList{"type sa1", "idioms yes", "type idiom 00", "words", "search"} << QByteArray()
        << 24 << QByteArray("  s") << QByteArray() << QByteArray();
    QTest::newRow("back to words: windows again")
        << QStringList{"type sa1", "idioms yes", "type idiom 00", "words", "type sa20", "search"}
        << word('s', 20) << 24 << word('s', 10) << "  " + word('s', 20)
        << "(def)  " + word('s', 20);
    QTest::newRow("back to words from an empty box")
        << QStringList{"type sa1", "clear", "idioms no", "words", "search"} << QByteArray() << 0
        << QByteArray() << QByteArray() << QByteArray();
}

void TestEngine::sequence()
{
    QFETCH(QStringList, events);
    QFETCH(QByteArray, searchText);
    QFETCH(int, listSize);
    QFETCH(QByteArray, listFirst);
    QFETCH(QByteArray, shownCaption);
    QFETCH(QByteArray, definition);

    Engine engine(m_dir.path());
    engine.loadTables();
    run(engine, events);
    QCOMPARE(engine.searchText(), searchText);
    QCOMPARE(engine.list().size(), listSize);
    QCOMPARE(engine.list().value(0), listFirst);
    QVERIFY2(shownCaption.isEmpty() ? engine.shownCaption().isEmpty()
                                    : engine.shownCaption().startsWith(shownCaption),
             engine.shownCaption().constData());
    QCOMPARE(engine.definition(), definition);
}

void TestEngine::currentRowOnTheMatch_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("row"); // -1: the current row stays where it is
    QTest::addColumn<QByteArray>("item");

    // Words: line n of the letter list, n = 1 + the number of the word.
    QTest::newRow("line 0: the heading item") << QStringList{"type a"} << 0 << QByteArray("  a");
    QTest::newRow("line 1") << QStringList{"type ab00"} << 1 << word('a', 0);
    QTest::newRow("line 9, under the heading") << QStringList{"type ab08"} << 9 << word('a', 8);
    QTest::newRow("line 10, the first window without heading")
        << QStringList{"type ab09"} << 10 << word('a', 9);
    QTest::newRow("line 11") << QStringList{"type ab10"} << 10 << word('a', 10);
    QTest::newRow("the last line, in a short window")
        << QStringList{"type ab39"} << 10 << word('a', 39);
    QTest::newRow("nothing found: the list and its current row stay")
        << QStringList{"type ab12x"} << -1 << QByteArray();
    QTest::newRow("click on row 22: the list and the clicked row stay")
        << QStringList{"type ab12", "click 22"} << -1 << QByteArray();
    QTest::newRow("click on row 23: the clicked word, centred")
        << QStringList{"type ab12", "click 23"} << 10 << word('a', 25);
    QTest::newRow("click on row 0: the clicked word, centred")
        << QStringList{"type ab30", "click 0"} << 10 << word('a', 20);
    QTest::newRow("click on the heading item: the heading item")
        << QStringList{"type ab05", "click 0"} << 0 << QByteArray("  a");
    QTest::newRow("the box emptied: the heading item")
        << QStringList{"type sa05", "clear"} << 0 << QByteArray("  s");

    // Idioms: line n of the idiom list; no heading item.
    QTest::newRow("idiom on line 0")
        << QStringList{"idioms no", "type idiom 00000"} << 0 << idiom(0);
    QTest::newRow("idiom on line 9")
        << QStringList{"idioms no", "type idiom 00009"} << 9 << idiom(9);
    QTest::newRow("idiom on line 10")
        << QStringList{"idioms no", "type idiom 00010"} << 10 << idiom(10);
    QTest::newRow("whole idiom list: the idiom found")
        << QStringList{"idioms yes", "type idiom 01500"} << 1500 << idiom(1500);
    QTest::newRow("whole idiom list, beyond its last line: stays")
        << QStringList{"idioms yes", "type idiom 03134"} << -1 << QByteArray();
}

void TestEngine::currentRowOnTheMatch()
{
    QFETCH(QStringList, events);
    QFETCH(int, row);
    QFETCH(QByteArray, item);

    Engine engine(m_dir.path());
    const lookup::SearchView view = run(engine, events);
    QCOMPARE(view.currentRow, row < 0 ? std::nullopt : std::optional<int>(row));
    if (row >= 0)
        QCOMPARE(engine.list().value(row), item);
}

void TestEngine::currentRowWithoutTheListFile()
{
    // Without its list file the window of a letter holds the heading item alone.
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), fixture()), std::nullopt);
    QVERIFY(QFile::remove(dir.path() + QStringLiteral("/source/s.dll")));
    Engine engine(dir.path());

    lookup::SearchView view = engine.textChanged("sa00");
    QCOMPARE(view.list, std::optional<QList<QByteArray>>({"  s"}));
    QCOMPARE(view.currentRow, std::nullopt);
    view = engine.textChanged("s");
    QCOMPARE(view.currentRow, std::optional<int>(0));
}

void TestEngine::captionMovesToLabel2OnlyOnSearch()
{
    Engine engine(m_dir.path());
    const lookup::SearchView typed = engine.textChanged("ab1");
    QVERIFY(typed.caption && typed.caption->startsWith("  " + word('a', 10)));
    QCOMPARE(engine.shownCaption(), QByteArray());

    const lookup::DefinitionView shown = engine.showDefinition();
    QVERIFY(shown.lookup.finished);
    QCOMPARE(shown.caption, *typed.caption);
    QCOMPARE(engine.shownCaption(), *typed.caption);

    // The next step moves Label12's caption alone.
    const lookup::SearchView next = engine.textChanged("ab2");
    QVERIFY(next.caption && next.caption->startsWith("  " + word('a', 20)));
    QCOMPARE(engine.caption(), *next.caption);
    QCOMPARE(engine.shownCaption(), *typed.caption);
}

void TestEngine::chosenModeAgainChangesNothing_data()
{
    QTest::addColumn<bool>("idioms");
    QTest::newRow("words in words mode") << false;
    QTest::newRow("idioms in idioms mode") << true;
}

void TestEngine::chosenModeAgainChangesNothing()
{
    QFETCH(bool, idioms);
    Engine engine(m_dir.path());
    engine.loadTables();
    if (idioms)
        run(engine, {"idioms no"});
    run(engine, {idioms ? "type idiom 00030" : "type ab12", "search"});
    const QByteArray definition = engine.definition();
    const QList<QByteArray> list = engine.list();

    const lookup::ModeView view = idioms ? engine.enterIdioms() : engine.enterWords();
    QVERIFY(!view.switched);
    QVERIFY(!view.step);
    QCOMPARE(engine.mode(), idioms ? lookup::Mode::Idioms : lookup::Mode::Words);
    QCOMPARE(engine.definition(), definition);
    QCOMPARE(engine.list(), list);
    QVERIFY(!engine.searchText().isEmpty());
}

void TestEngine::wholeListScrollsToTheMatch()
{
    Engine engine(m_dir.path());
    run(engine, {"type ab", "idioms yes"});
    // Exactly the first 3134 lines of the idiom list, not behind the window the step put there.
    QList<QByteArray> lines;
    for (int n = 0; n < store::kWholeIdiomListLines; ++n)
        lines << idiom(n);
    QCOMPARE(engine.list(), lines);

    lookup::SearchView view = engine.textChanged("idiom 03133");
    QVERIFY(!view.list);
    QCOMPARE(view.scrollTo, std::optional<int>(3133));
    // Matched beyond the whole list's last line: nothing to scroll to.
    view = engine.textChanged("idiom 03134");
    QVERIFY(view.matched);
    QCOMPARE(view.scrollTo, std::nullopt);
    // Nothing found: the list stays where it is.
    view = engine.textChanged("idiom x");
    QVERIFY(!view.matched);
    QCOMPARE(view.scrollTo, std::nullopt);
}

QTEST_APPLESS_MAIN(TestEngine)
#include "tst_engine.moc"
