// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/searchstep.h"
#include "store/datafolder.h"

#include "lookup/caption.h"

#include "dataset/dataset.h"
#include "platform/paths.h"
#include "store/letterbases.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using lookup::Mode;
using lookup::SearchState;

namespace {

// The headwords of letter a in the fixture: line n (from 1) is "a" followed by two letters
// that spell n in base 26, so that line 4 is "aae", line 25 "aaz" and line 26 "aba". Line 30
// is written with a capital, to be found case-insensitively.
constexpr int kLetterALines = 61; // line 0, the letter itself, and 60 headwords

QByteArray letterALine(int n)
{
    if (n == 0)
        return "a";
    QByteArray word{"a"};
    word.append(char('a' + n / 26));
    word.append(char('a' + n % 26));
    if (n == 30)
        word[0] = 'A';
    return word;
}

QList<QByteArray> letterALines(int from, int to)
{
    QList<QByteArray> lines;
    for (int n = from; n <= std::min(to, kLetterALines - 1); ++n)
        lines << letterALine(n);
    return lines;
}

QList<QByteArray> idiomLines()
{
    QList<QByteArray> idioms;
    for (int n = 0; n < 40; ++n)
        idioms << "idiom " + QByteArray::number(n + 100);
    return idioms;
}

// Types text character by character into an empty search box; the outcome of the last step.
lookup::StepOutcome type(SearchState &state, const QString &folder, Mode mode,
                         const QByteArray &text)
{
    lookup::StepOutcome last;
    for (qsizetype i = 1; i <= text.size(); ++i)
        last = lookup::searchStep(state, store::DataFolder(folder), mode, text.first(i));
    return last;
}

// What the window does with a list click: the click, the text into the search box (which
// runs the search step), and the end of the click.
lookup::StepOutcome click(SearchState &state, const QString &folder, Mode mode,
                          const QList<QByteArray> &items, int row)
{
    lookup::StepOutcome outcome;
    if (const auto text = lookup::listClick(state, row, items.value(row)))
        outcome = lookup::searchStep(state, store::DataFolder(folder), mode, *text);
    lookup::endListClick(state);
    return outcome;
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void wordWindow_data();
    void wordWindow();
    void typingReusesTheLoadedIndex();
    void upperCaseInitialLoadsAgain();
    void backToAnInitialReadsItsFileAsItIs_data();
    void backToAnInitialReadsItsFileAsItIs();
    void capitalInitialMovesTheEntry_data();
    void capitalInitialMovesTheEntry();
    void refusedInitial_data();
    void refusedInitial();
    void initialOutsideLettersKeepsEntry();
    void noMatchKeepsEverything();
    void emptySearchBox();
    void emptySearchBoxBeforeAnyLoad();
    void secondFileStem();
    void missingListFile();

    void listClick_data();
    void listClick();
    void clickOnHeadingItem();
    void keepListNeverOutlivesItsClick_data();
    void keepListNeverOutlivesItsClick();

    void idiomWindow_data();
    void idiomWindow();
    void wholeIdiomList();

    void longLetterList();

    void shownHeadword_data();
    void shownHeadword();

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

void TestSearch::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path();
    dataset::DataSet set;
    for (int n = 1; n < kLetterALines; ++n)
        set.letters[0].append({letterALine(n), "def " + letterALine(n)});
    for (const char *word : {"baa", "bab", "bad"})
        set.letters[1].append({word, QByteArray("def ") + word});
    for (const char *word : {"jam", "jar"})
        set.letters[9].append({word, QByteArray("def ") + word});
    for (const QByteArray &idiom : idiomLines())
        set.idioms.append({idiom, "means " + idiom});
    const std::optional<QString> error = dataset::write(m_folder, set);
    QVERIFY2(!error, qPrintable(error.value_or(QString())));
}

void TestSearch::wordWindow_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("line");
    QTest::addColumn<QList<QByteArray>>("items");

