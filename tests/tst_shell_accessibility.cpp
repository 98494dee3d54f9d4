// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptedwindow.h"
#include "support/warnings.h"

#include "dataset/dataset.h"
#include "shell/form2.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

namespace {

using Window = testsupport::ScriptedWindow;

// "role name" of every control of the client area that assistive technology is shown.
QStringList exposedControls(QWidget *client)
{
    QStringList controls;
    QAccessibleInterface *area = QAccessible::queryAccessibleInterface(client);
    for (int k = 0; k < area->childCount(); ++k) {
        QAccessibleInterface *control = area->child(k);
        if (!control) {
            controls.append(QStringLiteral("(none at %1)").arg(k));
            continue;
        }
        controls.append(QStringLiteral("%1 %2")
                            .arg(int(control->role()), 2, 16, QLatin1Char('0'))
                            .arg(control->text(QAccessible::Name)));
        if (area->indexOfChild(control) != k)
            controls.last() += QStringLiteral(" (at %1)").arg(area->indexOfChild(control));
    }
    return controls;
}

QString control(QAccessible::Role role, const char *name)
{
    return QStringLiteral("%1 %2").arg(int(role), 2, 16, QLatin1Char('0')).arg(QLatin1String(name));
}

} // namespace

class TestShellAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void seenControlsNamed_data();
    void seenControlsNamed();
    void definitionReachableByKeyboard();
    void menusReadAsDesigned_data();
    void menusReadAsDesigned();
    void aboutPictureAndIconNamed();

private:
    QTemporaryDir m_dir;
};

void TestShellAccessibility::initTestCase()
{
    dataset::DataSet set;
    set.letters[0].append(dataset::Entry{"abacus", "a frame"});
    set.letters[0].append(dataset::Entry{"abandon", "to leave"});
    set.idioms.append(dataset::Entry{"a bad egg", "a bad person"});
    QCOMPARE(dataset::write(m_dir.path(), set), std::nullopt);
}

void TestShellAccessibility::init()
{
    testsupport::failOnWarnings();
}

void TestShellAccessibility::seenControlsNamed_data()
{
    QTest::addColumn<bool>("idioms");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("search");
    QTest::addColumn<QStringList>("controls");

    // Stacking order, lowest first. rr3 lies under rr1, Label2 under Label12; a label
    // without text shows nothing.
    const QString definitions = control(QAccessible::EditableText, "Definitions");
    const QString wordBox = control(QAccessible::EditableText, "Word to look up");
    const QString idiomBox = control(QAccessible::EditableText, "Idiom or expression to look up");
    const QString search = control(QAccessible::Button, "Search");
    const QString wordList = control(QAccessible::List, "Words");
    const QString idiomList = control(QAccessible::List, "Idioms and expressions");
    const QString heading = control(QAccessible::StaticText, "Definitions for:");

    QTest::newRow("words mode at start")
        << false << "" << false << QStringList{definitions, wordBox, search, wordList, heading};
    const QStringList abacusShown{control(QAccessible::EditableText, "Definitions for: abacus"),
                                  wordBox,
                                  search,
                                  wordList,
                                  heading,
                                  control(QAccessible::StaticText, "abacus")};
    QTest::newRow("a word looked up: the caption over Label2 names it and the box")
        << false << "abac" << true << abacusShown;
    QTest::newRow("typing after the lookup hides the caption, Label2 still names the entry")
        << false << "abac\b\b" << true << abacusShown;
    QTest::newRow("a text that matches nothing: the line of close words joins, named as it reads")
        << false << "abnadon" << false
        << QStringList{definitions,
                       wordBox,
                       search,
                       wordList,
                       heading,
                       control(QAccessible::StaticText, "") +
                           QStringLiteral("No entry for \u201cabnadon\u201d \u2014 abandon")};
    QTest::newRow("search before any find: rr1 stays hidden, rr3 shows")
        << false << "" << true
        << QStringList{control(QAccessible::EditableText, "Definitions area"), wordBox, search,
                       wordList, heading};
    QTest::newRow("idioms mode: the heading is hidden")
        << true << "" << false << QStringList{definitions, idiomBox, search, idiomList};
    QTest::newRow("an idiom looked up")
        << true << "a b" << true
        << QStringList{control(QAccessible::EditableText, "Definitions for: a bad egg"), idiomBox,
                       search, idiomList, control(QAccessible::StaticText, "a bad egg")};
}

