// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/warnings.h"

#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/placement.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// The visible state of the main window as the user meets it.
struct SeenState
{
    bool shown;
    bool enabled;
    bool showOffered; // showf enabled
    bool hideOffered; // hidef enabled
    bool iconPresent;
    bool operator==(const SeenState &) const = default;
};

char *toString(const SeenState &p)
{
    return qstrdup(qPrintable(QStringLiteral("shown %1, enabled %2, Show %3, Hide %4, icon %5")
                                  .arg(p.shown)
                                  .arg(p.enabled)
                                  .arg(p.showOffered)
                                  .arg(p.hideOffered)
                                  .arg(p.iconPresent)));
}

QList<Form2 *> openAboutWindows()
{
    QList<Form2 *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *form2 = qobject_cast<Form2 *>(widget); form2 && form2->isVisible())
            windows.append(form2);
    return windows;
}

// One main window on its own program folder, shown as the program shows it, whose end of
// the run is recorded instead of ending the test.
class Session
{
public:
    Session() : window(dir.path())
    {
        window.setEndOfRun([this] {
            ++runEnds;
            iconPresentAtEnd = window.trayIcon()->isVisible();
        });
        // The test platform has no notification area; the icon is shown as on a desktop
        // that has one.
        if (!window.trayIcon()->isVisible())
            window.trayIcon()->show();
        window.show();
    }

    QAction *item(const char *name) const
    {
        auto *action = window.findChild<QAction *>(QLatin1String(name));
        if (!action)
            qFatal("no menu item %s", name);
        return action;
    }
    QMenu *trayMenu() const { return window.findChild<QMenu *>(QStringLiteral("tray")); }
    QTimer *timer() const { return window.findChild<QTimer *>(QStringLiteral("Timer1")); }

    SeenState presence() const
    {
        return {window.isVisible(), window.isEnabled(), item("showf")->isEnabled(),
                item("hidef")->isEnabled(), window.trayIcon()->isVisible()};
    }

    // Runs one step by the name the user would give it.
    void step(const QString &name)
    {
        if (name == u"closeAbout" || name == u"escAbout") {
            const QList<Form2 *> open = openAboutWindows();
            QCOMPARE(open.size(), 1);
            QPointer<Form2> about = open.first();
            if (name == u"escAbout")
                QTest::keyClick(about->windowHandle(), Qt::Key_Escape);
            else
                about->close();  // its close box
            QTRY_VERIFY(!about); // it goes away once closed
            return;
        }
        if (name == u"minimiseAbout") {
            QCOMPARE(openAboutWindows().size(), 1);
            openAboutWindows().first()->showMinimized();
            return;
        }
        // The main window's close box, as a window manager asks; or a close by a call.
        if (name == u"closeBox") {
            window.windowHandle()->close();
            return;
        }
        if (name == u"closeCall") {
            window.close();
            return;
        }
        item(qPrintable(name))->trigger();
    }

    QTemporaryDir dir;
    Form1 window;
    int runEnds = 0;
    bool iconPresentAtEnd = true;
};

} // namespace

Q_DECLARE_METATYPE(SeenState)

class TestShellTray : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void stateTable_data();
    void stateTable();
    void trayMenuStaysUsableWhileDisabled();

    void onlyTheContextRequestOpensTheMenu_data();
    void onlyTheContextRequestOpensTheMenu();
    void menuOpensAtThePointer();
    void contextRequestLeavesAnOpenMenuWhereItIs();
    void openingTheMenuMirrorsTheWindow_data();
    void openingTheMenuMirrorsTheWindow();

    void placementInsideTheWorkArea_data();
    void placementInsideTheWorkArea();
    void placementAtTopHappensOnce();
    void focus_data();
    void focus();

    void aboutFromHiddenWindowLeavesItHiddenButEnabled();
    void oneAboutWindowAtATime();

    void exitRemovesIconThenEndsRunOnce_data();
    void exitRemovesIconThenEndsRunOnce();
    void nothingIsHandledAfterExit();
    void closeRequest_data();
    void closeRequest();
    void bringForward_data();
    void bringForward();
};

