// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptedwindow.h"
#include "support/testfiles.h"
#include "support/warnings.h"

#include "shell/faces.h"
#include "shell/form1.h"
#include "shell/form2.h"
#include "shell/startup.h"
#include "shell/zoom.h"

#include "colours/settingslocation.h"
#include "platform/folderattributes.h"

#include <QAction>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTextLayout>

#include <memory>

namespace {

// A menu as the user reads it: "Title[item, item]", a submenu in brackets of its own, a
// separator as "-", a checked item marked " *", a disabled one " (off)", a shortcut after it.
QString outline(const QMenu *menu)
{
    QStringList items;
    for (const QAction *action : menu->actions()) {
        // The caption as it reads, without the mark of its access key.
        QString item = action->isSeparator() ? QStringLiteral("-")
                       : action->menu()      ? outline(action->menu())
                                             : action->iconText();
        if (action->isChecked())
            item += QStringLiteral(" *");
        if (!action->isEnabled())
            item += QStringLiteral(" (off)");
        if (!action->shortcut().isEmpty())
            item += u' ' + action->shortcut().toString();
        items << item;
    }
    return menu->menuAction()->iconText() + u'[' + items.join(QStringLiteral(", ")) + u']';
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void windowSizeFromScreen_data();
    void windowSizeFromScreen();
    void startsCentredOnScreen();
    void listFontFallback_data();
    void listFontFallback();
    void decidedFaces_data();
    void decidedFaces();
    void facesListedAsIs_data();
    void facesListedAsIs();
    void controlsShowTheFacesAsBefore_data();
    void controlsShowTheFacesAsBefore();
    void noControlAsksForAMissingFace();

    void windowShows_data();
    void windowShows();
    void enterInSearchBoxClicksSearch();
    void stackingOfSharedRectangles();
    void labelsTakeListFace();
    void captionsFitTheirControls();
    void definitionArabicFace();
    void listRowsFitWithoutScrollBar_data();
    void listRowsFitWithoutScrollBar();

    void startUpFillsTablesAndHidesFolders();
    void startUpWithoutDataOpensAllTheSame();
    void startUpInInstalledFolderWritesNothing_data();
    void startUpInInstalledFolderWritesNothing();

    void aboutWindowShowsPictureAtOwnSize();
};

void TestShell::init()
{
    testsupport::failOnWarnings();
}

void TestShell::windowSizeFromScreen_data()
{
    QTest::addColumn<int>("screenWidthPixels");
    QTest::addColumn<int>("screenHeightPixels");
    QTest::addColumn<double>("twipsPerPixel");
    QTest::addColumn<int>("widthTwips");
    QTest::addColumn<int>("heightTwips");

    QTest::newRow("1024 x 768 at 96 dpi") << 1024 << 768 << 15.0 << 15360 << 11140;
    QTest::newRow("1920 x 1080 at 96 dpi") << 1920 << 1080 << 15.0 << 28800 << 15820;
    QTest::newRow("2560 x 1440 at 192 dpi") << 2560 << 1440 << 7.5 << 19200 << 10420;
}

void TestShell::windowSizeFromScreen()
{
    QFETCH(int, screenWidthPixels);
    QFETCH(int, screenHeightPixels);
    QFETCH(double, twipsPerPixel);
    QFETCH(int, widthTwips);
    QFETCH(int, heightTwips);

    const startup::TwipsSize size =
        startup::windowSizeTwips({startup::pixelsToTwips(screenWidthPixels, twipsPerPixel),
                                  startup::pixelsToTwips(screenHeightPixels, twipsPerPixel)});
    QCOMPARE(size, (startup::TwipsSize{widthTwips, heightTwips}));
    // The 380 twips come off the height in whole pixels at 96 dpi: 25.33 pixels round to 25.
    if (twipsPerPixel == 15.0)
        QCOMPARE(startup::twipsToPixels(size.height, twipsPerPixel), screenHeightPixels - 25);
}

void TestShell::startsCentredOnScreen()
{
    QTemporaryDir dir;
    Form1 window(dir.path());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // Whole pixels: an odd difference in size leaves the window half a pixel off centre.
    const QPoint offset = window.geometry().center() - screen.center();
    QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
             qPrintable(QStringLiteral("off centre by %1, %2").arg(offset.x()).arg(offset.y())));
}

