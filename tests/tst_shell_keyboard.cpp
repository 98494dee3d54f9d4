// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptedwindow.h"
#include "support/warnings.h"

#include "shell/form1.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestShellKeyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void menusByKeyboard_data();
    void menusByKeyboard();
    void menusLeaveTheTypedText_data();
    void menusLeaveTheTypedText();
    void searchButtonShowsItsFocus();
};

void TestShellKeyboard::init()
{
    // Open menus ask for the keyboard and to be raised, which the offscreen platform
    // cannot do; they take the keys all the same.
    testsupport::failOnWarnings({QStringLiteral("raise"), QStringLiteral("grabbing the keyboard")});
}

void TestShellKeyboard::menusByKeyboard_data()
{
    QTest::addColumn<bool>("trayMenu");    // the notification icon's menu, popped up
    QTest::addColumn<bool>("hiddenFirst"); // the window hidden to the icon before
    QTest::addColumn<QStringList>("keys"); // the first to the window, the rest to the menu
    QTest::addColumn<QString>("chosen");

    const auto bar = [](const char *name, QStringList keys, const char *chosen) {
        QTest::newRow(name) << false << false << keys << QString::fromLatin1(chosen);
    };
    bar("Vellumstack > About", {"Alt+V", "A"}, "about");
    bar("Vellumstack > Exit", {"Alt+V", "X"}, "exit");
    bar("Settings > Vocabulary > Color", {"Alt+S", "V", "C"}, "vocabcolor");
    bar("Settings > Vocabulary > Backcolor", {"Alt+S", "V", "B"}, "vocabbackcolor");
    bar("Settings > Definitions > Color", {"Alt+S", "D", "C"}, "defincolor");
    bar("Settings > Definitions > Backcolor", {"Alt+S", "D", "B"}, "definbackcolor");
    bar("Settings > Restore", {"Alt+S", "R"}, "restore");
    bar("Search > Words", {"Alt+R", "W"}, "words");
    bar("Search > Idioms and Expressions", {"Alt+R", "I"}, "IdiomsandExpressions");
    bar("F1 is About", {"F1"}, "about");
    bar("F10 opens the first menu", {"F10", "X"}, "exit");
    bar("Alt and a letter no menu has picks nothing", {"Alt+Q", "A"}, "");

    QTest::newRow("tray > Hide") << true << false << QStringList{"H"} << "hidef";
    QTest::newRow("tray > Show, the window hidden") << true << true << QStringList{"S"} << "showf";
    QTest::newRow("tray > Show is off while the window is shown")
        << true << false << QStringList{"S"} << "";
    QTest::newRow("tray > About") << true << false << QStringList{"A"} << "about1";
    QTest::newRow("tray > Exit") << true << false << QStringList{"X"} << "exit1";
}

void TestShellKeyboard::menusByKeyboard()
{
    QFETCH(bool, trayMenu);
    QFETCH(bool, hiddenFirst);
    QFETCH(QStringList, keys);
    QFETCH(QString, chosen);

    QTemporaryDir dir;
    testsupport::ScriptedWindow window(dir.path());
    window.form.setEndOfRun([] {});
    QVERIFY(QTest::qWaitForWindowActive(&window.form));
    if (hiddenFirst)
        window.child<QAction>("hidef")->trigger();
    QStringList picked;
    for (QAction *action : window.form.findChildren<QAction *>())
        connect(action, &QAction::triggered, &window.form,
                [&picked, action] { picked << action->objectName(); });
    if (trayMenu)
        window.child<QMenu>("tray")->popup(QPoint(20, 20));

    for (const QString &key : keys) {
        // Menus and shortcuts act on the press; the release would find the menu closed, or
        // the window disabled by the about window, and nobody to take it.
        const QKeyCombination pressed = QKeySequence::fromString(key)[0];
        QWidget *menu = QApplication::activePopupWidget();
        QTest::keyPress(menu ? menu : &window.form, pressed.key(), pressed.keyboardModifiers());
    }
    QCOMPARE(picked.join(u' '), chosen);
    // Each menu closed with its choice: the keys went to the menus, and nothing was typed.
    if (!chosen.isEmpty())
        QVERIFY(!QApplication::activePopupWidget());
    QVERIFY(window.child<QLineEdit>("rr")->text().isEmpty());
    while (QWidget *open = QApplication::activePopupWidget())
        open->close();
}

void TestShellKeyboard::menusLeaveTheTypedText_data()
{
    QTest::addColumn<QStringList>("keys"); // after "wa" is typed; to the menu while one is open

    // The first Escape closes the menu, the second leaves the menu bar.
    QTest::newRow("a menu opened and closed") << QStringList{"Alt+S", "Esc", "Esc"};
    QTest::newRow("F10 and back") << QStringList{"F10", "Esc", "Esc"};
}

void TestShellKeyboard::menusLeaveTheTypedText()
{
    QFETCH(QStringList, keys);

    // The box keeps the focus under a menu: the next character goes on after the typed text
    // instead of replacing it all.
    QTemporaryDir dir;
    testsupport::ScriptedWindow window(dir.path());
    QVERIFY(QTest::qWaitForWindowActive(&window.form));
    auto *rr = window.child<QLineEdit>("rr");
    rr->setFocus();
    QTest::keyClicks(rr, QStringLiteral("wa"));
    for (const QString &key : keys) {
        const QKeyCombination pressed = QKeySequence::fromString(key)[0];
        QWidget *target = QApplication::activePopupWidget();
        if (!target)
            target = QApplication::focusWidget();
        QTest::keyClick(target, pressed.key(), pressed.keyboardModifiers());
    }
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(QApplication::focusWidget(), rr);
    QTest::keyClicks(rr, QStringLiteral("t"));
    QCOMPARE(rr->text(), QStringLiteral("wat"));
}

void TestShellKeyboard::searchButtonShowsItsFocus()
{
    QTemporaryDir dir;
    Form1 window(dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *rr = window.findChild<QLineEdit *>(QStringLiteral("rr"));
    auto *search = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    QVERIFY(rr->hasFocus());
    QVERIFY(search->isDefault());
    const QImage unfocused = search->grab().toImage();

    // From the search box through the list to the button, with the keys.
    QTest::keyClick(rr, Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), search);
    QVERIFY2(search->grab().toImage() != unfocused, "the focused button looks as it did");

    QTest::keyClick(search, Qt::Key_Tab);
    QVERIFY(!search->hasFocus());
    QCOMPARE(search->grab().toImage(), unfocused);
}

QTEST_MAIN(TestShellKeyboard)
#include "tst_shell_keyboard.moc"
