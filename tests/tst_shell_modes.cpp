// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptedwindow.h"
#include "support/warnings.h"

#include "dataset/dataset.h"
#include "shell/form1.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <memory>

namespace {

QByteArray idiom(int n)
{
    return "idiom " + QByteArray::number(n).rightJustified(5, '0');
}

dataset::DataSet fixture()
{
    dataset::DataSet set;
    for (int i = 0; i < 40; ++i)
        set.letters[0].append({"ab" + QByteArray::number(i).rightJustified(2, '0'), "a def"});
    for (int i = 0; i < 40; ++i)
        set.letters[18].append({"sa" + QByteArray::number(i).rightJustified(2, '0'), "s def"});
    for (int i = 0; i < 3200; ++i)
        set.idioms.append({idiom(i), "gloss " + QByteArray::number(i)});
    return set;
}

using Window = testsupport::ScriptedWindow;

} // namespace

class TestShellModes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void choosingCheckedModeChangesNothing();
    void wholeListHoldsExactlyTheIdiomLines_data();
    void wholeListHoldsExactlyTheIdiomLines();
    void noLeavesListEmptyUntilTyping();
    void typingInWholeListNeverRefills();
    void backToWordsRestoresWindowsAndIndex();

private:
    QTemporaryDir m_dir;
};

void TestShellModes::initTestCase()
{
    QCOMPARE(dataset::write(m_dir.path(), fixture()), std::nullopt);
}

void TestShellModes::init()
{
    testsupport::failOnWarnings();
}

void TestShellModes::choosingCheckedModeChangesNothing()
{
    Window window(m_dir.path());
    auto *rr = window.child<QLineEdit>("rr");
    QTest::keyClicks(rr, "ab1");
    const QStringList before = window.listItems();
    QVERIFY(!before.isEmpty());

    window.child<QAction>("words")->trigger();
    QVERIFY(window.child<QAction>("words")->isChecked());
    QVERIFY(!window.child<QAction>("IdiomsandExpressions")->isChecked());
    QCOMPARE(rr->text(), QStringLiteral("ab1"));
    QCOMPARE(window.listItems(), before);

    window.prompts->answers = {false};
    window.child<QAction>("IdiomsandExpressions")->trigger();
    QTest::keyClicks(rr, "idiom 0001");
    const QStringList idioms = window.listItems();
    window.child<QAction>("IdiomsandExpressions")->trigger();
    QVERIFY(window.child<QAction>("IdiomsandExpressions")->isChecked());
    QVERIFY(!window.child<QAction>("words")->isChecked());
    QCOMPARE(window.listItems(), idioms);
    QCOMPARE(window.prompts->asked.size(), 1); // the question came only on entering
}

void TestShellModes::wholeListHoldsExactlyTheIdiomLines_data()
{
    QTest::addColumn<bool>("typed");   // "ab" typed in words mode
    QTest::addColumn<bool>("cleared"); // and the box emptied again before the switch
    QTest::addColumn<QString>("definition");
    QTest::addColumn<QString>("caption");

    // With text in the box, entering idioms runs a search step first: Search shows the
    // definition of the idiom it found, which the caption names.
    QTest::newRow("text in the box: its idiom") << true << false << "gloss 0"
                                                << "  " + QString::fromLatin1(idiom(0));
    // An empty box runs no step: nothing has been found since the switch, and the
    // caption is empty; so is the definition.
    QTest::newRow("empty box: nothing") << false << false << ""
                                        << "";
    QTest::newRow("box emptied before the switch: nothing") << true << true << ""
                                                            << "";
}