void TestShell::listFontFallback_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<int>("readBacks");

    QTest::newRow("Palatino installed")
        << QStringList{"Palatino Linotype", "Andalus"} << "Palatino Linotype" << false << 16 << 1;
    QTest::newRow("only Andalus") << QStringList{"Andalus"} << "Andalus" << true << 13 << 2;
    QTest::newRow("neither: Times New Roman")
        << QStringList{} << "Times New Roman" << false << 17 << 2;
    QTest::newRow("face matched exactly, not by case")
        << QStringList{"palatino linotype"} << "Times New Roman" << false << 17 << 2;
    // A family installed from two foundries reads back with the foundry in brackets.
    QTest::newRow("Palatino from two foundries is still Palatino")
        << QStringList{"Palatino Linotype [LINO]"} << "Palatino Linotype" << false << 16 << 1;
    QTest::newRow("Andalus from two foundries is still Andalus")
        << QStringList{"Andalus [urw]"} << "Andalus" << true << 13 << 2;
}

void TestShell::listFontFallback()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, face);
    QFETCH(bool, bold);
    QFETCH(int, pointSize);
    QFETCH(int, readBacks);

    int asked = 0;
    const QFont font = startup::chooseListFont(QFont(), [&](const QFont &candidate) {
        ++asked;
        // A platform substitutes a face it does not have and reports the substitute.
        for (const QString &name : installed)
            if (name == candidate.family() ||
                name.startsWith(candidate.family() + QLatin1String(" [")))
                return name;
        return QStringLiteral("Substitute Serif");
    });
    QCOMPARE(font.family(), face);
    QCOMPARE(font.bold(), bold);
    QVERIFY(!font.italic());
    QCOMPARE(font.pointSize(), pointSize);
    QCOMPARE(asked, readBacks);
}

void TestShell::decidedFaces_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QStringList>("designed");
    QTest::addColumn<QStringList>("asked");

    const QStringList palatino{"Palatino Linotype"};
    QTest::newRow("installed: itself")
        << QStringList{"Palatino Linotype", "P052"} << palatino << palatino;
    QTest::newRow("missing: its metric twin")
        << QStringList{"P052"} << palatino << QStringList{"P052"};
    QTest::newRow("a twin from two foundries counts")
        << QStringList{"P052 [urw]", "P052 [UKWN]"} << palatino << QStringList{"P052"};
    QTest::newRow("twins in the configuration's order: Tinos before Liberation Serif")
        << QStringList{"Liberation Serif", "Tinos"} << QStringList{"Times New Roman"}
        << QStringList{"Tinos"};
    QTest::newRow("the last twin")
        << QStringList{"TeX Gyre Termes"} << QStringList{"Times New Roman"}
        << QStringList{"TeX Gyre Termes"};
    QTest::newRow("spelt otherwise is not installed")
        << QStringList{"palatino linotype"} << palatino << palatino;
    QTest::newRow("a face without twins gives way to the next designed one")
        << QStringList{"Noto Sans Arabic"} << QStringList{"Tahoma", "Noto Sans Arabic"}
        << QStringList{"Noto Sans Arabic"};
    QTest::newRow("nothing installed: the design, for the platform to choose")
        << QStringList{"DejaVu Sans"} << QStringList{"Tahoma", "Noto Sans Arabic"}
        << QStringList{"Tahoma", "Noto Sans Arabic"};
    QTest::newRow("a name with a bracket of its own")
        << QStringList{"Odd [Face"} << QStringList{"Odd [Face"} << QStringList{"Odd [Face"};
}

void TestShell::decidedFaces()
{
    QFETCH(QStringList, installed);
    QFETCH(QStringList, designed);
    QFETCH(QStringList, asked);
    QCOMPARE(faces::decided(designed, faces::Installed(installed)), asked);
}

void TestShell::facesListedAsIs_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("listedAsIs");

    QTest::newRow("one foundry") << QStringList{"P052", "Liberation Serif"} << "P052" << true;
    QTest::newRow("two foundries: read back with the one taken")
        << QStringList{"P052 [urw]", "P052 [UKWN]"} << "P052" << false;
    QTest::newRow("missing") << QStringList{"P052"} << "Palatino Linotype" << false;
    QTest::newRow("spelt otherwise") << QStringList{"P052"} << "p052" << false;
}