void TestShellTray::initTestCase()
{
    // The icon, shown on a platform without a notification area, has Qt look for the X11
    // signal that reports one coming; it does not exist here.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.core.qobject.connect.warning=false"));
}

void TestShellTray::init()
{
    testsupport::failOnWarnings({QStringLiteral("raise"), QStringLiteral("grabbing the keyboard")});
}

void TestShellTray::cleanup()
{
    // An about window left open by a failed test must not leak into the next one.
    for (Form2 *about : openAboutWindows())
        delete about;
}

void TestShellTray::stateTable_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<SeenState>("expected");

    // shown, enabled, Show offered, Hide offered, icon present
    QTest::newRow("after start-up: shown and enabled, Hide offered")
        << QStringList{} << SeenState{true, true, false, true, true};
    QTest::newRow("hide: hidden, icon stays, Show offered")
        << QStringList{"hidef"} << SeenState{false, true, true, false, true};
    QTest::newRow("hide then show: shown again")
        << QStringList{"hidef", "showf"} << SeenState{true, true, false, true, true};
    QTest::newRow("about from the window menu: disabled, still shown")
        << QStringList{"about"} << SeenState{true, false, false, true, true};
    QTest::newRow("about from the tray while hidden: disabled, still hidden")
        << QStringList{"hidef", "about1"} << SeenState{false, false, true, false, true};
    QTest::newRow("about closed while shown: enabled again")
        << QStringList{"about1", "closeAbout"} << SeenState{true, true, false, true, true};
    QTest::newRow("about closed while hidden: hidden and enabled")
        << QStringList{"hidef", "about1", "closeAbout"}
        << SeenState{false, true, true, false, true};
    QTest::newRow("about closed with Esc while hidden: hidden and enabled")
        << QStringList{"hidef", "about1", "escAbout"} << SeenState{false, true, true, false, true};
    QTest::newRow("hidden and shown while about is open: shown, still disabled")
        << QStringList{"about", "hidef", "showf"} << SeenState{true, false, false, true, true};
    QTest::newRow("show after about from a hidden window: usable")
        << QStringList{"hidef", "about1", "closeAbout", "showf"}
        << SeenState{true, true, false, true, true};
}

void TestShellTray::stateTable()
{
    QFETCH(QStringList, steps);
    QFETCH(SeenState, expected);

    Session session;
    for (const QString &step : steps) {
        session.step(step);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(session.presence(), expected);
    QCOMPARE(session.runEnds, 0);
}

void TestShellTray::trayMenuStaysUsableWhileDisabled()
{
    Session session;
    session.step(QStringLiteral("hidef"));
    session.step(QStringLiteral("about1"));
    QVERIFY(!session.window.isEnabled());
    // The tray menu is the only way back to a hidden window and to Exit.
    QVERIFY(session.trayMenu()->isEnabled());
    session.step(QStringLiteral("closeAbout"));
    QVERIFY(session.trayMenu()->isEnabled());
}

void TestShellTray::onlyTheContextRequestOpensTheMenu_data()
{
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<bool>("opens");

    // Each reason as the XEmbed icon reports it, and as the StatusNotifierItem methods
    // that hosts call on D-Bus arrive.
    QTest::newRow("right button, ContextMenu opens the menu") << QSystemTrayIcon::Context << true;
    QTest::newRow("left click, Activate does nothing") << QSystemTrayIcon::Trigger << false;
    QTest::newRow("double click does nothing") << QSystemTrayIcon::DoubleClick << false;
    QTest::newRow("middle click, SecondaryActivate does nothing")
        << QSystemTrayIcon::MiddleClick << false;
    QTest::newRow("unknown event does nothing") << QSystemTrayIcon::Unknown << false;
}

void TestShellTray::onlyTheContextRequestOpensTheMenu()
{
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(bool, opens);

    Session session;
    // The tray menu is the icon's own, so that Qt exports it to hosts that show exported
    // menus; with none open, a request from the icon opens it only through the handler.
    QCOMPARE(session.window.trayIcon()->contextMenu(), session.trayMenu());
    Q_EMIT session.window.trayIcon()->activated(reason);
    QCOMPARE(session.trayMenu()->isVisible(), opens);
    // Nothing else moves either.
    QCOMPARE(session.presence(), (SeenState{true, true, false, true, true}));
    session.trayMenu()->close();
}

void TestShellTray::menuOpensAtThePointer()
{
    Session session;
    const QPoint pointer(300, 200);
    QCursor::setPos(pointer);
    if (QCursor::pos() != pointer)
        QSKIP("this platform does not let a test place the pointer");
    Q_EMIT session.window.trayIcon()->activated(QSystemTrayIcon::Context);
    QMenu *menu = session.trayMenu();
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->geometry().topLeft(), pointer);
    menu->close();
}