void TestShellModes::wholeListHoldsExactlyTheIdiomLines()
{
    QFETCH(bool, typed);
    QFETCH(bool, cleared);
    QFETCH(QString, definition);
    QFETCH(QString, caption);

    Window window(m_dir.path());
    auto *rr = window.child<QLineEdit>("rr");
    if (typed)
        QTest::keyClicks(rr, "ab");
    if (cleared)
        rr->clear();
    window.prompts->answers = {true};
    window.child<QAction>("IdiomsandExpressions")->trigger();

    // The whole list replaces the window of the search step rather than following it.
    const QStringList items = window.listItems();
    QCOMPARE(items.size(), 3134);
    QCOMPARE(items.front(), QString::fromLatin1(idiom(0)));
    QCOMPARE(items.back(), QString::fromLatin1(idiom(3133)));
    QCOMPARE(rr->text(), QString());

    window.child<QPushButton>("Command1")->click();
    auto *rr1 = window.child<QTextEdit>("rr1");
    QVERIFY(rr1->isVisible());
    QCOMPARE(rr1->toPlainText(), definition);
    const QString shownCaption = window.child<QLabel>("Label2")->text();
    QVERIFY2(caption.isEmpty() ? shownCaption.isEmpty() : shownCaption.startsWith(caption),
             qPrintable(shownCaption));
}

void TestShellModes::noLeavesListEmptyUntilTyping()
{
    Window window(m_dir.path());
    window.prompts->answers = {false};
    window.child<QAction>("IdiomsandExpressions")->trigger();
    QVERIFY(window.listItems().isEmpty());

    QTest::keyClicks(window.child<QLineEdit>("rr"), "idiom 00030");
    const QStringList items = window.listItems();
    QCOMPARE(items.size(), 24);
    QCOMPARE(items.at(10), QString::fromLatin1(idiom(30)));
}

void TestShellModes::typingInWholeListNeverRefills()
{
    Window window(m_dir.path());
    window.prompts->answers = {true};
    window.child<QAction>("IdiomsandExpressions")->trigger();

    auto *rr = window.child<QLineEdit>("rr");
    QTest::keyClicks(rr, "idiom 0150");
    QCOMPARE(window.listItems().size(), 3134);
    QVERIFY(window.child<QLabel>("Label12")->text().startsWith(QStringLiteral("  idiom 01500")));
    // The list scrolls to the match without selecting it.
    auto *list = window.child<QListWidget>("l");
    QVERIFY(list->visualItemRect(list->item(1500)).intersects(list->viewport()->rect()));
    QVERIFY(list->selectedItems().isEmpty());
    window.child<QPushButton>("Command1")->click();
    QCOMPARE(window.child<QTextEdit>("rr1")->toPlainText(), QStringLiteral("gloss 1500"));

    // A click on an item far beyond the 24th puts it into the search box.
    list->setCurrentRow(2999);
    QCOMPARE(rr->text(), QString::fromLatin1(idiom(2999)));
    QCOMPARE(window.listItems().size(), 3134);
}

void TestShellModes::backToWordsRestoresWindowsAndIndex()
{
    Window window(m_dir.path());
    auto *rr = window.child<QLineEdit>("rr");
    QTest::keyClicks(rr, "sa1");
    window.prompts->answers = {true};
    window.child<QAction>("IdiomsandExpressions")->trigger();
    QTest::keyClicks(rr, "idiom 00");
    window.child<QAction>("words")->trigger();

    // Emptying the search box searched the letter index of s, not the idiom index: the list
    // shows the beginning of the s list under its heading.
    QCOMPARE(rr->text(), QString());
    QStringList items = window.listItems();
    QCOMPARE(items.size(), 24);
    QCOMPARE(items.front(), QStringLiteral("  s"));
    QCOMPARE(items.at(1), QStringLiteral("sa00"));
    QCOMPARE(window.child<QLabel>("Label2")->text(), QString());
    // The next characters search the letter index of s again, in 24-line windows.
    QTest::keyClicks(rr, "sa20");
    items = window.listItems();
    QCOMPARE(items.size(), 24);
    QCOMPARE(items.at(10), QStringLiteral("sa20"));
    window.child<QPushButton>("Command1")->click();
    QCOMPARE(window.child<QTextEdit>("rr1")->toPlainText(), QStringLiteral("s def"));
}

QTEST_MAIN(TestShellModes)
#include "tst_shell_modes.moc"