void TestShell::facesListedAsIs()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, face);
    QFETCH(bool, listedAsIs);
    QCOMPARE(faces::Installed(installed).listedAsIs(face), listedAsIs);
}

void TestShell::controlsShowTheFacesAsBefore_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QFont>("designed"); // as the design names it; the platform substitutes

    const auto font = [](const QStringList &families, qreal points) {
        QFont font;
        font.setFamilies(families);
        font.setPointSizeF(points);
        return font;
    };
    // The list font as the platform chose it: each choice read back through the platform.
    const QFont list = startup::chooseListFont(
        QFont(), [](const QFont &candidate) { return QFontInfo(candidate).family(); });
    QTest::newRow("search box") << "rr" << font({"Palatino Linotype"}, 15.75);
    QTest::newRow("Search button") << "Command1" << font({"Times New Roman"}, 14.25);
    QTest::newRow("list") << "l" << list;
    for (const char *label : {"Label1", "Label12", "Label2"})
        QTest::newRow(label) << label << font({QFontInfo(list).family()}, 15.75);
    QTest::newRow("definition box") << "rr1" << font({"Tahoma", "Noto Sans Arabic"}, 14.25);
}

void TestShell::controlsShowTheFacesAsBefore()
{
    QFETCH(QString, control);
    QFETCH(QFont, designed);
#ifdef Q_OS_WIN
    // The faces of the design are the system's own there; the look-alikes stand in only
    // where the platform's font matching took them before (fontconfig).
    QSKIP("the platform's font matching has no look-alikes to compare with on this system");
#endif

    QTemporaryDir dir;
    Form1 window(dir.path());
    auto *widget = window.findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(QFontInfo(widget->font()).family(), QFontInfo(designed).family());
    QCOMPARE(QFontInfo(widget->font()).bold(), QFontInfo(designed).bold());

    // Also for the characters the face lacks: Latin and digits in the Arabic face, Arabic
    // in the Latin ones, each drawn from the same fallback face as before.
    for (const QString &text : {QStringLiteral("Antidotal (n.) 1. 2."),
                                QStringLiteral("\u0627\u0644\u0644\u0648\u0646 1.")}) {
        const auto faces = [&](const QFont &font) {
            QTextLayout layout(text, font);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            QStringList names;
            for (const QGlyphRun &run : layout.glyphRuns())
                names << run.rawFont().familyName();
            names.sort();
            return names;
        };
        QCOMPARE(faces(widget->font()), faces(designed));
    }
}

void TestShell::noControlAsksForAMissingFace()
{
    // Where the design's faces or their twins are installed, as here, no control names a
    // face that the platform would have to look for among all its fonts.
    const faces::Installed installed(QFontDatabase::families());
    QTemporaryDir dir;
    Form1 window(dir.path());
    for (const char *name : {"rr", "Command1", "l", "Label1", "Label12", "Label2", "rr1"}) {
        const QFont font = window.findChild<QWidget *>(QLatin1String(name))->font();
        for (const QString &family : font.families()) {
            if (faces::decided({family}, installed) == QStringList{family} &&
                !installed.has(family))
                QSKIP("neither the design's face nor a twin of it is installed here");
            QVERIFY2(installed.has(family),
                     qPrintable(QStringLiteral("%1 asks for %2").arg(QLatin1String(name), family)));
        }
    }
}

void TestShell::windowShows_data()
{
    QTest::addColumn<QStringList>("steps"); // menu items chosen, by name
    QTest::addColumn<QString>("menus");     // the menu bar, then the tray menu
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("questions");

    const QString bar = QStringLiteral("Vellumstack[About F1, Exit] "
                                       "Settings[Vocabulary[Color, Backcolor], "
                                       "Definitions[Color, Backcolor], Restore] ");
    const QString wordsMode = QStringLiteral("Search[Words *, Idioms and Expressions]");
    const QString trayShown = QStringLiteral(" | Tray Menu[Show (off), Hide, -, About, -, Exit]");
    // Start-up leaves the boxes where the design put them, one pixel over the list; the
    // words layout puts them where the list ends.
    const QString startLayout =
        QStringLiteral("l 217x800, rr1 216+800 right to left at the right, rr3 216+800, "
                       "Label2 368, Label12 368, Label1 shown");
    const QString wordsLayout =
        QStringLiteral("l 217x800, rr1 217+800 right to left at the right, rr3 217+800, "
                       "Label2 368, Label12 368, Label1 shown");
    QTest::newRow("after start-up: words mode, Hide offered")
        << QStringList{} << bar + wordsMode + trayShown << startLayout << 0;
    QTest::newRow("idioms mode: wider list, left-aligned definitions, no heading")
        << QStringList{"IdiomsandExpressions"}
        << bar + "Search[Words, Idioms and Expressions *]" + trayShown
        << "l 450x670, rr1 450+590 left to right at the left, rr3 450+590, Label2 450, "
           "Label12 450, Label1 hidden"
        << 1;
    QTest::newRow("back in words mode: as after start-up")
        << QStringList{"IdiomsandExpressions", "words"} << bar + wordsMode + trayShown
        << wordsLayout << 1;
}

