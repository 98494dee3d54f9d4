// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "shell/appresources.h"

#include "shell/closewordsline.h"
#include "shell/displaycolours.h"
#include "shell/placement.h"
#include "shell/presence.h"
#include "shell/prompts.h"
#include "shell/searchbox.h"
#include "shell/startup.h"
#include "shell/widgetcolour.h"

#include "platform/folderattributes.h"
#include "platform/regularfile.h"
#include "store/datafiles.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QTextEdit>
#include <QToolTip>

#include <algorithm>

namespace {

// The window's design size of its client area, in pixels.
constexpr QSize kDesignClientSize(1016, 714);

// Rows as high as the list font's line spacing, as a classic list box draws them: the 24
// lines of the word list fit the list with room to spare.
class LineSpacedRows : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(QFontMetrics(option.font).lineSpacing());
        return size;
    }
};

// A caption of index text may run into the next index line. The label shows its first line
// whole and nothing of the next: its text area ends below the first line, and the text is
// clipped there.
class CaptionLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::FontChange)
            fitToFirstLine();
        QLabel::changeEvent(event);
    }
    void resizeEvent(QResizeEvent *event) override
    {
        fitToFirstLine();
        QLabel::resizeEvent(event);
    }

private:
    void fitToFirstLine()
    {
        setContentsMargins(0, 0, 0, std::max(0, height() - fontMetrics().height()));
    }
};

// The Search button is the window's default button, and the window's style draws a default
// button with the highlighted outline that is its mark of the focus: a focused Search
// button looked exactly like one without the focus. The focus is shown as a dotted frame
// inside the button, as classic buttons show it.
class FocusFramedButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPushButton::paintEvent(event);
        if (!hasFocus())
            return;
        QStyleOptionButton option;
        initStyleOption(&option);
        const QRect frame = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }
};

QAction *menuItem(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QAction *separator(QMenu *menu, const char *name)
{
    QAction *action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu *subMenu(QWidget *parent, const char *name, const QString &caption)
{
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    return menu;
}

} // namespace

Form1::Form1(const QString &programFolder, QWidget *parent)
    : QMainWindow(parent), m_installedFaces(QFontDatabase::families()), m_engine(programFolder)
{
    initAppResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vellumstack"));
    setWindowIcon(QIcon(QStringLiteral(":/vellumstack/icon.png")));

    // The start-up sequence. The order matters where a step takes what an earlier one made:
    // - the controls are made at the zoom the screen starts with, so that no font is loaded
    //   at a size it is never shown at; the menu bar's height is part of the room;
    // - the settings file the colours choose is where the kept zoom lies beside it;
    // - the presence adds the notification icon with the tray menu and starts the placement
    //   at the top, which needs the outer size the window starts with.
    createMenus();
    m_zoom = zoom::startFactor(startupRoom());
    createControls();
    const QSize outerSize = sizeAndCentre();
    hideDataFolders();
    // The symbol cells and the tag cells, the tables of the decoder and the tag bracketing.
    m_engine.loadTables();
    createColours();
    loadListFont();
    loadKeptZoom();
    createPresence(outerSize);
    connectLookup();
    connectModes();
    connectZoom();
    setUpAccessibility();
}

Form1::~Form1() = default;

void Form1::createColours()
{
    const DisplayColours::Controls controls{
        l, rr1, rr3, vocabcolor, vocabbackcolor, defincolor, definbackcolor, restore};
    m_colours =
        std::make_unique<DisplayColours>(*this, m_engine.dataFolder().programFolder(), controls);
}

Prompts &Form1::prompts() const
{
    return m_colours->prompts();
}

void Form1::setPrompts(std::unique_ptr<Prompts> prompts)
{
    m_colours->setPrompts(std::move(prompts));
}

const colours::SettingsFile &Form1::settingsFile() const
{
    return m_colours->settingsFile();
}

void Form1::createPresence(const QSize &outerSize)
{
    const Presence::Items items{tray, showf, hidef, about, about1, exit, exit1};
    m_presence = std::make_unique<Presence>(*this, rr, items, outerSize,
                                            [this](const QSize &outer, const QMargins &frame) {
                                                // Now that the frame is known, the zoom fits the
                                                // room the window really has.
                                                fitZoom(clientRoom(outer, frame));
                                            });
}

QSystemTrayIcon *Form1::trayIcon() const
{
    return m_presence->trayIcon();
}

void Form1::setEndOfRun(std::function<void()> endOfRun)
{
    m_presence->setEndOfRun(std::move(endOfRun));
}

void Form1::bringForward()
{
    m_presence->bringForward();
}

void Form1::closeEvent(QCloseEvent *event)
{
    m_presence->windowClosing(event);
}

QSize Form1::startupOuterSize() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize();
    const double tpp = twipsPerPixel();
    const startup::TwipsSize size =
        startup::windowSizeTwips({startup::pixelsToTwips(screen->size().width(), tpp),
                                  startup::pixelsToTwips(screen->size().height(), tpp)});
    return QSize(startup::twipsToPixels(size.width, tpp), startup::twipsToPixels(size.height, tpp));
}