void TestShellTray::contextRequestLeavesAnOpenMenuWhereItIs()
{
    Session session;
    // In an XEmbed area Qt pops the icon's menu up itself where the button went down, and
    // then reports the context request; the pointer has moved on since.
    QMenu *menu = session.trayMenu();
    const QPoint pressed(120, 80);
    menu->popup(pressed);
    QVERIFY(menu->isVisible());
    const QPoint pointer(300, 200);
    QCursor::setPos(pointer);
    if (QCursor::pos() != pointer)
        QSKIP("this platform does not let a test place the pointer");
    Q_EMIT session.window.trayIcon()->activated(QSystemTrayIcon::Context);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->geometry().topLeft(), pressed);
    menu->close();
}

void TestShellTray::openingTheMenuMirrorsTheWindow_data()
{
    QTest::addColumn<bool>("hidden"); // how the window is when the menu opens
    QTest::addColumn<bool>("showOffered");
    QTest::addColumn<bool>("hideOffered");

    QTest::newRow("hidden without Hide: Show offered, Hide not") << true << true << false;
    QTest::newRow("shown again after Hide, without Show: Hide offered, Show not")
        << false << false << true;
}

void TestShellTray::openingTheMenuMirrorsTheWindow()
{
    QFETCH(bool, hidden);
    QFETCH(bool, showOffered);
    QFETCH(bool, hideOffered);

    Session session;
    // The window changed other than through the menu's own items; whoever opens the menu
    // next, the pop-up or a host over D-Bus, finds it as the window now is.
    if (hidden) {
        session.window.hide();
    } else {
        session.step(QStringLiteral("hidef"));
        session.window.show();
    }
    Q_EMIT session.trayMenu()->aboutToShow();
    QCOMPARE(session.item("showf")->isEnabled(), showOffered);
    QCOMPARE(session.item("hidef")->isEnabled(), hideOffered);
}

