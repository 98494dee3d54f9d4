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
    void typingInWholeListNeverRefills();
    void backToWordsRestoresWindowsAndIndex();
    void captionsAfterASwitch_data();
    void captionsAfterASwitch();

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
    QCOMPARE(list->currentRow(), 1500); // where Tab and the arrow keys go on from
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
    const QStringList items = window.listItems();
    QCOMPARE(items.size(), 24);
    QCOMPARE(items.front(), QStringLiteral("  s"));
    QCOMPARE(items.at(1), QStringLiteral("sa00"));
    QCOMPARE(window.child<QLabel>("Label2")->text(), QString());
}

void TestShellModes::captionsAfterASwitch_data()
{
    QTest::addColumn<bool>("toIdioms");
    QTest::addColumn<QString>("label12"); // its beginning
    // Emptying the box runs the step in the new mode: on the idiom index it finds the first
    // idiom, whose caption stays; in words mode the captions are emptied after that step.
    QTest::newRow("into idioms: the first idiom's caption") << true << u"  idiom 00000"_qs;
    QTest::newRow("back to words: no caption") << false << QString();
}

void TestShellModes::captionsAfterASwitch()
{
    QFETCH(bool, toIdioms);
    QFETCH(QString, label12);
    Window window(m_dir.path());
    auto *rr = window.child<QLineEdit>("rr");
    window.prompts->answers = {false};
    if (!toIdioms)
        window.child<QAction>("IdiomsandExpressions")->trigger();
    QTest::keyClicks(rr, toIdioms ? "sa1" : "idiom 0002");
    window.child<QPushButton>("Command1")->click();
    QVERIFY(!window.child<QLabel>("Label2")->text().isEmpty());

    window.child<QAction>(toIdioms ? "IdiomsandExpressions" : "words")->trigger();
    const QString shown = window.child<QLabel>("Label12")->text();
    QVERIFY2(label12.isEmpty() ? shown.isEmpty() : shown.startsWith(label12), qPrintable(shown));
    QCOMPARE(window.child<QLabel>("Label2")->text(), QString());
}

QTEST_MAIN(TestShellModes)
#include "tst_shell_modes.moc"