void TestShell::windowShows()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, menus);
    QFETCH(QString, layout);
    QFETCH(int, questions);

    QTemporaryDir dir;
    testsupport::ScriptedWindow window(dir.path());
    for (const QString &step : steps)
        window.child<QAction>(qPrintable(step))->trigger();

    QStringList bar;
    for (const QAction *action : window.form.menuBar()->actions())
        bar << outline(action->menu());
    QCOMPARE(bar.join(u' ') + QStringLiteral(" | ") + outline(window.child<QMenu>("tray")), menus);

    const auto box = [&](const char *name) {
        const QWidget *widget = window.child<QWidget>(name);
        return QStringLiteral("%1 %2+%3").arg(name).arg(widget->x()).arg(widget->width());
    };
    const auto left = [&](const char *name) {
        return QStringLiteral("%1 %2").arg(name).arg(window.child<QWidget>(name)->x());
    };
    const QSize list = window.child<QListWidget>("l")->size();
    // The direction the definition's paragraphs read in, and the side they stand at.
    const QTextOption option = window.child<QTextEdit>("rr1")->document()->defaultTextOption();
    const Qt::Alignment side = QStyle::visualAlignment(option.textDirection(), option.alignment()) &
                               Qt::AlignHorizontal_Mask & ~Qt::AlignAbsolute;
    const QString readingOrder =
        QLatin1String(option.textDirection() == Qt::RightToLeft   ? " right to left"
                      : option.textDirection() == Qt::LeftToRight ? " left to right"
                                                                  : " in the text's direction") +
        QLatin1String(side == Qt::AlignRight  ? " at the right"
                      : side == Qt::AlignLeft ? " at the left"
                                              : " elsewhere");
    const QStringList shown{QStringLiteral("l %1x%2").arg(list.width()).arg(list.height()),
                            box("rr1") + readingOrder,
                            box("rr3"),
                            left("Label2"),
                            left("Label12"),
                            window.child<QLabel>("Label1")->isVisible() ? "Label1 shown"
                                                                        : "Label1 hidden"};
    QCOMPARE(shown.join(QStringLiteral(", ")), layout);
    QCOMPARE(window.prompts->asked.size(), questions);
}