void TestShellTray::placementInsideTheWorkArea_data()
{
    QTest::addColumn<QRect>("frame"); // the outer window before the first tick
    QTest::addColumn<QSize>("outerSize");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QRect>("placed");

    // A screen of 1024 x 768; start-up makes the window 1024 x 743 (380 twips less high).
    const QSize outer(1024, 743);
    const QRect centred(QPoint(0, 12), outer);
    QTest::newRow("no panels: title bar at the screen's top, size kept")
        << centred << outer << QRect(0, 0, 1024, 768) << QRect(0, 0, 1024, 743);
    QTest::newRow("panel of 30 at the top: below it, bottom at the screen's end")
        << centred << outer << QRect(0, 30, 1024, 738) << QRect(0, 30, 1024, 738);
    QTest::newRow("panel of 30 at the bottom: bottom at the panel's top")
        << centred << outer << QRect(0, 0, 1024, 738) << QRect(0, 0, 1024, 738);
    QTest::newRow("panel of 25 at the top: work area exactly as high, nothing cut")
        << centred << outer << QRect(0, 25, 1024, 743) << QRect(0, 25, 1024, 743);
    QTest::newRow("panel of 26 at the top: one pixel less high")
        << centred << outer << QRect(0, 26, 1024, 742) << QRect(0, 26, 1024, 742);
    QTest::newRow("panel of 48 at the left: beside it, as wide as the rest")
        << centred << outer << QRect(48, 0, 976, 768) << QRect(48, 0, 976, 743);
    QTest::newRow("panel of 30 at the right: as wide as the rest")
        << centred << outer << QRect(0, 0, 994, 768) << QRect(0, 0, 994, 743);

    // A narrower window on a wider work area keeps its left edge as far as it fits.
    const QRect wide(0, 0, 1280, 1024);
    QTest::newRow("left edge inside: kept")
        << QRect(QPoint(100, 40), outer) << outer << wide << QRect(100, 0, 1024, 743);
    QTest::newRow("left edge at the rightmost that fits: kept")
        << QRect(QPoint(256, 40), outer) << outer << wide << QRect(256, 0, 1024, 743);
    QTest::newRow("left edge one past the rightmost: moved in by one")
        << QRect(QPoint(257, 40), outer) << outer << wide << QRect(256, 0, 1024, 743);
    QTest::newRow("left edge at the work area's left: kept")
        << QRect(QPoint(48, 40), outer) << outer << QRect(48, 0, 1232, 1024)
        << QRect(48, 0, 1024, 743);
    QTest::newRow("left edge one left of the work area: moved in by one")
        << QRect(QPoint(47, 40), outer) << outer << QRect(48, 0, 1232, 1024)
        << QRect(48, 0, 1024, 743);

    QTest::newRow("no work area known: the screen's top, size and left edge kept")
        << QRect(QPoint(37, 40), outer) << outer << QRect() << QRect(37, 0, 1024, 743);
}

void TestShellTray::placementInsideTheWorkArea()
{
    QFETCH(QRect, frame);
    QFETCH(QSize, outerSize);
    QFETCH(QRect, workArea);
    QFETCH(QRect, placed);

    QCOMPARE(placement::placedAtTop(frame, outerSize, workArea), placed);
}

void TestShellTray::placementAtTopHappensOnce()
{
    QTemporaryDir dir;
    Form1 window(dir.path());
    window.setEndOfRun([] {});
    auto *timer = window.findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1);
    // Where the window happens to be put before the first tick: as wide as the screen, it
    // stands out past the screen's right side.
    window.move(37, 120);
    // Start-up's size is the outer one; the window has no frame yet.
    const QSize outer = window.size();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The test platform draws a frame: the outer window keeps the size, its top, the title
    // bar, goes to the top of the screen, and it moves in to lie on the screen.
    QTRY_VERIFY(!timer->isActive());
    QVERIFY(window.frameGeometry() != window.geometry());
    QCOMPARE(window.frameGeometry(), QRect(QPoint(0, 0), outer));

    // The user moves the window down; nothing puts it back.
    window.move(37, 150);
    QTest::qWait(20);
    QVERIFY(!timer->isActive());
    QCOMPARE(window.pos(), QPoint(37, 150));
}

void TestShellTray::focus_data()
{
    QTest::addColumn<QString>("focusFirst"); // the widget the user puts the focus into
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("focused");

    QTest::newRow("after start-up: the search box") << "" << QStringList{} << "rr";
    QTest::newRow("hide and show: the search box, wherever the focus was")
        << "l" << QStringList{"hidef", "showf"} << "rr";
    QTest::newRow("about closed: back in the search box")
        << "" << QStringList{"about", "closeAbout"} << "rr";
    QTest::newRow("about closed: back in the list")
        << "l" << QStringList{"about1", "closeAbout"} << "l";
    QTest::newRow("about closed with Esc: back in the search box")
        << "" << QStringList{"about", "escAbout"} << "rr";
    QTest::newRow("about closed with Esc: back in the list")
        << "l" << QStringList{"about1", "escAbout"} << "l";
    QTest::newRow("about over a hidden window, then show: the search box")
        << "l" << QStringList{"hidef", "about1", "closeAbout", "showf"} << "rr";
}