    const QList<QByteArray> heading{"  a"};
    QTest::newRow("match on line 0 shows heading and lines 1-23")
        << QByteArray("a") << 0 << heading + letterALines(1, 23);
    QTest::newRow("match on line 4 shows heading and lines 1-23")
        << QByteArray("aae") << 4 << heading + letterALines(1, 23);
    QTest::newRow("match on line 9 still has the heading")
        << QByteArray("aaj") << 9 << heading + letterALines(1, 23);
    QTest::newRow("match on line 10 shows lines 0-23")
        << QByteArray("aak") << 10 << letterALines(0, 23);
    QTest::newRow("match on line 25 shows lines 15-38")
        << QByteArray("aaz") << 25 << letterALines(15, 38);
    QTest::newRow("match is case-insensitive both ways")
        << QByteArray("aBE") << 30 << letterALines(20, 43);
    QTest::newRow("match in the last 13 lines gives a shorter window")
        << QByteArray("acd") << 55 << letterALines(45, 60);
    QTest::newRow("match on the last line") << QByteArray("aci") << 60 << letterALines(50, 60);
    QTest::newRow("prefix finds the first headword")
        << QByteArray("ab") << 26 << letterALines(16, 39);
}

void TestSearch::wordWindow()
{
    QFETCH(QByteArray, typed);
    QFETCH(int, line);
    QFETCH(QList<QByteArray>, items);

    SearchState state;
    const lookup::StepOutcome outcome = type(state, m_folder, Mode::Words, typed);
    QVERIFY(outcome.matched);
    QVERIFY(outcome.list);
    QCOMPARE(*outcome.list, items);
    QCOMPARE(state.entryIndex, std::optional<qint32>(line));
    QCOMPARE(state.stem, QByteArray("first"));
    // The caption is the index text from the match on: two spaces, the line, and what
    // follows it up to 30 characters.
    QVERIFY(outcome.caption);
    QVERIFY(outcome.caption->startsWith("  " + letterALine(line)));
    const QByteArray &text = state.index.text();
    QCOMPARE(*outcome.caption, text.mid(text.indexOf("  " + letterALine(line)), 30));
    QVERIFY(!state.keepList);
}

void TestSearch::typingReusesTheLoadedIndex()
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    QVERIFY(testsupport::writeFile(folder + "/source1/q.hhh", "  q\r\n  quay\r\n  quiz"));
    QVERIFY(testsupport::writeFile(folder + "/source/q.dll", "q\r\nquay\r\nquiz\r\n"));

    SearchState state;
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "q").matched);
    // The file is gone, but the initial stays the same: the loaded text is searched.
    QVERIFY(QFile::remove(folder + "/source1/q.hhh"));
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "qui");
    QVERIFY(outcome.matched);
    QCOMPARE(state.entryIndex, std::optional<qint32>(store::kLetterBases[16].base + 2));
    QCOMPARE(outcome.list->value(2), QByteArray("quiz"));
}

void TestSearch::upperCaseInitialLoadsAgain()
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    QVERIFY(testsupport::writeFile(folder + "/source1/q.hhh", "  q\r\n  quay"));
    QVERIFY(testsupport::writeFile(folder + "/source/q.dll", "q\r\nquay\r\n"));

    SearchState state;
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "quay").matched);
    QVERIFY(testsupport::writeFile(folder + "/source1/q.hhh", "  q\r\n  quail\r\n  quay"));
    // Same initial: the old text is still searched, and knows no quail.
    QVERIFY(!lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "quai").matched);
    // The same letter in upper case is a new initial: the file is read again, and the
    // letter base still applies.
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "QUAI").matched);
    QCOMPARE(state.loadedInitial, QByteArray("Q"));
    QCOMPARE(state.entryIndex, std::optional<qint32>(store::kLetterBases[16].base + 1));
    QCOMPARE(state.stem, QByteArray("second"));
}

void TestSearch::backToAnInitialReadsItsFileAsItIs_data()
{
    QTest::addColumn<QByteArray>("change"); // what happens to q.hhh and q.dll while "a" is typed
    QTest::addColumn<bool>("matched");      // "quail" is then found
    QTest::addColumn<QByteArray>("listed"); // the list's line 2 then

    // The parsed index of q and its list are kept while their files stay as they were, and
    // only then.
    QTest::newRow("unchanged: the kept index and list")
        << QByteArray() << false << QByteArray("quiz");
    QTest::newRow("rewritten, same size") << QByteArray("rewrite") << true << QByteArray("quix");
    QTest::newRow("replaced by another file")
        << QByteArray("replace") << true << QByteArray("quix");
    QTest::newRow("removed: refused") << QByteArray("remove") << false << QByteArray();
}