QSize Form1::startupRoom() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize();
    const QSize outer =
        placement::placedAtTop(QRect(), startupOuterSize(), screen->availableGeometry()).size();
    return clientRoom(outer, QMargins());
}

double Form1::twipsPerPixel() const
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return startup::kTwipsPerInch / (dpi > 0 ? dpi : 96.0);
}

void Form1::createControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->resize(kDesignClientSize);
    setCentralWidget(client);

    // Creation order is the stacking order, lowest first: rr3 under rr1, Label2 under Label12.
    createDefinitionBoxes(client);
    createSearchControls(client);
    createListAndCaptions(client);
    // The line of close words has the free space right of Search to itself: the designed
    // controls keep their places. Hidden until a search text matches nothing.
    m_closeWords = place(new CloseWordsLine(client), "closeWords", {697, 4, 311, 31});
    setDesignFont(m_closeWords, designedFont({QStringLiteral("Palatino Linotype")}, 11.25));
    m_closeWords->hide();
    setTabOrderAndFocus();
}

template <typename Control>
Control *Form1::place(Control *control, const char *name, const QRect &design)
{
    control->setObjectName(QLatin1String(name));
    setDesignGeometry(control, design);
    return control;
}

QFont Form1::designedFont(const QStringList &faces, qreal pointSize) const
{
    QFont font;
    font.setFamilies(faces::decided(faces, m_installedFaces));
    font.setPointSizeF(pointSize);
    return font;
}

void Form1::createDefinitionBoxes(QWidget *client)
{
    rr3 = place(new QTextEdit(client), "rr3", {216, 72, 800, 650});
    rr3->setReadOnly(true);
    rr3->setFocusPolicy(Qt::NoFocus); // its background is the system's window background

    rr1 = place(new QTextEdit(client), "rr1", {216, 72, 800, 650});
    rr1->setAcceptRichText(false);
    rr1->setReadOnly(true);
    // "Tahoma" with the Arabic character set: where the face is missing, its Arabic comes
    // from Noto Sans Arabic when that is installed, not from whichever face the platform
    // would pick for Arabic.
    setDesignFont(
        rr1, designedFont({QStringLiteral("Tahoma"), QStringLiteral("Noto Sans Arabic")}, 14.25));
    // Words mode: a definition's paragraphs read right to left, as its Arabic does, from the
    // right edge of the box. The side is absolute; a right-to-left paragraph would otherwise
    // take "right" for its trailing edge, the left one. Only the layout changes: the text,
    // a copy of it and what a screen reader reads stay in their logical order.
    QTextOption readingOrder = rr1->document()->defaultTextOption();
    readingOrder.setTextDirection(Qt::RightToLeft);
    readingOrder.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    rr1->document()->setDefaultTextOption(readingOrder);
}