void TestShell::enterInSearchBoxClicksSearch()
{
    QTemporaryDir dir;
    Form1 window(dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *rr = window.findChild<QLineEdit *>(QStringLiteral("rr"));
    auto *search = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    QVERIFY(rr && search);
    QCOMPARE(search->text(), QStringLiteral("Search"));
    rr->setFocus();
    QSignalSpy clicks(search, &QPushButton::clicked);
    QTest::keyClick(rr, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
}

void TestShell::stackingOfSharedRectangles()
{
    QTemporaryDir dir;
    Form1 window(dir.path());
    QWidget *client = window.centralWidget();
    const QObjectList order = client->children(); // lowest first
    const auto at = [&](const char *name) {
        return order.indexOf(window.findChild<QWidget *>(QLatin1String(name)));
    };
    QVERIFY(at("rr3") >= 0 && at("rr1") > at("rr3"));
    QVERIFY(at("Label2") >= 0 && at("Label12") > at("Label2"));
    auto *rr1 = window.findChild<QTextEdit *>(QStringLiteral("rr1"));
    auto *rr3 = window.findChild<QTextEdit *>(QStringLiteral("rr3"));
    QCOMPARE(rr1->geometry(), rr3->geometry());
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Label1"))->text(),
             QStringLiteral("  Definitions for:"));
}

void TestShell::labelsTakeListFace()
{
    QTemporaryDir dir;
    Form1 window(dir.path());
    auto *list = window.findChild<QListWidget *>(QStringLiteral("l"));
    QVERIFY(list);
    QCOMPARE(list->height(), startup::kListHeight);
    const QString face = QFontInfo(list->font()).family();
    for (const char *name : {"Label1", "Label12", "Label2"}) {
        auto *label = window.findChild<QLabel *>(QLatin1String(name));
        QCOMPARE(label->font().family(), face);
        // Only the face is taken over; the labels keep their own size.
        QCOMPARE(label->font().pointSizeF(), 15.75);
    }
}

void TestShell::captionsFitTheirControls()
{
    // With the faces installed here: the labels take the face the list font fallback picked.
    QTemporaryDir dir;
    Form1 window(dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *label = window.findChild<QLabel *>(QStringLiteral("Label1"));
    const QFontMetrics labelMetrics(label->font());
    QVERIFY2(labelMetrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
             qPrintable(QStringLiteral("\"%1\" in %2 is %3 px wide, Label1 %4")
                            .arg(label->text(), QFontInfo(label->font()).family())
                            .arg(labelMetrics.horizontalAdvance(label->text()))
                            .arg(label->contentsRect().width())));
    QVERIFY(labelMetrics.height() <= label->contentsRect().height());

    auto *search = window.findChild<QPushButton *>(QStringLiteral("Command1"));
    QStyleOptionButton option;
    option.initFrom(search);
    option.text = search->text();
    const QRect contents =
        search->style()->subElementRect(QStyle::SE_PushButtonContents, &option, search);
    const QFontMetrics buttonMetrics(search->font());
    QVERIFY2(buttonMetrics.horizontalAdvance(search->text()) <= contents.width(),
             qPrintable(QStringLiteral("\"Search\" in %1 is %2 px wide, the button's inside %3")
                            .arg(QFontInfo(search->font()).family())
                            .arg(buttonMetrics.horizontalAdvance(search->text()))
                            .arg(contents.width())));
}

void TestShell::definitionArabicFace()
{
    QTemporaryDir dir;
    Form1 window(dir.path());
    const QStringList installed = QFontDatabase::families();
    const QString expected = installed.contains(QStringLiteral("Tahoma"))
                                 ? QStringLiteral("Tahoma")
                                 : QStringLiteral("Noto Sans Arabic");
    if (!installed.contains(expected))
        QSKIP("neither Tahoma nor Noto Sans Arabic is installed here");

    QTextLayout layout(QStringLiteral("\u0627\u0644\u0644\u0648\u0646"), // "the colour"
                       window.findChild<QTextEdit *>(QStringLiteral("rr1"))->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.front().rawFont().familyName(), expected);
}

void TestShell::listRowsFitWithoutScrollBar_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("idioms");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<double>("factor");
    const QString half = QStringLiteral("Ctrl+- Ctrl+- Ctrl+- Ctrl+- Ctrl+-");
    for (int choice = 0; choice < 3; ++choice) {
        const QByteArray face = startup::listFontChoice(choice).face.toLatin1();
        for (const bool idioms : {false, true}) {
            const char *mode = idioms ? "idioms" : "words";
            QTest::addRow("%s, %s", face.constData(), mode) << choice << idioms << "" << 1.0;
            QTest::addRow("%s, %s, at a half, the smallest zoom", face.constData(), mode)
                << choice << idioms << half << 0.5;
            QTest::addRow("%s, %s, at 1.2, the largest on this screen", face.constData(), mode)
                << choice << idioms << "Ctrl++ Ctrl++" << 1.2;
        }
    }
}

void TestShell::listRowsFitWithoutScrollBar()
{
    QFETCH(int, choice);
    QFETCH(bool, idioms);
    QFETCH(QString, keys);
    QFETCH(double, factor);

    const startup::ListFontChoice &fontChoice = startup::listFontChoice(choice);
#ifdef Q_OS_WIN
    if (!QFontDatabase::hasFamily(fontChoice.face))
        QSKIP("the face is not installed here, and nothing stands in for it on this system");
#endif
    QFont font;
    font.setFamilies({fontChoice.face});
    font.setBold(fontChoice.bold);
    font.setPointSizeF(fontChoice.pointSize * factor);
    // The fallback passes over a face the platform does not have, but for the last one.
    if (choice < 2 && !QFontInfo(font).family().startsWith(fontChoice.face))
        QSKIP("the face is not installed here: the list never shows this choice");

    QTemporaryDir dir;
    testsupport::ScriptedWindow window(dir.path());
    if (idioms)
        window.child<QAction>("IdiomsandExpressions")->trigger(); // No to the whole list
    for (const QString &key : keys.split(u' ', Qt::SkipEmptyParts)) {
        const QKeySequence sequence(key);
        QTest::keyClick(window.child<QLineEdit>("rr"), sequence[0].key(),
                        sequence[0].keyboardModifiers());
    }
    QCOMPARE(window.form.zoomFactor(), factor);
    auto *list = window.child<QListWidget>("l");
    QCOMPARE(list->height(), zoom::scaled(idioms ? 670 : 800, factor));
    list->setFont(font);
    for (int row = 0; row < 24; ++row)
        list->addItem(QStringLiteral("Colourfast %1").arg(row));
    QCoreApplication::processEvents();

    const int lineSpacing = QFontMetrics(list->font()).lineSpacing();
    QCOMPARE(list->visualItemRect(list->item(0)).height(), lineSpacing);
    QVERIFY2(list->visualItemRect(list->item(23)).bottom() < list->viewport()->height(),
             qPrintable(QStringLiteral("24 rows of %1 px in %2 px")
                            .arg(lineSpacing)
                            .arg(list->viewport()->height())));
    QVERIFY(!list->verticalScrollBar()->isVisible());
    // The list is longer than the window shows in words mode; the 24 rows lie above the
    // least the window shows of the design, the bottom of the definition box.
    const int lastRow =
        list->viewport()
            ->mapTo(window.form.centralWidget(), list->visualItemRect(list->item(23)).bottomLeft())
            .y();
    QVERIFY2(lastRow < zoom::scaled(zoom::kDesignShown.height(), factor),
             qPrintable(QStringLiteral("the last row ends at %1").arg(lastRow)));
}

void TestShell::startUpFillsTablesAndHidesFolders()
{
    QTemporaryDir dir;
    QByteArray symbols, tags;
    for (int k = 1; k <= 36; ++k)
        symbols += "s" + QByteArray::number(k) + "\r\n";
    for (int k = 1; k <= 21; ++k)
        tags += "t" + QByteArray::number(k) + "\r\n";
    QVERIFY(testsupport::writeFile(dir.filePath(QStringLiteral("source/alf.dll")), symbols));
    QVERIFY(testsupport::writeFile(dir.filePath(QStringLiteral("source/sp.dll")), tags));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("source1")));
    QVERIFY(!platform::isMarkedHiddenSystem(dir.path(), QStringLiteral("source")));

    Form1 window(dir.path());
    QCOMPARE(window.symbolCells().front(), QByteArray("s1"));
    QCOMPARE(window.symbolCells().back(), QByteArray("s36"));
    QCOMPARE(window.tagCells().back(), QByteArray("t21"));
    QVERIFY(platform::isMarkedHiddenSystem(dir.path(), QStringLiteral("source")));
    QVERIFY(platform::isMarkedHiddenSystem(dir.path(), QStringLiteral("source1")));

    // A second start marks nothing twice.
    Form1 again(dir.path());