void TestSearch::backToAnInitialReadsItsFileAsItIs()
{
    QFETCH(QByteArray, change);
    QFETCH(bool, matched);
    QFETCH(QByteArray, listed);
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString index = folder + "/source1/q.hhh";
    const QString list = folder + "/source/q.dll";
    QVERIFY(testsupport::writeFile(index, "  q\r\n  quay\r\n  quiz"));
    QVERIFY(testsupport::writeFile(list, "q\r\nquay\r\nquiz\r\n"));
    QVERIFY(testsupport::writeFile(folder + "/source1/a.hhh", "  a\r\n  ab"));

    SearchState state;
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "qu").matched);
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "a").matched);
    const QByteArray quail("  q\r\n  quai\r\n  quiz");
    const QByteArray quix("q\r\nquai\r\nquix\r\n");
    for (const auto &[path, text] : {std::pair{index, quail}, std::pair{list, quix}}) {
        if (change == "rewrite") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QCOMPARE(file.write(text), qint64(text.size()));
        } else if (change == "replace") {
            QVERIFY(testsupport::writeFile(path + ".new", text));
            QVERIFY(QFile::remove(path));
            QVERIFY(QFile::rename(path + ".new", path));
        } else if (change == "remove") {
            QVERIFY(QFile::remove(path));
        }
    }
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "quai");
    QCOMPARE(outcome.matched, matched);
    QCOMPARE(state.loadedInitial, QByteArray(change == "remove" ? "a" : "q"));
    // The list is read as it is now, whatever became of the index.
    if (change != "remove") {
        const lookup::StepOutcome again =
            lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "qu");
        QVERIFY(again.list);
        QCOMPARE(again.list->value(2), listed);
    }
}

void TestSearch::capitalInitialMovesTheEntry_data()
{
    QTest::addColumn<char>("letter");
    // The first and the last letter, and one between.
    QTest::newRow("A") << 'a';
    QTest::newRow("M") << 'm';
    QTest::newRow("Z") << 'z';
}

void TestSearch::capitalInitialMovesTheEntry()
{
    QFETCH(char, letter);
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QByteArray l(1, letter);
    QVERIFY(testsupport::writeFile(folder + "/source1/" + l + ".hhh",
                                   "  " + l + "\r\n  " + l + "ebra\r\n"));
    QVERIFY(testsupport::writeFile(folder + "/source/" + l + ".dll", l + "\r\n" + l + "ebra\r\n"));
    QVERIFY(testsupport::writeFile(folder + "/source1/q.hhh", "  q\r\n  quay\r\n"));
    const store::LetterBase row = *store::letterBase(letter);

    SearchState state;
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "quay").matched);
    const QByteArray typed = char(letter - 'a' + 'A') + QByteArray("EBRA");
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, typed).matched);
    // Search then reads the line of the capital's own letter.
    QCOMPARE(state.entryIndex, std::optional<qint32>(row.base + 1));
    QCOMPARE(state.stem, QByteArray(row.stem));
}

void TestSearch::refusedInitial_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<bool>("writeFiles"); // give the initial index and list files
    QTest::addColumn<bool>("refused");

    QTest::newRow("digit without an index file") << QByteArray("1x") << false << true;
    QTest::newRow("mark without an index file") << QByteArray("-x") << false << true;
    QTest::newRow("slash") << QByteArray("/source1/a") << false << true;
    QTest::newRow("backslash") << QByteArray("\\x") << false << true;
    QTest::newRow("NUL") << QByteArray("\0x", 2) << false << true;
    QTest::newRow("control character with files") << QByteArray("\x01x") << true << true;
    QTest::newRow("tab with files") << QByteArray("\tx") << true << true;
    QTest::newRow("star with files") << QByteArray("*x") << true << true;
    // The ends of the characters a file name may begin with, and those just outside them.
    QTest::newRow("the last control character with files") << QByteArray("\x1fx") << true << true;
    QTest::newRow("space with files: taken") << QByteArray(" x") << true << false;
    QTest::newRow("tilde with files: taken") << QByteArray("~x") << true << false;
    QTest::newRow("DEL with files") << QByteArray("\x7fx") << true << true;
}