void Form1::createSearchControls(QWidget *client)
{
    rr = place(new SearchBox(client), "rr", {8, 4, 577, 31});
    setDesignFont(rr, designedFont({QStringLiteral("Palatino Linotype")}, 15.75));
    setPaletteColour(rr, QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));

    Command1 = place(new FocusFramedButton(QStringLiteral("Search"), client), "Command1",
                     {600, 8, 89, 25});
    setDesignFont(Command1, designedFont({QStringLiteral("Times New Roman")}, 14.25));
    Command1->setDefault(true);
}

void Form1::createListAndCaptions(QWidget *client)
{
    l = place(new QListWidget(client), "l", {0, 40, 217, 652});
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setSortingEnabled(false);
    l->setItemDelegate(new LineSpacedRows(l));
    l->setUniformItemSizes(true);
    setDesignFont(l, designedFont({QStringLiteral("Palatino Linotype")}, 15));
    setPaletteColour(l, QPalette::Base, QColor(255, 255, 192));

    const QFont labelFont = designedFont({QStringLiteral("Palatino Linotype")}, 15.75);
    Label1 = place(new QLabel(QStringLiteral("  Definitions for:"), client), "Label1",
                   {216, 40, 153, 33});
    Label2 = place(new CaptionLabel(client), "Label2", {368, 40, 657, 33});
    Label12 = place(new CaptionLabel(client), "Label12", {368, 40, 657, 33});
    for (QLabel *label : {Label1, Label2, Label12}) {
        setDesignFont(label, labelFont);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

void Form1::setTabOrderAndFocus()
{
    // Tab order of the design: rr, l, Command1, Label1, Label12, rr1, Label2, rr3; the words of
    // the close-words line, when it is shown, come after Search, beside which it stands.
    setTabOrder(rr, l);
    setTabOrder(l, Command1);
    setTabOrder(Command1, m_closeWords);
    setTabOrder(m_closeWords, rr1);
    // The search box is the first stop: it has the focus when the window first becomes
    // active. The tab ring alone does not make it so. A window that becomes active without
    // a focus widget gives the focus to the first widget of its focus chain that takes it,
    // and that is rr1, created before rr so as to lie above its backdrop;
    // setTabOrder(Command1, rr1) leaves it there, since around the ring nothing that takes
    // the focus stands between the two. The first keys typed would go into the read-only
    // definition box.
    rr->setFocus();

    // The default button: Enter anywhere in the window but in a multi-line box clicks Search.
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto *enter = new QShortcut(key, this);
        connect(enter, &QShortcut::activated, Command1, &QPushButton::click);
    }
}

void Form1::createMenus()
{
    // Every caption underlines one letter, its access key: Alt and the letter opens a menu of
    // the bar, the letter alone picks an item of an open menu. No two items of a menu share
    // a letter. F10 opens the first menu.
    QMenuBar *bar = menuBar();

    Vellumstack = subMenu(this, "Vellumstack", QStringLiteral("&Vellumstack"));
    about = menuItem(Vellumstack, "about", QStringLiteral("&About"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    exit = menuItem(Vellumstack, "exit", QStringLiteral("E&xit"));
    bar->addMenu(Vellumstack);

    settings = subMenu(this, "settings", QStringLiteral("&Settings"));
    Vocabulary = subMenu(settings, "Vocabulary", QStringLiteral("&Vocabulary"));
    vocabcolor = menuItem(Vocabulary, "vocabcolor", QStringLiteral("&Color"));
    vocabbackcolor = menuItem(Vocabulary, "vocabbackcolor", QStringLiteral("&Backcolor"));
    settings->addMenu(Vocabulary);
    Definitions = subMenu(settings, "Definitions", QStringLiteral("&Definitions"));
    defincolor = menuItem(Definitions, "defincolor", QStringLiteral("&Color"));
    definbackcolor = menuItem(Definitions, "definbackcolor", QStringLiteral("&Backcolor"));
    settings->addMenu(Definitions);
    restore = menuItem(settings, "restore", QStringLiteral("&Restore"));
    bar->addMenu(settings);

    Search = subMenu(this, "Search", QStringLiteral("Sea&rch"));
    words = menuItem(Search, "words", QStringLiteral("&Words"));
    words->setCheckable(true);
    words->setChecked(true);
    IdiomsandExpressions =
        menuItem(Search, "IdiomsandExpressions", QStringLiteral("&Idioms and Expressions"));
    IdiomsandExpressions->setCheckable(true);
    bar->addMenu(Search);
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, bar,
            [bar] { bar->setActiveAction(bar->actions().front()); });

    // The tray menu is a menu of the window that never stands in the menu bar; it is only
    // popped up from the notification icon.
    tray = subMenu(this, "tray", QStringLiteral("Tray Menu"));
    showf = menuItem(tray, "showf", QStringLiteral("&Show"));
    showf->setEnabled(false);
    hidef = menuItem(tray, "hidef", QStringLiteral("&Hide"));
    dlfkgjdlfkjgld = separator(tray, "dlfkgjdlfkjgld");
    about1 = menuItem(tray, "about1", QStringLiteral("&About"));
    djgoie = separator(tray, "djgoie");
    exit1 = menuItem(tray, "exit1", QStringLiteral("E&xit"));
}

QSize Form1::sizeAndCentre()
{
    // The window takes the screen's width and its height less 380 twips.
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize();
    // The size is the outer one, frame included. A window manager frames the window only
    // once it is shown; until then it has no frame, and the placement at the top takes the
    // frame off the size once it is known.
    const QSize outerSize = startupOuterSize();
    resize(outerSize);
    // The window is first shown where its design puts it, centred on the screen at the size
    // it now has; the placement at the top then moves it to the top edge.
    QRect placed(QPoint(0, 0), this->size());
    placed.moveCenter(screen->geometry().center());
    move(placed.topLeft());
    return outerSize;
}

void Form1::hideDataFolders()
{
    // The program folder was recorded by the constructor; every data path starts with it.
    const QString &programFolder = m_engine.dataFolder().programFolder();
    platform::markHiddenSystem(programFolder, store::datafiles::kListFolder.toString());
    platform::markHiddenSystem(programFolder, store::datafiles::kIndexFolder.toString());
}

void Form1::loadKeptZoom()
{
    // The zoom the run before kept, or the largest that shows the design whole on this
    // screen. The frame is not known until the window manager has framed the window; the
    // placement at the top fits the zoom again once it is.
    if (const std::optional<QByteArray> kept =
            platform::readRegularFile(zoom::keptPath(settingsFile().path()), zoom::kKeptFileCap))
        m_keptZoom = zoom::parseKept(*kept);
    fitZoom(startupRoom());
}

void Form1::loadListFont()
{
    // The face the platform takes for a choice is the face itself where it is installed,
    // and another where it is not: the choice is made on the installed families, and a
    // missing face is never asked for.
    QFont font = startup::chooseListFont(l->font(), [this](const QFont &candidate) {
        return m_installedFaces.has(candidate.family()) ? candidate.family() : QString();
    });
    font.setFamilies(faces::decided(font.families(), m_installedFaces));
    setDesignFont(l, font);
    QRect list = designGeometry(l);
    list.setHeight(startup::kListHeight);
    setDesignGeometry(l, list);

    // The face the list now shows, for the labels. Where the family decided for the list is
    // listed under its own name, that is the name the platform reads back, and it is taken
    // as it stands: reading back loads the list font, which the empty list does not need
    // until the first search fills it. Otherwise the platform chose, and is asked.
    const QString decidedFace = font.families().value(0);
    const QString face =
        m_installedFaces.listedAsIs(decidedFace) ? decidedFace : QFontInfo(l->font()).family();
    for (QLabel *label : {Label1, Label12, Label2, static_cast<QLabel *>(m_closeWords)}) {
        QFont labelFont = designFont(label);
        labelFont.setFamilies(QStringList{face});
        setDesignFont(label, labelFont);
    }
}
