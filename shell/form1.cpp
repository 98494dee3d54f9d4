#include "form1.h"

#include "shell/appresources.h"

#include "shell/form2.h"
#include "shell/prompts.h"
#include "shell/startup.h"

#include "colours/colourvalue.h"
#include "colours/settingslocation.h"
#include "platform/folderattributes.h"
#include "platform/paths.h"
#include "store/tables.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>

#include <functional>

namespace {

// The window's design size of its client area, in pixels.
constexpr QSize kDesignClientSize(1016, 714);

QFont designFont(const QString &face, qreal pointSize)
{
    QFont font(face);
    font.setPointSizeF(pointSize);
    return font;
}

template <typename Widget> Widget *place(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

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
    : QMainWindow(parent), m_programFolder(programFolder)
{
    initAppResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vellumstack"));
    setWindowIcon(QIcon(QStringLiteral(":/vellumstack/icon.png")));

    createControls();
    createMenus();
    connectColours();
    load();
    connectPresence();
    connectLookup();
    connectModes();
}

Form1::~Form1()
{
    // The about window has no parent; it goes with this window.
    delete m_form2;
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
    rr3 = place(new QTextEdit(client), "rr3", {216, 72, 800, 650});
    rr3->setReadOnly(true);
    rr3->setFocusPolicy(Qt::NoFocus); // its background is the system's window background

    rr1 = place(new QTextEdit(client), "rr1", {216, 72, 800, 650});
    rr1->setAcceptRichText(false);
    rr1->setReadOnly(true);
    rr1->setFont(designFont(QStringLiteral("Tahoma"), 14.25));
    QTextOption rightAligned = rr1->document()->defaultTextOption();
    rightAligned.setAlignment(Qt::AlignRight);
    rr1->document()->setDefaultTextOption(rightAligned);

    rr = place(new QLineEdit(client), "rr", {8, 4, 577, 31});
    rr->setFont(designFont(QStringLiteral("Palatino Linotype"), 15.75));
    setColour(rr, QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));

    Command1 =
        place(new QPushButton(QStringLiteral("Search"), client), "Command1", {600, 8, 89, 25});
    Command1->setFont(designFont(QStringLiteral("Times New Roman"), 14.25));
    Command1->setDefault(true);

    l = place(new QListWidget(client), "l", {0, 40, 217, 652});
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setSortingEnabled(false);
    l->setFont(designFont(QStringLiteral("Palatino Linotype"), 15));
    setColour(l, QPalette::Base, QColor(255, 255, 192));

    const QFont labelFont = designFont(QStringLiteral("Palatino Linotype"), 15.75);
    Label1 = place(new QLabel(QStringLiteral("  Definitions for:"), client), "Label1",
                   {216, 40, 153, 33});
    Label2 = place(new QLabel(client), "Label2", {368, 40, 657, 33});
    Label12 = place(new QLabel(client), "Label12", {368, 40, 657, 33});
    for (QLabel *label : {Label1, Label2, Label12}) {
        label->setFont(labelFont);
        label->setTextFormat(Qt::PlainText);
        // A caption of index text may run into the next index line: the label shows its
        // first line and clips the rest.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

    // Tab order of the design: rr, l, Command1, Label1, Label12, rr1, Label2, rr3.
    setTabOrder(rr, l);
    setTabOrder(l, Command1);
    setTabOrder(Command1, rr1);

    // The default button: Enter anywhere in the window but in a multi-line box clicks Search.
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto *enter = new QShortcut(key, this);
        connect(enter, &QShortcut::activated, Command1, &QPushButton::click);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
}

void Form1::createMenus()
{
    QMenuBar *bar = menuBar();

    Vellumstack = subMenu(this, "Vellumstack", QStringLiteral("Vellumstack"));
    about = menuItem(Vellumstack, "about", QStringLiteral("About"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    exit = menuItem(Vellumstack, "exit", QStringLiteral("Exit"));
    bar->addMenu(Vellumstack);

    settings = subMenu(this, "settings", QStringLiteral("Settings"));
    Vocabulary = subMenu(settings, "Vocabulary", QStringLiteral("Vocabulary"));
    vocabcolor = menuItem(Vocabulary, "vocabcolor", QStringLiteral("Color"));
    vocabbackcolor = menuItem(Vocabulary, "vocabbackcolor", QStringLiteral("Backcolor"));
    settings->addMenu(Vocabulary);
    Definitions = subMenu(settings, "Definitions", QStringLiteral("Definitions"));
    defincolor = menuItem(Definitions, "defincolor", QStringLiteral("Color"));
    definbackcolor = menuItem(Definitions, "definbackcolor", QStringLiteral("Backcolor"));
    settings->addMenu(Definitions);
    restore = menuItem(settings, "restore", QStringLiteral("Restore"));
    bar->addMenu(settings);

    Search = subMenu(this, "Search", QStringLiteral("Search"));
    words = menuItem(Search, "words", QStringLiteral("Words"));
    words->setCheckable(true);
    words->setChecked(true);
    IdiomsandExpressions =
        menuItem(Search, "IdiomsandExpressions", QStringLiteral("Idioms and Expressions"));
    IdiomsandExpressions->setCheckable(true);
    bar->addMenu(Search);

    // The tray menu is a menu of the window that never stands in the menu bar; it is only
    // popped up from the notification icon.
    tray = subMenu(this, "tray", QStringLiteral("Tray Menu"));
    showf = menuItem(tray, "showf", QStringLiteral("Show"));
    showf->setEnabled(false);
    hidef = menuItem(tray, "hidef", QStringLiteral("Hide"));
    dlfkgjdlfkjgld = separator(tray, "dlfkgjdlfkjgld");
    about1 = menuItem(tray, "about1", QStringLiteral("About"));
    djgoie = separator(tray, "djgoie");
    exit1 = menuItem(tray, "exit1", QStringLiteral("Exit"));
}

void Form1::load()
{
    // 1. Window size: the screen's width, its height less 380 twips.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const double tpp = twipsPerPixel();
        const startup::TwipsSize size =
            startup::windowSizeTwips({startup::pixelsToTwips(screen->size().width(), tpp),
                                      startup::pixelsToTwips(screen->size().height(), tpp)});
        resize(startup::twipsToPixels(size.width, tpp), startup::twipsToPixels(size.height, tpp));
    }

    // 2. The program folder was recorded by the constructor; every data path starts with it.

    // 3. Hide the two data folders.
    platform::markHiddenSystem(m_programFolder, QStringLiteral("source"));
    platform::markHiddenSystem(m_programFolder, QStringLiteral("source1"));

    // 4. and 5. The symbol cells and the tag cells; a missing or short table leaves the
    // cells it does not reach as they were created (empty).
    store::loadTable(platform::dataPath(m_programFolder, u"\\source\\alf.dll"), m_symbolCells);
    store::loadTable(platform::dataPath(m_programFolder, u"\\source\\sp.dll"), m_tagCells);

    // 6. The stored colours.
    loadStoredColours();

    // 7. and 8. The list font, and its face for the three labels.
    loadListFont();

    // 9. The notification icon. Without a notification area the window opens all the same.
    // The icon is added once; on X11 Qt then puts it into whichever notification area
    // there is, also one that starts later or restarts, so a hidden window stays reachable.
    m_trayIcon = new QSystemTrayIcon(windowIcon(), this);
    m_trayIcon->setToolTip(QStringLiteral("Vellumstack"));
    if (QSystemTrayIcon::isSystemTrayAvailable() || QGuiApplication::platformName() == u"xcb")
        m_trayIcon->show();
}

void Form1::loadListFont()
{
    const QFont font = startup::chooseListFont(l->font(), [this](const QFont &candidate) {
        l->setFont(candidate);
        return QFontInfo(l->font()).family();
    });
    l->setFont(font);
    l->resize(l->width(), startup::kListHeight);

    const QString face = QFontInfo(l->font()).family();
    for (QLabel *label : {Label1, Label12, Label2}) {
        QFont labelFont = label->font();
        labelFont.setFamilies(QStringList{face});
        label->setFont(labelFont);
    }
}

// Display colours ------------------------------------------------------------------------

namespace {

// Reports every mouse button pressed on a widget, and swallows the right button: on the
// definition box it is the colour shortcut, not the text box's context menu.
class ButtonPressWatcher : public QObject
{
public:
    ButtonPressWatcher(QWidget *watched, std::function<void(Qt::MouseButton)> pressed)
        : QObject(watched), m_pressed(std::move(pressed))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ContextMenu)
            return true;
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        m_pressed(button);
        return button == Qt::RightButton;
    }

private:
    std::function<void(Qt::MouseButton)> m_pressed;
};

} // namespace

void Form1::setPrompts(std::unique_ptr<Prompts> prompts)
{
    m_prompts = std::move(prompts);
}

void Form1::connectColours()
{
    m_prompts = std::make_unique<MessageBoxPrompts>(this);

    using colours::Setting;
    connect(vocabcolor, &QAction::triggered, this, [this] { chooseColour(Setting::ListText); });
    connect(vocabbackcolor, &QAction::triggered, this,
            [this] { chooseColour(Setting::ListBackground); });
    connect(defincolor, &QAction::triggered, this,
            [this] { chooseColour(Setting::DefinitionText); });
    connect(definbackcolor, &QAction::triggered, this,
            [this] { chooseColour(Setting::DefinitionBackground); });
    connect(restore, &QAction::triggered, this, &Form1::restoreColours);
    // A text box takes its mouse presses on its viewport.
    new ButtonPressWatcher(rr1->viewport(),
                           [this](Qt::MouseButton button) { definitionBoxPressed(button); });
}

void Form1::loadStoredColours()
{
    // One settings file serves the whole run: the program folder's when it can be written
    // there, otherwise the user's own, so that a chosen colour is still there next start.
    m_settingsFile = colours::SettingsFile(
        colours::chooseSettingsPath(m_programFolder, colours::userSettingsFolder()));
    m_settingsFile.ensureExists();

    // Each record on its own: an unusable one leaves its colour as designed.
    const colours::StoredColours stored = m_settingsFile.read();
    for (colours::Setting setting : colours::AllSettings) {
        if (const std::optional<QColor> &colour = stored[colours::recordNumber(setting) - 1])
            applyColour(setting, *colour);
    }
    // The backdrop under the definition box takes the definitions background at start only.
    const int backdrop = colours::recordNumber(colours::Setting::DefinitionBackground);
    if (const std::optional<QColor> &colour = stored[backdrop - 1])
        setColour(rr3, QPalette::Base, *colour);
}

void Form1::applyColour(colours::Setting setting, const QColor &colour)
{
    const bool onList =
        setting == colours::Setting::ListText || setting == colours::Setting::ListBackground;
    setColour(onList ? static_cast<QWidget *>(l) : rr1, colours::paletteRole(setting), colour);
}

void Form1::chooseColour(colours::Setting setting)
{
    if (!m_settingsFile.ensureExists())
        return;
    const std::optional<QColor> colour = m_prompts->chooseColour();
    if (!colour)
        return; // cancelled: nothing applied, nothing stored
    // Shown at once; it stays shown even if storing it fails.
    applyColour(setting, *colour);
    m_settingsFile.store(setting, *colour);
}

void Form1::restoreColours()
{
    if (!m_settingsFile.ensureExists())
        return;
    if (!m_prompts->ask(Question::RestoreSettings))
        return;
    if (!m_settingsFile.storeRestoreValues())
        return;
    // rr3 keeps its colour until the next start reads the restored file.
    for (colours::Setting setting : colours::AllSettings)
        applyColour(setting, colours::toColor(colours::restoreValue(setting)));
}

void Form1::definitionBoxPressed(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    if (m_prompts->ask(Question::ChangeColour))
        chooseColour(colours::Setting::DefinitionText);
}

// Notification icon, window visibility and shutdown -------------------------------------

void Form1::setEndOfRun(std::function<void()> endOfRun)
{
    m_endOfRun = std::move(endOfRun);
}

void Form1::connectPresence()
{
    m_endOfRun = [] { QCoreApplication::exit(0); };

    // The icon's context request (the right button) alone opens the tray menu; a click, a
    // double click or a middle click on the icon does nothing. The menu is deliberately not
    // the icon's own context menu, so that this is the one way it opens.
    connect(m_trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Context)
                    popUpTrayMenu();
            });
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
    // Only the top edge moves; the left edge and the size stay, and the timer never runs
    // again, so a window the user moves afterwards stays where it was put.
    move(x(), 0);
    Timer1->stop();
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
    mirrorVisibility();
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

    // Disabled, not hidden: a hidden window stays hidden. The tray menu is a child of this
    // window and would go disabled with it; it stays usable so that Show, Hide and Exit are
    // still reachable while the about window is open.
    setEnabled(false);
    tray->setEnabled(true);
}

void Form1::aboutClosed()
{
    if (m_ended)
        return;
    setEnabled(true);
    // Closed while the about window was open: that window was the last one.
    if (m_closed)
        m_endOfRun();
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
    // The close is never refused.
    event->accept();
    if (m_ended || m_closed)
        return;
    m_closed = true;
    m_trayIcon->hide();
    // The run ends with the last window; an open about window still holds it.
    if (!m_form2)
        m_endOfRun();
}