void TestSearch::refusedInitial()
{
    QFETCH(QByteArray, typed);
    QFETCH(bool, writeFiles);
    QFETCH(bool, refused);

    QTemporaryDir dir;
    const QString folder = dir.path();
    QVERIFY(testsupport::writeFile(folder + "/source1/a.hhh", "  a\r\n  ab"));
    QVERIFY(testsupport::writeFile(folder + "/source/a.dll", "a\r\nab\r\n"));
    if (writeFiles) {
        const QString name = QString::fromLatin1(typed.first(1));
#ifdef Q_OS_WIN
        // Windows allows no control character, '*' or '?' in a file name at all.
        if (uchar(typed[0]) < 0x20 || typed[0] == '*' || typed[0] == '?')
            QSKIP("no file of this name can be made on this system");
#endif
        QVERIFY(testsupport::writeFile(folder + "/source1/" + name + ".hhh", "  " + typed));
        QVERIFY(testsupport::writeFile(folder + "/source/" + name + ".dll", typed));
    }

    SearchState state;
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "ab").matched);
    const SearchState before = state;
    state.keepList = true;

    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(folder), Mode::Words, typed);
    if (!refused) {
        QVERIFY(outcome.matched);
        QCOMPARE(state.loadedInitial, typed.first(1));
        return;
    }
    QVERIFY(!outcome.matched);
    QVERIFY(!outcome.caption);
    QVERIFY(!outcome.list);
    QCOMPARE(state.currentInitial, QByteArray("a"));
    QCOMPARE(state.loadedInitial, QByteArray("a"));
    // Only accepted initials are recorded: words mode reloads "a" on its way back.
    QCOMPARE(state.typedInitial, QByteArray("a"));
    QCOMPARE(state.entryIndex, before.entryIndex);
    QCOMPARE(state.index.text(), before.index.text());
    // A refused step ends before the flag is cleared; the click that set it clears it.
    QVERIFY(state.keepList);

    // Typing on with the refused text in the box, the earlier initial still answers.
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "a").matched);
}

void TestSearch::initialOutsideLettersKeepsEntry()
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    QVERIFY(testsupport::writeFile(folder + "/source1/a.hhh", "  a\r\n  ab"));
    QVERIFY(testsupport::writeFile(folder + "/source/a.dll", "a\r\nab\r\n"));
    QVERIFY(testsupport::writeFile(folder + "/source1/4.hhh", "  4\r\n  4x4"));
    QVERIFY(testsupport::writeFile(folder + "/source/4.dll", "4\r\n4x4\r\n"));

    SearchState state;
    QVERIFY(lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "ab").matched);
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "4x");
    QVERIFY(outcome.matched);
    QCOMPARE(*outcome.list, (QList<QByteArray>{"  4", "4x4"}));
    QCOMPARE(state.entryIndex, std::optional<qint32>(1));
    QCOMPARE(state.stem, QByteArray("first"));
    QCOMPARE(state.typedInitial, QByteArray("4"));
}

void TestSearch::noMatchKeepsEverything()
{
    SearchState state;
    QVERIFY(type(state, m_folder, Mode::Words, "aaz").matched);
    const auto entry = state.entryIndex;
    state.keepList = true;
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(m_folder), Mode::Words, "aazq");
    QVERIFY(!outcome.matched);
    QVERIFY(!outcome.caption);
    QVERIFY(!outcome.list);
    QCOMPARE(state.entryIndex, entry);
    QCOMPARE(state.stem, QByteArray("first"));
    QVERIFY(!state.keepList);
}

void TestSearch::emptySearchBox()
{
    SearchState state;
    QVERIFY(type(state, m_folder, Mode::Words, "bad").matched);
    // Two spaces alone find the first line of the loaded index: the letter b itself.
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(m_folder), Mode::Words, "");
    QVERIFY(outcome.matched);
    QCOMPARE(*outcome.list, (QList<QByteArray>{"  b", "baa", "bab", "bad"}));
    QCOMPARE(state.entryIndex, std::optional<qint32>(store::kLetterBases[1].base));
    QCOMPARE(state.currentInitial, QByteArray("b"));
}

void TestSearch::emptySearchBoxBeforeAnyLoad()
{
    SearchState state;
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(m_folder), Mode::Words, "");
    QVERIFY(!outcome.matched);
    QVERIFY(!outcome.list);
    QVERIFY(!state.entryIndex);
    QVERIFY(state.stem.isEmpty());
}

void TestSearch::secondFileStem()
{
    SearchState state;
    QVERIFY(type(state, m_folder, Mode::Words, "jar").matched);
    QCOMPARE(state.entryIndex, std::optional<qint32>(store::kSecondFileBoundary + 2));
    QCOMPARE(state.stem, QByteArray("second"));
}

void TestSearch::missingListFile()
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    QVERIFY(testsupport::writeFile(folder + "/source1/k.hhh", "  k\r\n  kit"));

    SearchState state;
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(folder), Mode::Words, "kit");
    QVERIFY(outcome.matched);
    QCOMPARE(*outcome.list, QList<QByteArray>{"  k"});
    QCOMPARE(state.entryIndex, std::optional<qint32>(store::kLetterBases[10].base + 1));
}