void TestShellAccessibility::seenControlsNamed()
{
    QFETCH(bool, idioms);
    QFETCH(QString, typed);
    QFETCH(bool, search);
    QFETCH(QStringList, controls);

    Window window(m_dir.path());
    if (idioms)
        window.child<QAction>("IdiomsandExpressions")->trigger();
    auto *rr = window.child<QLineEdit>("rr");
    const qsizetype erased = typed.count(u'\b');
    QTest::keyClicks(rr, typed.first(typed.size() - erased));
    if (search)
        QTest::keyClick(rr, Qt::Key_Return);
    for (qsizetype k = 0; k < erased; ++k)
        QTest::keyClick(rr, Qt::Key_Backspace);

    QCOMPARE(exposedControls(window.form.centralWidget()), controls);

    // Every control shown has a description too, but the labels, which are their text.
    QAccessibleInterface *area = QAccessible::queryAccessibleInterface(window.form.centralWidget());
    for (int k = 0; k < area->childCount(); ++k) {
        if (area->child(k)->role() != QAccessible::StaticText)
            QVERIFY2(!area->child(k)->text(QAccessible::Description).isEmpty(),
                     qPrintable(controls.value(k)));
    }
}

void TestShellAccessibility::definitionReachableByKeyboard()
{
    Window window(m_dir.path());
    auto *rr = window.child<QLineEdit>("rr");
    auto *rr1 = window.child<QTextEdit>("rr1");
    rr->setFocus();
    QTest::keyClicks(rr, QStringLiteral("aban"));
    QTest::keyClick(rr, Qt::Key_Return);
    QVERIFY(rr->hasFocus());

    // The tab order: the list, Search, then the definition box, and round to the search box.
    QStringList order;
    for (int k = 0; k < 4; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(order, (QStringList{"l", "Command1", "rr1", "rr"}));

    // In the definition box the text is read and selected with the keyboard, never changed.
    rr1->setFocus();
    const QString shown = rr1->toPlainText();
    QVERIFY(!shown.isEmpty());
    QTest::keyClick(rr1, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(rr1, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(rr1->textCursor().selectedText(), shown);
    QTest::keyClick(rr1, Qt::Key_X);
    QCOMPARE(rr1->toPlainText(), shown);

    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(rr1);
    QVERIFY(box->textInterface());
    QCOMPARE(box->textInterface()->text(0, box->textInterface()->characterCount()), shown);
    QVERIFY(box->state().readOnly);
    // Labelled by the heading "Definitions for:".
    const auto labels = box->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.front().first->object(), window.child<QLabel>("Label1"));
}

void TestShellAccessibility::menusReadAsDesigned_data()
{
    QTest::addColumn<QString>("menu"); // by name; empty for the menu bar
    QTest::addColumn<QStringList>("items");

    QTest::newRow("the menu bar") << "" << QStringList{"Vellumstack", "Settings", "Search"};
    QTest::newRow("Vellumstack") << "Vellumstack" << QStringList{"About", "Exit"};
    QTest::newRow("Settings") << "settings" << QStringList{"Vocabulary", "Definitions", "Restore"};
    QTest::newRow("Vocabulary") << "Vocabulary" << QStringList{"Color", "Backcolor"};
    QTest::newRow("Definitions") << "Definitions" << QStringList{"Color", "Backcolor"};
    QTest::newRow("Search") << "Search" << QStringList{"Words", "Idioms and Expressions"};
    QTest::newRow("tray menu") << "tray" << QStringList{"Show", "Hide", "", "About", "", "Exit"};
}

void TestShellAccessibility::menusReadAsDesigned()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);

    // The captions mark their access keys; a screen reader reads them without the mark.
    Window window(m_dir.path());
    QWidget *widget = menu.isEmpty() ? static_cast<QWidget *>(window.form.menuBar())
                                     : window.form.findChild<QMenu *>(menu);
    QVERIFY(widget);
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(widget);
    QStringList read;
    for (int k = 0; k < reader->childCount(); ++k)
        read << reader->child(k)->text(QAccessible::Name);
    QCOMPARE(read, items);
}

void TestShellAccessibility::aboutPictureAndIconNamed()
{
    // The icon's tip is what both notification protocols show as its name (the XEmbed
    // tool tip; the title of the StatusNotifierItem's ToolTip).
    Window window(m_dir.path());
    QCOMPARE(window.form.trayIcon()->toolTip(), QStringLiteral("Vellumstack"));

    Form2 about;
    QAccessibleInterface *picture =
        QAccessible::queryAccessibleInterface(about.findChild<QLabel *>(QStringLiteral("Image1")));
    QCOMPARE(picture->role(), QAccessible::Graphic);
    QCOMPARE(picture->text(QAccessible::Name), QStringLiteral("About Vellumstack"));
}

QTEST_MAIN(TestShellAccessibility)
#include "tst_shell_accessibility.moc"
