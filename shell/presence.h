// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>

#include <functional>

class Form2;
class QAction;
class QCloseEvent;
class QMainWindow;
class QMargins;
class QMenu;
class QSystemTrayIcon;
class QTimer;

// The main window's two presences, on the screen and as the notification icon: the
// placement at the top after start, the icon and its menu, hiding and showing, the about
// window, Exit and closing the window. Constructing it adds the icon and starts the one-shot
// placement: the window has its start-up size, its menus and its focus widget by then.
class Presence : public QObject
{
    Q_OBJECT

public:
    // The window's items this presence answers to; they belong to the window.
    struct Items
    {
        QMenu *tray = nullptr; // the icon's menu
        QAction *showf = nullptr;
        QAction *hidef = nullptr;
        QAction *about = nullptr;
        QAction *about1 = nullptr;
        QAction *exit = nullptr;
        QAction *exit1 = nullptr;
    };
    // Told the outer size and the frame the window has once it stands at the top.
    using Placed = std::function<void(const QSize &outer, const QMargins &frame)>;

    // searchBox: where the focus goes when the window is shown again. outerSize: the outer
    // size, frame included, start-up gave the window; empty without a screen.
    Presence(QMainWindow &window, QWidget *searchBox, const Items &items, QSize outerSize,
             Placed placed);
    ~Presence() override;

    QSystemTrayIcon *trayIcon() const { return m_trayIcon; }
    void setEndOfRun(std::function<void()> endOfRun);
    void bringForward();
    // The window's close event: accepted or ignored here.
    void windowClosing(QCloseEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addTrayIcon();
    void connectItems();
    void placeAtTop();
    void popUpTrayMenu();
    void hideToTray();
    void showFromTray();
    void mirrorVisibility();
    void openAbout();
    void aboutClosed();
    void exitNow();

    QMainWindow &m_window;
    QWidget *m_searchBox;
    Items m_items;
    QSize m_outerSize;
    Placed m_placed;

    QTimer *m_timer = nullptr; // Timer1 of the window's design
    QSystemTrayIcon *m_trayIcon = nullptr;
    QPointer<Form2> m_form2;
    // Where the focus was in the window when the about window disabled it.
    QPointer<QWidget> m_focusBeforeAbout;
    std::function<void()> m_endOfRun;
    bool m_ended = false;  // Exit ran: nothing more is handled
    bool m_closed = false; // the window was closed and the run ended
};