void TestSearch::listClick_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("refilled");
    QTest::addColumn<int>("newLine"); // the line the click moves the entry index to

    // The window is centred on line 25: item k is line 15 + k.
    QTest::newRow("item 0 rebuilds the window") << 0 << true << 15;
    QTest::newRow("item 1 keeps the list") << 1 << false << 16;
    QTest::newRow("item 10 keeps the list") << 10 << false << 25;
    QTest::newRow("item 22 keeps the list") << 22 << false << 37;
    QTest::newRow("item 23 rebuilds the window around line n+13") << 23 << true << 38;
}

void TestSearch::listClick()
{
    QFETCH(int, row);
    QFETCH(bool, refilled);
    QFETCH(int, newLine);

    SearchState state;
    const QList<QByteArray> items = *type(state, m_folder, Mode::Words, "aaz").list;
    QCOMPARE(items.size(), 24);

    const lookup::StepOutcome outcome = click(state, m_folder, Mode::Words, items, row);
    QVERIFY(outcome.matched);
    QCOMPARE(state.entryIndex, std::optional<qint32>(newLine));
    QVERIFY(outcome.caption->startsWith("  " + letterALine(newLine)));
    QCOMPARE(outcome.list.has_value(), refilled);
    if (refilled)
        QCOMPARE(*outcome.list, letterALines(newLine - 10, newLine + 13));
    QVERIFY(!state.keepList);

    // The next keystroke builds the window again.
    QVERIFY(lookup::searchStep(state, store::DataFolder(m_folder), Mode::Words, "aaz").list);
}

void TestSearch::clickOnHeadingItem()
{
    SearchState state;
    const QList<QByteArray> items = *type(state, m_folder, Mode::Words, "aae").list;
    QCOMPARE(items.front(), QByteArray("  a"));
    QCOMPARE(lookup::listClick(state, 0, items.front()), std::optional<QByteArray>("a"));
    QVERIFY(!state.keepList);
    QCOMPARE(lookup::listClick(state, -1, {}), std::nullopt);
}

void TestSearch::keepListNeverOutlivesItsClick_data()
{
    QTest::addColumn<QByteArray>("item");

    // The window would put the text the box already holds: no change of text, no step.
    QTest::newRow("item equal to the search text") << QByteArray("aaz");
    // The step runs but refuses the initial and ends before it clears the flag.
    QTest::newRow("item with a refused initial") << QByteArray("  9lives");
}

void TestSearch::keepListNeverOutlivesItsClick()
{
    QFETCH(QByteArray, item);

    SearchState state;
    QVERIFY(type(state, m_folder, Mode::Words, "aaz").list);
    const auto text = lookup::listClick(state, 5, item);
    QVERIFY(text);
    QVERIFY(state.keepList);
    if (*text != "aaz")
        lookup::searchStep(state, store::DataFolder(m_folder), Mode::Words, *text);
    lookup::endListClick(state);
    QVERIFY(!state.keepList);
    QVERIFY(lookup::searchStep(state, store::DataFolder(m_folder), Mode::Words, "aab").list);
}

void TestSearch::idiomWindow_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("first"); // first line of the window

    QTest::newRow("empty text finds the first idiom") << QByteArray() << 0 << 0;
    QTest::newRow("match on line 4 shows lines 0-23") << QByteArray("idiom 104") << 4 << 0;
    QTest::newRow("match on line 10 shows lines 0-23") << QByteArray("IDIOM 110") << 10 << 0;
    QTest::newRow("match on line 25 shows lines 15-38") << QByteArray("idiom 125") << 25 << 15;
    QTest::newRow("match in the last lines is shorter") << QByteArray("idiom 139") << 39 << 29;
}

void TestSearch::idiomWindow()
{
    QFETCH(QByteArray, typed);
    QFETCH(int, line);
    QFETCH(int, first);

    SearchState state;
    state.index = *store::IndexText::load(m_folder + "/source1/idioms.hhh");
    state.stem = "second";
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(m_folder), Mode::Idioms, typed);
    QVERIFY(outcome.matched);
    const QList<QByteArray> idioms = idiomLines();
    QCOMPARE(*outcome.list, idioms.mid(first, 24));
    QCOMPARE(state.entryIndex, std::optional<qint32>(line));
    QCOMPARE(state.stem, QByteArray("second")); // idioms have no stem
    QCOMPARE(*outcome.caption,
             state.index.text().mid(state.index.text().indexOf("  " + idioms[line]), 100));
}