void TestShellTray::focus()
{
    QFETCH(QString, focusFirst);
    QFETCH(QStringList, steps);
    QFETCH(QString, focused);

    Session session;
    session.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&session.window));
    if (!focusFirst.isEmpty())
        session.window.findChild<QWidget *>(focusFirst)->setFocus();
    for (const QString &step : steps) {
        session.step(step);
        if (QTest::currentTestFailed())
            return;
    }
    // The widget that has the focus whenever the window is active.
    QVERIFY(session.window.focusWidget());
    QCOMPARE(session.window.focusWidget()->objectName(), focused);
    // Keys typed at the window, once it is active, go there. (Where the about window was
    // the active one, a window manager makes this one active again once it is gone; the
    // test platform has none.)
    if (focused == u"rr") {
        session.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&session.window));
        QTest::keyClick(session.window.windowHandle(), 'a');
        QTest::keyClick(session.window.windowHandle(), 'b');
        QCOMPARE(session.window.findChild<QLineEdit *>(QStringLiteral("rr"))->text(),
                 QStringLiteral("ab"));
    }
}

void TestShellTray::aboutFromHiddenWindowLeavesItHiddenButEnabled()
{
    Session session;
    session.step(QStringLiteral("hidef"));
    session.step(QStringLiteral("about1"));
    const QList<Form2 *> open = openAboutWindows();
    QCOMPARE(open.size(), 1);
    QVERIFY(open.first()->isEnabled()); // the about window itself takes input
    QVERIFY(!session.window.isVisible());

    session.step(QStringLiteral("closeAbout"));
    QVERIFY(!session.window.isVisible());
    QVERIFY(session.window.isEnabled());
    // The last visible window went, but the run goes on: the icon still leads back.
    QCOMPARE(session.runEnds, 0);
    QVERIFY(session.window.trayIcon()->isVisible());

    session.step(QStringLiteral("showf"));
    QVERIFY(session.window.isVisible());
    QVERIFY(session.window.isEnabled());
}

void TestShellTray::oneAboutWindowAtATime()
{
    Session session;
    session.step(QStringLiteral("about"));
    session.step(QStringLiteral("about1"));
    session.step(QStringLiteral("about"));
    QCOMPARE(openAboutWindows().size(), 1);
    session.step(QStringLiteral("closeAbout"));
    QVERIFY(session.window.isEnabled());
    // A new one opens after the first has gone.
    session.step(QStringLiteral("about1"));
    QCOMPARE(openAboutWindows().size(), 1);
    QVERIFY(!session.window.isEnabled());
}

void TestShellTray::exitRemovesIconThenEndsRunOnce_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("exitItem");

    QTest::newRow("window menu, shown") << QStringList{} << "exit";
    QTest::newRow("tray menu, shown") << QStringList{} << "exit1";
    QTest::newRow("tray menu, hidden") << QStringList{"hidef"} << "exit1";
    QTest::newRow("tray menu, about open over a hidden window")
        << QStringList{"hidef", "about1"} << "exit1";
    QTest::newRow("window menu, about open") << QStringList{"about"} << "exit";
}

void TestShellTray::exitRemovesIconThenEndsRunOnce()
{
    QFETCH(QStringList, before);
    QFETCH(QString, exitItem);

    Session session;
    for (const QString &step : before)
        session.step(step);
    session.step(exitItem);
    QCOMPARE(session.runEnds, 1);
    QVERIFY(!session.iconPresentAtEnd); // removed before the run ended
    QVERIFY(!session.window.trayIcon()->isVisible());

    // The window may still get a close before the process goes; it changes nothing.
    session.window.close();
    session.item("exit1")->trigger();
    QCOMPARE(session.runEnds, 1);
}

void TestShellTray::nothingIsHandledAfterExit()
{
    Session session;
    session.step(QStringLiteral("exit1"));
    const SeenState atExit = session.presence();
    session.step(QStringLiteral("hidef"));
    session.step(QStringLiteral("about1"));
    Q_EMIT session.window.trayIcon()->activated(QSystemTrayIcon::Context);
    QCOMPARE(session.presence(), atExit);
    QVERIFY(openAboutWindows().isEmpty());
    QVERIFY(!session.trayMenu()->isVisible());
}