#ifndef Q_OS_WIN
    QCOMPARE(testsupport::readFile(dir.filePath(QStringLiteral(".hidden"))),
             QByteArray("source\nsource1\n"));
#endif
}

void TestShell::startUpWithoutDataOpensAllTheSame()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("source1"))); // "source" is missing
    Form1 window(dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const QByteArray &cell : window.symbolCells())
        QVERIFY(cell.isEmpty());
    QVERIFY(!platform::isMarkedHiddenSystem(dir.path(), QStringLiteral("source")));
    QVERIFY(platform::isMarkedHiddenSystem(dir.path(), QStringLiteral("source1")));
}

void TestShell::startUpInInstalledFolderWritesNothing_data()
{
    QTest::addColumn<QByteArray>("hiddenList"); // null: the installation brought none
    QTest::addColumn<bool>("sourceMarked");
    QTest::addColumn<bool>("source1Marked");

    QTest::newRow("the installation's list: both folders hidden")
        << QByteArray("source\nsource1\n") << true << true;
    QTest::newRow("no list: none is made, the folders stay unmarked")
        << QByteArray() << false << false;
    QTest::newRow("a list naming source only: source1 is not added")
        << QByteArray("source\n") << true << false;
}

void TestShell::startUpInInstalledFolderWritesNothing()
{
    QFETCH(QByteArray, hiddenList);
    QFETCH(bool, sourceMarked);
    QFETCH(bool, source1Marked);

    QTemporaryDir dir, config;
    const QString folder = dir.filePath(QStringLiteral("vellumstack"));
    QVERIFY(testsupport::writeFile(folder + QStringLiteral("/source/sp.dll"), "t1\r\n"));
    QVERIFY(QDir(folder).mkdir(QStringLiteral("source1")));
    // The installation marks the folders it lists, as start-up would in a folder of its own
    // (on Windows by their attributes, elsewhere in the list .hidden), then marks the folder
    // an installed one.
    for (const QByteArray &name : hiddenList.split('\n')) {
        if (!name.isEmpty())
            QVERIFY(platform::markHiddenSystem(folder, QString::fromLatin1(name)));
    }
    QVERIFY(testsupport::writeFile(folder + QStringLiteral("/.installed"), "installed\n"));
    const QStringList before = testsupport::listTree(folder);
    // The folder stays writable: whoever runs the program, it writes nothing there.
    const std::optional<QByteArray> oldConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME")
                                                    ? std::optional(qgetenv("XDG_CONFIG_HOME"))
                                                    : std::nullopt;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString userFile = colours::userSettingsFolder() + QStringLiteral("/Setting.Dll");
    {
        Form1 window(folder);
        QCOMPARE(window.tagCells().front(), QByteArray("t1"));
        QCOMPARE(window.settingsFile().path(), userFile);
    }
    if (oldConfig)
        qputenv("XDG_CONFIG_HOME", *oldConfig);
    else
        qunsetenv("XDG_CONFIG_HOME");

    QCOMPARE(testsupport::listTree(folder), before);
    QCOMPARE(platform::isMarkedHiddenSystem(folder, QStringLiteral("source")), sourceMarked);
    QCOMPARE(platform::isMarkedHiddenSystem(folder, QStringLiteral("source1")), source1Marked);
    QVERIFY2(QFileInfo::exists(userFile), "the settings file is the user's");
#ifdef Q_OS_WIN
    // The user's folder is the system's own there (%APPDATA%), whatever the environment says.
    QFile::remove(userFile);
#else
    QVERIFY(userFile.startsWith(config.path() + u'/'));
#endif
}

