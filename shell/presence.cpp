// SPDX-License-Identifier: GPL-3.0-or-later
#include "presence.h"

#include "shell/form2.h"
#include "shell/placement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWindow>

#include <functional>

Presence::Presence(QMainWindow &window, QWidget *searchBox, const Items &items, QSize outerSize,
                   Placed placed)
    : m_window(window), m_searchBox(searchBox), m_items(items), m_outerSize(outerSize),
      m_placed(std::move(placed)), m_endOfRun([] { QCoreApplication::exit(0); })
{
    m_timer = new QTimer(&window);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1);
    addTrayIcon();
    connectItems();
    // Start-up ends here. The program shows the window before it enters the event loop, so
    // the first tick comes after the window has been shown.
    connect(m_timer, &QTimer::timeout, this, &Presence::placeAtTop);
    m_timer->start();
}

Presence::~Presence()
{
    // The about window has no parent; it goes with the main window.
    delete m_form2;
}

void Presence::addTrayIcon()
{
    // Without a notification area the window opens all the same. The icon is added once; on
    // X11 Qt then puts it into whichever notification area there is, also one that starts
    // later or restarts, so a hidden window stays reachable.
    m_trayIcon = new QSystemTrayIcon(m_window.windowIcon(), &m_window);
    m_trayIcon->setToolTip(QStringLiteral("Vellumstack"));
    // The tray menu is the icon's own menu, set before the icon is shown: a host of
    // StatusNotifierItems then finds it exported over D-Bus from the first time it asks.
    m_trayIcon->setContextMenu(m_items.tray);
    if (QSystemTrayIcon::isSystemTrayAvailable() || QGuiApplication::platformName() == u"xcb")
        m_trayIcon->show();
}

void Presence::setEndOfRun(std::function<void()> endOfRun)
{
    m_endOfRun = std::move(endOfRun);
}

void Presence::connectItems()
{
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
                if (reason == QSystemTrayIcon::Context && !m_items.tray->isVisible())
                    popUpTrayMenu();
            });
    // Whoever opens the menu, a host over D-Bus included, finds Show and Hide as the window
    // is at that moment.
    connect(m_items.tray, &QMenu::aboutToShow, this, &Presence::mirrorVisibility);
    connect(m_items.hidef, &QAction::triggered, this, &Presence::hideToTray);
    connect(m_items.showf, &QAction::triggered, this, &Presence::showFromTray);
    connect(m_items.about, &QAction::triggered, this, &Presence::openAbout);
    connect(m_items.about1, &QAction::triggered, this, &Presence::openAbout);
    connect(m_items.exit, &QAction::triggered, this, &Presence::exitNow);
    connect(m_items.exit1, &QAction::triggered, this, &Presence::exitNow);
}

void Presence::placeAtTop()
{
    if (m_ended)
        return;
    QWindow *window = m_window.windowHandle();
    if (!window)
        return;
    if (!window->isExposed()) {
        // A window manager frames the window before it puts it on the screen, and only then
        // are the frame's measures known: the first exposure starts the timer again.
        m_timer->stop();
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
    m_window.resize(outer.size().shrunkBy(window->frameMargins()));
    window->setFramePosition(outer.topLeft());
    m_placed(outer.size(), window->frameMargins());
    m_timer->stop();
}

bool Presence::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window.windowHandle() && event->type() == QEvent::Expose && !m_ended &&
        m_window.windowHandle()->isExposed())
        m_timer->start();
    return QObject::eventFilter(watched, event);
}

void Presence::popUpTrayMenu()
{
    if (m_ended)
        return;
    m_items.tray->popup(QCursor::pos());
}

void Presence::hideToTray()
{
    if (m_ended)
        return;
    m_window.hide();
    mirrorVisibility();
}

void Presence::showFromTray()
{
    if (m_ended)
        return;
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
    // Back with the focus in the search box, ready for the next word. Where the focus was
    // is no guide: the tray menu's closing activates this window once more after Hide has
    // hidden it, and Qt, finding the focus widget hidden with it, moves the focus on to
    // the next widget of the chain, the word list.
    m_searchBox->setFocus();
    mirrorVisibility();
}

void Presence::bringForward()
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

void Presence::mirrorVisibility()
{
    m_items.showf->setEnabled(m_window.isHidden());
    m_items.hidef->setEnabled(!m_window.isHidden());
}

void Presence::openAbout()
{
    if (m_ended)
        return;
    if (!m_form2) {
        // Without a parent: disabling this window must not disable the about window too.
        m_form2 = new Form2;
        connect(m_form2, &Form2::unloaded, this, &Presence::aboutClosed);
    }
    m_form2->show();
    m_form2->raise();
    m_form2->activateWindow();

    // Disabled, not hidden: a hidden window stays hidden. Disabling takes the focus off the
    // focus widget; it goes back there when the about window closes. The tray menu is a
    // child of this window and would go disabled with it; it stays usable so that Show,
    // Hide and Exit are still reachable while the about window is open.
    if (m_window.isEnabled())
        m_focusBeforeAbout = m_window.focusWidget();
    m_window.setEnabled(false);
    m_items.tray->setEnabled(true);
}

void Presence::aboutClosed()
{
    if (m_ended)
        return;
    m_window.setEnabled(true);
    if (m_focusBeforeAbout)
        m_focusBeforeAbout->setFocus();
}

void Presence::exitNow()
{
    if (m_ended)
        return;
    // From here on no handler of this window does anything, the close of the window included.
    m_ended = true;
    m_trayIcon->hide();
    m_endOfRun();
}

void Presence::windowClosing(QCloseEvent *event)
{
    if (m_ended || m_closed) {
        event->accept();
        return;
    }
    // A disabled window takes no input, its close box included: while the about window is
    // open the main window stays, with its icon.
    if (!m_window.isEnabled()) {
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