void TestShellTray::closeRequest_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("close");
    QTest::addColumn<bool>("closes");

    QTest::newRow("enabled, its close box: closed, the icon gone, the run ended")
        << QStringList{} << "closeBox" << true;
    QTest::newRow("enabled, closed by a call") << QStringList{} << "closeCall" << true;
    QTest::newRow("about open, its close box: refused, window and icon stay")
        << QStringList{"about"} << "closeBox" << false;
    QTest::newRow("about open, closed by a call: refused")
        << QStringList{"about1"} << "closeCall" << false;
    QTest::newRow("about opened and closed again, its close box: closed")
        << QStringList{"about", "closeAbout"} << "closeBox" << true;
}

void TestShellTray::closeRequest()
{
    QFETCH(QStringList, before);
    QFETCH(QString, close);
    QFETCH(bool, closes);

    Session session;
    for (const QString &step : before)
        session.step(step);
    const SeenState atClose = session.presence();
    session.step(close);
    if (closes) {
        QVERIFY(!session.window.isVisible());
        QCOMPARE(session.runEnds, 1);
        QVERIFY(!session.iconPresentAtEnd); // removed before the run ended
        QVERIFY(openAboutWindows().isEmpty());
        return;
    }
    QCOMPARE(session.presence(), atClose);
    QCOMPARE(session.runEnds, 0);
    QCOMPARE(openAboutWindows().size(), 1);
    // Closing the about window leaves a usable main window, and the run goes on.
    session.step(QStringLiteral("closeAbout"));
    QCOMPARE(session.presence(), (SeenState{true, true, false, true, true}));
    QCOMPARE(session.runEnds, 0);
    session.step(close);
    QCOMPARE(session.runEnds, 1);
}

void TestShellTray::bringForward_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("active"); // the window then active: "Form1", "Form2" or none
    QTest::addColumn<SeenState>("expected");

    // shown, enabled, Show offered, Hide offered, icon present
    QTest::newRow("shown: active again")
        << QStringList{} << "Form1" << SeenState{true, true, false, true, true};
    QTest::newRow("hidden: shown and active, as Show does")
        << QStringList{"hidef"} << "Form1" << SeenState{true, true, false, true, true};
    QTest::newRow("about open: about active, the main window still disabled behind it")
        << QStringList{"about"} << "Form2" << SeenState{true, false, false, true, true};
    QTest::newRow("about open over a hidden window: about active, the main window hidden")
        << QStringList{"hidef", "about1"} << "Form2" << SeenState{false, false, true, false, true};
    QTest::newRow("about minimised: restored and active")
        << QStringList{"about", "minimiseAbout"} << "Form2"
        << SeenState{true, false, false, true, true};
    QTest::newRow("about closed again: the main window")
        << QStringList{"about", "closeAbout"} << "Form1"
        << SeenState{true, true, false, true, true};
    QTest::newRow("closed: not shown again")
        << QStringList{"closeBox"} << "" << SeenState{false, true, false, true, false};
}

void TestShellTray::bringForward()
{
    QFETCH(QStringList, before);
    QFETCH(QString, active);
    QFETCH(SeenState, expected);

    Session session;
    for (const QString &step : before)
        session.step(step);
    // Another program's window has the keyboard when the later start asks.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));

    session.window.bringForward();
    if (active.isEmpty()) {
        QTest::qWait(50);
        QCOMPARE(QApplication::activeWindow(), &other);
    } else {
        QTRY_VERIFY(QApplication::activeWindow() != &other);
        QCOMPARE(QApplication::activeWindow()->objectName(), active);
        QVERIFY(!QApplication::activeWindow()->isMinimized());
    }
    QCOMPARE(session.presence(), expected);
}

QTEST_MAIN(TestShellTray)
#include "tst_shell_tray.moc"