void TestSearch::wholeIdiomList()
{
    SearchState state;
    state.index = *store::IndexText::load(m_folder + "/source1/idioms.hhh");
    state.wholeList = lookup::WholeList::Shown;
    const lookup::StepOutcome outcome =
        lookup::searchStep(state, store::DataFolder(m_folder), Mode::Idioms, "idiom 130");
    QVERIFY(outcome.matched);
    QVERIFY(outcome.caption);
    QVERIFY(!outcome.list);
    QCOMPARE(state.entryIndex, std::optional<qint32>(30));

    // Every item of the whole list goes into the search box, also beyond the 24th, and the
    // list is never refilled.
    QCOMPARE(lookup::listClick(state, 35, "idiom 135"), std::optional<QByteArray>("idiom 135"));
    QVERIFY(
        !lookup::searchStep(state, store::DataFolder(m_folder), Mode::Idioms, "idiom 135").list);
    QCOMPARE(state.entryIndex, std::optional<qint32>(35));

    // A declined whole list leaves the list to the search step.
    state.wholeList = lookup::WholeList::Declined;
    QCOMPARE(lookup::listClick(state, 35, "idiom 135"), std::nullopt);
    lookup::endListClick(state);
    QVERIFY(lookup::searchStep(state, store::DataFolder(m_folder), Mode::Idioms, "idiom 135").list);
}

void TestSearch::longLetterList()
{
    // Far more lines than a 16-bit counter holds.
    const int lines = 40000;
    const int match = 35000;
    QByteArray index;
    QByteArray list;
    for (int n = 0; n < lines; ++n) {
        const QByteArray word = n == 0 ? "s" : "s" + QByteArray::number(n).rightJustified(5, '0');
        index += "  " + word + "\r\n";
        list += word + "\r\n";
    }
    QTemporaryDir dir;
    const QString folder = dir.path();
    QVERIFY(testsupport::writeFile(folder + "/source1/s.hhh", index));
    QVERIFY(testsupport::writeFile(folder + "/source/s.dll", list));

    SearchState state;
    const lookup::StepOutcome outcome = lookup::searchStep(
        state, store::DataFolder(folder), Mode::Words, "s" + QByteArray::number(match));
    QVERIFY(outcome.matched);
    QCOMPARE(state.entryIndex, std::optional<qint32>(store::kLetterBases[18].base + match));
    QCOMPARE(outcome.list->size(), 24);
    QCOMPARE(outcome.list->front(), "s" + QByteArray::number(match - 10));
    QCOMPARE(outcome.list->value(10), "s" + QByteArray::number(match));

    const lookup::StepOutcome last = lookup::searchStep(
        state, store::DataFolder(folder), Mode::Words, "s" + QByteArray::number(lines - 1));
    QCOMPARE(last.list->size(), 11);
}

void TestSearch::shownHeadword_data()
{
    QTest::addColumn<QByteArray>("caption");
    QTest::addColumn<QByteArray>("headword");

    const QByteArray word26("abcdefghijklmnopqrstuvwxyz");
    // A caption without a line break is the index's last entry, or an entry that fills it.
    QTest::newRow("28 characters, no line break") << "  " + word26 << word26;
    QTest::newRow("29 characters, no line break") << "  " + word26 + "a" << word26 + "a";
    QTest::newRow("30 characters: a 28-letter headword fills it")
        << QByteArray("  antidisestablishmentarianism")
        << QByteArray("antidisestablishmentarianism");
    QTest::newRow("line break as the 30th character") << "  " + word26 + "a\r" << word26 + "a";
    QTest::newRow("CR LF, then the next entries")
        << QByteArray("  Abacus\r\n  abandon\r\n  abate") << QByteArray("Abacus");
    QTest::newRow("lone LF") << QByteArray("  abbey\n  able") << QByteArray("abbey");
    QTest::newRow("lone CR") << QByteArray("  abbey\r  able") << QByteArray("abbey");
    QTest::newRow("blanks after the entry")
        << QByteArray("  a bad egg \r\n") << QByteArray("a bad egg");
    QTest::newRow("no caption yet") << QByteArray() << QByteArray();
}

void TestSearch::shownHeadword()
{
    QFETCH(QByteArray, caption);
    QFETCH(QByteArray, headword);
    QCOMPARE(lookup::shownHeadword(caption), headword);
}

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
