// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's two presences, on the screen and as the notification icon: the
// placement at the top after start, the icon's menu, hiding and showing, the about window,
// Exit and closing the window.

#include "form1.h"

#include "shell/form2.h"
#include "shell/placement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

#include <functional>

void Form1::setEndOfRun(std::function<void()> endOfRun)
{
    m_endOfRun = std::move(endOfRun);
}

void Form1::connectPresence()
{
    m_endOfRun = [] { QCoreApplication::exit(0); };

    // The icon's context request (the right button) alone opens the tray menu; a click, a
    // double click or a middle click on the icon does nothing. The tray menu is the icon's
    // own menu, and each kind of notification area shows it one way, once:
    // - an XEmbed area (trayer): Qt pops the menu up itself on the right button, before it
    //   reports the context request, so the request finds the menu open;
    // - a StatusNotifierItem host: Qt exports the menu over D-Bus. A host that shows
    //   exported menus draws it itself and sends no request; one that sends ContextMenu
    //   instead gets the context request, with no menu open, and the window pops it up.
    connect(m_trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Context && !tray->isVisible())
                    popUpTrayMenu();
            });
    // Whoever opens the menu, a host over D-Bus included, finds Show and Hide as the window
    // is at that moment.
    connect(tray, &QMenu::aboutToShow, this, &Form1::mirrorVisibility);
    connect(hidef, &QAction::triggered, this, &Form1::hideToTray);
    connect(showf, &QAction::triggered, this, &Form1::showFromTray);
    connect(about, &QAction::triggered, this, &Form1::openAbout);
    connect(about1, &QAction::triggered, this, &Form1::openAbout);
    connect(exit, &QAction::triggered, this, &Form1::exitNow);
    connect(exit1, &QAction::triggered, this, &Form1::exitNow);

    // Start-up ends here. The program shows the window before it enters the event loop, so
    // the first tick comes after the window has been shown.
    connect(Timer1, &QTimer::timeout, this, &Form1::placeAtTop);
    Timer1->start();
}

void Form1::placeAtTop()
{
    if (m_ended)
        return;
    QWindow *window = windowHandle();
    if (!window)
        return;
    if (!window->isExposed()) {
        // A window manager frames the window before it puts it on the screen, and only then
        // are the frame's measures known: the first exposure starts the timer again.
        Timer1->stop();
        window->installEventFilter(this);
        return;
    }
    window->removeEventFilter(this);
    // The outer window, frame included, takes the size of the start-up sequence, and its
    // top edge, the title bar, goes to the top of the screen; the left edge stays. Where
    // panels hold strips of the screen, the top of the screen is the top of what they
    // leave free, and the window stays inside that: no part of it under a panel, its
    // bottom not past the free part's bottom. Without a window manager the frame is empty
    // and this is the plain window. The timer never runs again, so a window the user moves
    // afterwards stays where it was put.
    const QRect workArea = window->screen() ? window->screen()->availableGeometry() : QRect();
    const QRect outer = placement::placedAtTop(window->frameGeometry(), m_outerSize, workArea);
    resize(outer.size().shrunkBy(window->frameMargins()));
    window->setFramePosition(outer.topLeft());
    // Now that the frame is known, the zoom fits the room the window really has.
    fitZoom(clientRoom(outer.size(), window->frameMargins()));
    Timer1->stop();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && !m_ended &&
        windowHandle()->isExposed())
        Timer1->start();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::popUpTrayMenu()
{
    if (m_ended)
        return;
    tray->popup(QCursor::pos());
}

void Form1::hideToTray()
{
    if (m_ended)
        return;
    hide();
    mirrorVisibility();
}

void Form1::showFromTray()
{
    if (m_ended)
        return;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    // Back with the focus in the search box, ready for the next word. Where the focus was
    // is no guide: the tray menu's closing activates this window once more after Hide has
    // hidden it, and Qt, finding the focus widget hidden with it, moves the focus on to
    // the next widget of the chain, the word list.
    rr->setFocus();
    mirrorVisibility();
}

void Form1::bringForward()
{
    if (m_ended || m_closed)
        return;
    // While the about window is open it is the one window that takes input: it comes
    // forward, and the disabled main window stays as it is, behind it or hidden.
    if (m_form2 && m_form2->isVisible()) {
        m_form2->setWindowState(m_form2->windowState() & ~Qt::WindowMinimized);
        m_form2->raise();
        m_form2->activateWindow();
        return;
    }
    showFromTray();
}

void Form1::mirrorVisibility()
{
    showf->setEnabled(isHidden());
    hidef->setEnabled(!isHidden());
}

void Form1::openAbout()
{
    if (m_ended)
        return;
    if (!m_form2) {
        // Without a parent: disabling this window must not disable the about window too.
        m_form2 = new Form2;
        connect(m_form2, &Form2::unloaded, this, &Form1::aboutClosed);
    }
    m_form2->show();
    m_form2->raise();
    m_form2->activateWindow();

    // Disabled, not hidden: a hidden window stays hidden. Disabling takes the focus off the
    // focus widget; it goes back there when the about window closes. The tray menu is a
    // child of this window and would go disabled with it; it stays usable so that Show,
    // Hide and Exit are still reachable while the about window is open.
    if (isEnabled())
        m_focusBeforeAbout = focusWidget();
    setEnabled(false);
    tray->setEnabled(true);
}

void Form1::aboutClosed()
{
    if (m_ended)
        return;
    setEnabled(true);
    if (m_focusBeforeAbout)
        m_focusBeforeAbout->setFocus();
}

void Form1::exitNow()
{
    if (m_ended)
        return;
    // From here on no handler of this window does anything, the close of the window included.
    m_ended = true;
    m_trayIcon->hide();
    m_endOfRun();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_ended || m_closed) {
        event->accept();
        return;
    }
    // A disabled window takes no input, its close box included: while the about window is
    // open the main window stays, with its icon.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    // Otherwise the close is never refused. The about window is closed whenever this one
    // is enabled, so this was the last window and the run ends.
    event->accept();
    m_closed = true;
    m_trayIcon->hide();
    m_endOfRun();
}