void TestShell::aboutWindowShowsPictureAtOwnSize()
{
    auto *about = new Form2;
    about->show();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    QCOMPARE(about->windowTitle(), QStringLiteral("Vellumstack"));
    QCOMPARE(about->size(), QSize(515, 457));
    auto *image = about->findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(image);
    QCOMPARE(image->pixmap().size(), QSize(518, 462));
    QCOMPARE(image->geometry(), QRect(0, 0, 518, 462));

    // The picture shown is the stored one with the build's version written into the rows
    // the stored one leaves free for it, between "Words, idioms and expressions" and the
    // rule above the credits; nothing else of it is covered.
    const QImage stored =
        QImage(QStringLiteral(":/vellumstack/about.bmp")).convertToFormat(QImage::Format_RGB32);
    const QImage shown = image->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(stored.size(), QSize(518, 462));
    QRect written;
    for (int y = 0; y < stored.height(); ++y) {
        for (int x = 0; x < stored.width(); ++x) {
            if (stored.pixel(x, y) != shown.pixel(x, y))
                written |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY2(!written.isEmpty(), "the version is written on the picture");
    QVERIFY2(QRect(0, 342, 518, 49).contains(written),
             qPrintable(QStringLiteral("written at %1,%2 %3x%4")
                            .arg(written.x())
                            .arg(written.y())
                            .arg(written.width())
                            .arg(written.height())));
    QVERIFY(image->accessibleDescription().contains(
        QStringLiteral("Version " VELLUMSTACK_VERSION ".")));
    QSignalSpy unloaded(about, &Form2::unloaded);
    about->close();
    QCOMPARE(unloaded.count(), 1);
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
