// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colours/settingsfile.h"
#include "lookup/engine.h"
#include "shell/faces.h"
#include "shell/zoom.h"
#include "store/tables.h"

#include <QHash>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class CloseWordsLine;
class DisplayColours;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSystemTrayIcon;
class QTextEdit;
class Presence;
class Prompts;

// The main window, a view of the lookup engine and the colour settings. It owns every
// control of the dictionary; its handlers hand their events to lookup/ and colours/ and
// apply what comes back. Constructing it runs the start-up sequence, so it is ready to show.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    // programFolder: the folder the data set lies in ("source", "source1") and the settings
    // file beside it; the program passes its own folder.
    explicit Form1(const QString &programFolder, QWidget *parent = nullptr);
    ~Form1() override;

    const store::SymbolCells &symbolCells() const { return m_engine.symbolCells(); }
    const store::TagCells &tagCells() const { return m_engine.tagCells(); }
    QSystemTrayIcon *trayIcon() const;

    // How the run ends, after Exit or when the last window has closed; ends the
    // event loop unless replaced. Called at most once.
    void setEndOfRun(std::function<void()> endOfRun);

    // The layout is drawn for 96 dots per inch; twips per pixel of the window's screen.
    double twipsPerPixel() const;

    // Brings the window forward as Show does: restored, raised, active, the focus in the
    // search box; while the about window is open, that window instead. A later start of the
    // program asks the running one for this.
    void bringForward();

    // The questions and the colour dialog; message boxes and QColorDialog unless replaced.
    Prompts &prompts() const;
    void setPrompts(std::unique_ptr<Prompts> prompts);

    // The settings file of this run, chosen once at start.
    const colours::SettingsFile &settingsFile() const;

    // The zoom of the designed layout the window shows; at 1 it shows as designed.
    double zoomFactor() const { return m_zoom; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The steps of the start-up sequence, in the order the constructor takes them.
    void createMenus();
    void createControls();
    void createDefinitionBoxes(QWidget *client);
    void createSearchControls(QWidget *client);
    void createListAndCaptions(QWidget *client);
    // The tab order of the design, the focus in the search box, Enter for Search.
    void setTabOrderAndFocus();
    // A control of the design: its object name and its designed geometry.
    template <typename Control>
    Control *place(Control *control, const char *name, const QRect &design);
    // A font of the design, in the faces decided for what is installed.
    QFont designedFont(const QStringList &faces, qreal pointSize) const;
    // The window at its start-up size, centred on the screen; returns the outer size, frame
    // included, or an empty size without a screen.
    QSize sizeAndCentre();
    // The two data folders of the program folder are hidden.
    void hideDataFolders();
    void createColours();
    // The list font, and its face for the labels.
    void loadListFont();
    // The zoom kept beside the settings file, fitted to the room at start.
    void loadKeptZoom();
    void createPresence(const QSize &outerSize);

    // The outer size start-up gives the window, frame included: the screen's width and its
    // height less 380 twips. Empty without a screen.
    QSize startupOuterSize() const;
    // The room for the client area at that size in the work area, before the window manager
    // has framed the window.
    QSize startupRoom() const;

    // The zoom. Every control's designed geometry and font size are kept here, and the
    // controls show them times the factor: set a control's geometry or font size through
    // these, in the design's pixels and points.
    void setDesignGeometry(QWidget *control, const QRect &design);
    QRect designGeometry(QWidget *control) const;
    // design: the font at its designed size.
    void setDesignFont(QWidget *control, const QFont &design);
    QFont designFont(QWidget *control) const;
    void connectZoom();
    // The room for the client area in a window of the outer size outer whose frame takes
    // frame, below the menu bar.
    QSize clientRoom(const QSize &outer, const QMargins &frame) const;
    // The zoom for a client area of room: the kept one, as far as room allows, or the
    // start factor.
    void fitZoom(const QSize &room);
    void applyZoom(double factor);
    void zoomIn();
    void zoomOut();
    void zoomBack();
    void keepZoom(std::optional<int> percent);

    // The lookup: the search step on every change of rr, the list click and double click,
    // Search (Command1, also Enter); the focus of rr selects its text. Each hands its event
    // to m_engine and applies what comes back.
    void connectLookup();
    void applySearch(const lookup::SearchView &view);
    // The list's items anew, with nothing selected; refilling it is no click on it.
    void fillList(const QList<QByteArray> &items);
    // The line right of Search: shown while the search text matches nothing.
    void offerCloseWords(const lookup::SearchView &view);
    // A word of that line goes into the search box, as typing it would.
    void closeWordChosen(const QString &word);
    // The line reaches from its designed place to the right edge of the client area, where
    // the window is wider than the design at its zoom.
    void fitCloseWordsLine();
    // A text the engine put into the search box; its search step has run.
    void setSearchText(const QByteArray &text);
    void rrChange();
    void lClick();
    void lDblClick();
    void Command1Click();

    // The lookup modes: the "Search" menu's two radio items.
    void connectModes();
    // Checks the item of the mode the engine is in, and only that one.
    void checkModeItem();
    void clearList();
    // What a switch shows; false when the mode was on already and nothing changed.
    bool applyModeSwitch(const lookup::ModeView &view);
    void emptySearchBox(const lookup::ModeView &view);
    void applyModeLayout(lookup::Mode mode);
    void wordsClick();
    void idiomsClick();

    // What a screen reader is told: the names and descriptions of the controls, and a
    // tree of the controls that can be seen. The names follow the mode and the entry shown.
    void setUpAccessibility();
    void updateAccessibleNames();

    // Visible controls, named as in the window's design.
    QLineEdit *rr = nullptr;
    QPushButton *Command1 = nullptr;
    QListWidget *l = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label12 = nullptr;
    QTextEdit *rr1 = nullptr;
    QTextEdit *rr3 = nullptr;
    // Not in the design: the line of close words, in the free space right of Search.
    CloseWordsLine *m_closeWords = nullptr;

    // Menus and their items.
    QMenu *Vellumstack = nullptr;
    QAction *about = nullptr;
    QAction *exit = nullptr;
    QMenu *settings = nullptr;
    QMenu *Vocabulary = nullptr;
    QAction *vocabcolor = nullptr;
    QAction *vocabbackcolor = nullptr;
    QMenu *Definitions = nullptr;
    QAction *defincolor = nullptr;
    QAction *definbackcolor = nullptr;
    QAction *restore = nullptr;
    QMenu *Search = nullptr;
    QAction *words = nullptr;
    QAction *IdiomsandExpressions = nullptr;
    QMenu *tray = nullptr;
    QAction *showf = nullptr;
    QAction *hidef = nullptr;
    QAction *dlfkgjdlfkjgld = nullptr;
    QAction *about1 = nullptr;
    QAction *djgoie = nullptr;
    QAction *exit1 = nullptr;

    // The families installed, read once at start: no control asks for a missing face.
    faces::Installed m_installedFaces;

    struct Designed
    {
        QRect geometry;
        qreal pointSize = 0; // 0: the control's font is the platform's, not the design's
    };
    QHash<QWidget *, Designed> m_designed;
    double m_zoom = 1;
    double m_startZoom = 1;
    zoom::Range m_zoomRange{1, 1};
    // The zoom kept from the run before or chosen in this one, in percent; none: the start
    // factor.
    std::optional<int> m_keptZoom;

    std::unique_ptr<Presence> m_presence;

    std::unique_ptr<DisplayColours> m_colours;

    // The lookup: its state, the mode, the start-up tables, the captions and the definition.
    lookup::Engine m_engine;
};
