// SPDX-License-Identifier: GPL-3.0-or-later
// The zoom of the main window's designed layout: the factor a screen starts with, the steps
// of Ctrl+Plus, Ctrl+Minus and Ctrl+0, the geometry at a factor, and the zoom kept for the
// next start.
#include "support/scriptedwindow.h"
#include "support/testfiles.h"
#include "support/warnings.h"

#include "colours/settingslocation.h"
#include "platform/testing/systemtesting.h"
#include "shell/form1.h"
#include "shell/placement.h"
#include "shell/startup.h"
#include "shell/zoom.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

// The frame openbox draws around a window (left, top, right, bottom) and the height of the
// menu bar in the default font: the room they leave is what a screen's factor is made of.
const QMargins kOpenboxFrame(1, 22, 1, 5);
constexpr int kMenuBar = 22;

// The designed rectangles of the controls the user sees, after start-up, in words mode.
struct DesignedControl
{
    const char *name;
    QRect geometry;
    qreal pointSize; // 0: the list, whose size is the font choice's
};
const DesignedControl kDesignedControls[] = {
    {"rr", {8, 4, 577, 31}, 15.75},        {"Command1", {600, 8, 89, 25}, 14.25},
    {"l", {0, 40, 217, 800}, 0},           {"Label1", {216, 40, 153, 33}, 15.75},
    {"Label2", {368, 40, 657, 33}, 15.75}, {"Label12", {368, 40, 657, 33}, 15.75},
    {"rr1", {216, 72, 800, 650}, 14.25},   {"rr3", {216, 72, 800, 650}, 0},
};

// The controls as a text: "name x,y wxh" and the font's size where the design gives one.
QString shown(testsupport::ScriptedWindow &window)
{
    QStringList controls;
    for (const DesignedControl &control : kDesignedControls) {
        const QWidget *widget = window.child<QWidget>(control.name);
        const QRect r = widget->geometry();
        QString text = QStringLiteral("%1 %2,%3 %4x%5")
                           .arg(QLatin1String(control.name))
                           .arg(r.x())
                           .arg(r.y())
                           .arg(r.width())
                           .arg(r.height());
        if (control.pointSize > 0)
            text += QStringLiteral(" %1pt").arg(widget->font().pointSizeF(), 0, 'f', 2);
        controls << text;
    }
    return controls.join(QStringLiteral("; "));
}

// The same controls as the design puts them at factor, in words mode after start-up.
QString designedAt(double factor, bool modeSwitched = false)
{
    QStringList controls;
    for (const DesignedControl &control : kDesignedControls) {
        QRect design = control.geometry;
        // The words layout puts the definition box where the list ends.
        if (modeSwitched && design.x() == 216 && design.y() == 72)
            design.moveLeft(217);
        const QRect r = zoom::scaled(design, factor);
        QString text = QStringLiteral("%1 %2,%3 %4x%5")
                           .arg(QLatin1String(control.name))
                           .arg(r.x())
                           .arg(r.y())
                           .arg(r.width())
                           .arg(r.height());
        if (control.pointSize > 0)
            text += QStringLiteral(" %1pt").arg(control.pointSize * factor, 0, 'f', 2);
        controls << text;
    }
    return controls.join(QStringLiteral("; "));
}

void press(testsupport::ScriptedWindow &window, const QString &keys)
{
    auto *rr = window.child<QLineEdit>("rr");
    for (const QString &key : keys.split(u' ', Qt::SkipEmptyParts)) {
        const QKeySequence sequence(key);
        QTest::keyClick(rr, sequence[0].key(), sequence[0].keyboardModifiers());
    }
}

QString keptFile(const QString &folder)
{
    return folder + QStringLiteral("/Zoom.txt");
}

} // namespace

class TestShellZoom : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void startFactorOnScreens_data();
    void startFactorOnScreens();
    void startFactorAtTheEdges_data();
    void startFactorAtTheEdges();
    void rangeOfRoom_data();
    void rangeOfRoom();
    void steps_data();
    void steps();
    void scaledGeometry_data();
    void scaledGeometry();
    void scaledLayoutStaysInside();
    void keptText_data();
    void keptText();

    void designedGeometryAtFactorOne();
    void keys_data();
    void keys();
    void modesAtAZoom_data();
    void modesAtAZoom();
    void keptAcrossRestart_data();
    void keptAcrossRestart();
    void hostileKeptFile_data();
    void hostileKeptFile();
    void installedCopyKeepsZoomInUserFolder();
};

void TestShellZoom::init()
{
    testsupport::failOnWarnings();
}

void TestShellZoom::startFactorOnScreens_data()
{
    QTest::addColumn<QSize>("screen"); // in the pixels the program sees (logical)
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<double>("factor");

    // The window is as wide as the screen and 25 pixels (380 twips) less high, cut to the
    // work area; the frame and the menu bar take 2 x 27 + 22 of that.
    QTest::newRow("1024 x 600: the height decides, 526 of 722")
        << QSize(1024, 600) << QRect(0, 0, 1024, 600) << 526.0 / 722;
    QTest::newRow("1366 x 768: the height decides, 694 of 722")
        << QSize(1366, 768) << QRect(0, 0, 1366, 768) << 694.0 / 722;
    QTest::newRow("1366 x 768 less a panel of 32 at the bottom: 687 of 722")
        << QSize(1366, 768) << QRect(0, 0, 1366, 736) << 687.0 / 722;
    QTest::newRow("1366 x 768 less a panel of 32 at the top: 687 of 722")
        << QSize(1366, 768) << QRect(0, 32, 1366, 736) << 687.0 / 722;
    QTest::newRow("1920 x 1080 at scale 2 is 960 x 540: 466 of 722")
        << QSize(960, 540) << QRect(0, 0, 960, 540) << 466.0 / 722;
    QTest::newRow("1280 x 1024: exactly 1") << QSize(1280, 1024) << QRect(0, 0, 1280, 1024) << 1.0;
    QTest::newRow("2560 x 1440: 1, never more at start")
        << QSize(2560, 1440) << QRect(0, 0, 2560, 1440) << 1.0;
    QTest::newRow("900 x 1000: the width decides, 898 of 1016")
        << QSize(900, 1000) << QRect(0, 0, 900, 1000) << 898.0 / 1016;
}

void TestShellZoom::startFactorOnScreens()
{
    QFETCH(QSize, screen);
    QFETCH(QRect, workArea);
    QFETCH(double, factor);

    // As the window computes it: the start-up size, placed in the work area, less the frame
    // and the menu bar.
    const startup::TwipsSize twips = startup::windowSizeTwips(
        {startup::pixelsToTwips(screen.width(), 15), startup::pixelsToTwips(screen.height(), 15)});
    const QSize outer(startup::twipsToPixels(twips.width, 15),
                      startup::twipsToPixels(twips.height, 15));
    const QSize placed = placement::placedAtTop(QRect(), outer, workArea).size();
    const double start = zoom::startFactor(zoom::clientRoom(placed, kOpenboxFrame, kMenuBar));
    QCOMPARE(start, factor);
    // The definition box, the lowest and widest of the controls, shows whole.
    const QRect box = zoom::scaled(QRect(216, 72, 800, 650), start);
    const QSize room = zoom::clientRoom(placed, kOpenboxFrame, kMenuBar);
    QVERIFY2(box.right() < room.width() && box.bottom() < room.height(),
             qPrintable(QStringLiteral("box to %1, %2 in %3 x %4")
                            .arg(box.right())
                            .arg(box.bottom())
                            .arg(room.width())
                            .arg(room.height())));
}

void TestShellZoom::startFactorAtTheEdges_data()
{
    QTest::addColumn<QSize>("room");
    QTest::addColumn<double>("factor");

    QTest::newRow("room of the design shown, 1016 x 722: 1") << QSize(1016, 722) << 1.0;
    QTest::newRow("a pixel less wide: 1015 of 1016") << QSize(1015, 722) << 1015.0 / 1016;
    QTest::newRow("a pixel less high: 721 of 722") << QSize(1016, 721) << 721.0 / 722;
    QTest::newRow("the designed client area, 714 high, is not enough: the definition box "
                  "reaches 722")
        << QSize(1016, 714) << 714.0 / 722;
    QTest::newRow("a pixel more each way: still 1") << QSize(1017, 723) << 1.0;
    QTest::newRow("no room at all (no screen): as designed") << QSize(0, 0) << 1.0;
    QTest::newRow("a work area lower than the frame: as designed") << QSize(1000, -5) << 1.0;
}

void TestShellZoom::startFactorAtTheEdges()
{
    QFETCH(QSize, room);
    QFETCH(double, factor);
    QCOMPARE(zoom::startFactor(room), factor);
}

void TestShellZoom::rangeOfRoom_data()
{
    QTest::addColumn<QSize>("room");
    QTest::addColumn<double>("smallest");
    QTest::addColumn<double>("largest");

    QTest::newRow("designed size: from a half to 1") << QSize(1016, 722) << 0.5 << 1.0;
    QTest::newRow("room for 1.25: up to 1.25") << QSize(1270, 1000) << 0.5 << 1.25;
    QTest::newRow("room for 3 exactly: up to 3") << QSize(3048, 2166) << 0.5 << 3.0;
    QTest::newRow("room for more than 3: 3 all the same") << QSize(3049, 2167) << 0.5 << 3.0;
    QTest::newRow("room for 0.8: up to the start factor")
        << QSize(1016, 722 * 8 / 10) << 0.5 << 577.0 / 722;
    QTest::newRow("room for a half exactly: only a half") << QSize(508, 361) << 0.5 << 0.5;
    QTest::newRow("room for less than a half: only the start factor")
        << QSize(508, 360) << 360.0 / 722 << 360.0 / 722;
}

void TestShellZoom::rangeOfRoom()
{
    QFETCH(QSize, room);
    QFETCH(double, smallest);
    QFETCH(double, largest);
    const zoom::Range range = zoom::range(room);
    QCOMPARE(range.smallest, smallest);
    QCOMPARE(range.largest, largest);
}

void TestShellZoom::steps_data()
{
    QTest::addColumn<double>("smallest");
    QTest::addColumn<double>("largest");
    QTest::addColumn<double>("factor");
    QTest::addColumn<bool>("in");
    QTest::addColumn<double>("after");

    QTest::newRow("in from 1: 1.1") << 0.5 << 1.25 << 1.0 << true << 1.1;
    QTest::newRow("in from a start between tenths: the next tenth")
        << 0.5 << 0.9 << 526.0 / 722 << true << 0.8;
    QTest::newRow("in to the largest exactly") << 0.5 << 1.2 << 1.1 << true << 1.2;
    QTest::newRow("in past the largest: stays") << 0.5 << 1.25 << 1.2 << true << 1.2;
    QTest::newRow("in at a largest between tenths: stays")
        << 0.5 << 526.0 / 722 << 526.0 / 722 << true << 526.0 / 722;
    QTest::newRow("in to 3") << 0.5 << 3.0 << 2.9 << true << 3.0;
    QTest::newRow("in past 3: stays") << 0.5 << 3.0 << 3.0 << true << 3.0;
    QTest::newRow("out from 1: 0.9") << 0.5 << 1.0 << 1.0 << false << 0.9;
    QTest::newRow("out from a start between tenths: the tenth below")
        << 0.5 << 526.0 / 722 << 526.0 / 722 << false << 0.7;
    QTest::newRow("out from a tenth reached by steps: the tenth below")
        << 0.5 << 1.0 << 0.1 * 7 << false << 0.6;
    QTest::newRow("out to a half exactly") << 0.5 << 1.0 << 0.6 << false << 0.5;
    QTest::newRow("out past a half: stays") << 0.5 << 1.0 << 0.5 << false << 0.5;
    QTest::newRow("out from a start below a half: stays") << 0.4 << 0.4 << 0.4 << false << 0.4;
}

void TestShellZoom::steps()
{
    QFETCH(double, smallest);
    QFETCH(double, largest);
    QFETCH(double, factor);
    QFETCH(bool, in);
    QFETCH(double, after);
    const zoom::Range range{smallest, largest};
    QCOMPARE(in ? zoom::zoomedIn(factor, range) : zoom::zoomedOut(factor, range), after);
}

void TestShellZoom::scaledGeometry_data()
{
    QTest::addColumn<QRect>("design");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QRect>("scaled");

    for (const DesignedControl &control : kDesignedControls)
        QTest::addRow("%s at 1: as designed", control.name)
            << control.geometry << 1.0 << control.geometry;
    // Edges, not sizes: 577 wide from 8 at 1.1 is 634.7, but it ends at 644.5, and
    // 153 from 216 at 0.6 is 91.8, but it ends at 221.4.
    QTest::newRow("the search box at 1.1: its edges scaled")
        << QRect(8, 4, 577, 31) << 1.1 << QRect(9, 4, 635, 35);
    QTest::newRow("the heading at 0.6: its edges scaled")
        << QRect(216, 40, 153, 33) << 0.6 << QRect(130, 24, 91, 20);
    QTest::newRow("the list at a half") << QRect(0, 40, 217, 800) << 0.5 << QRect(0, 20, 109, 400);
    QTest::newRow("the definition box beside it at a half")
        << QRect(217, 72, 800, 650) << 0.5 << QRect(109, 36, 400, 325);
    QTest::newRow("the definition box at 1.8")
        << QRect(216, 72, 800, 650) << 1.8 << QRect(389, 130, 1440, 1170);
}

void TestShellZoom::scaledGeometry()
{
    QFETCH(QRect, design);
    QFETCH(double, factor);
    QFETCH(QRect, scaled);
    QCOMPARE(zoom::scaled(design, factor), scaled);
}

void TestShellZoom::scaledLayoutStaysInside()
{
    // Every room from half the design to more than the design: at the start factor the
    // definition box lies inside the room, and the list and the box beside it still meet.
    for (int height = 361; height <= 800; ++height) {
        for (int width : {508, 700, 1015, 1016, 1100}) {
            const QSize room(width, height);
            const double factor = zoom::startFactor(room);
            const QRect box = zoom::scaled(QRect(216, 72, 800, 650), factor);
            QVERIFY2(box.right() < width && box.bottom() < height,
                     qPrintable(QStringLiteral("%1 x %2").arg(width).arg(height)));
            QCOMPARE(zoom::scaled(QRect(217, 72, 800, 650), factor).left(),
                     zoom::scaled(QRect(0, 40, 217, 800), factor).right() + 1);
        }
    }
}

void TestShellZoom::keptText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("percent"); // 0: none kept

    QTest::newRow("as written: 110 and a line break") << QByteArray("110\n") << 110;
    QTest::newRow("a CR LF and blanks around") << QByteArray(" 120 \r\n") << 120;
    QTest::newRow("a half, the smallest") << QByteArray("50\n") << 50;
    QTest::newRow("just below a half") << QByteArray("49\n") << 0;
    QTest::newRow("3, the largest") << QByteArray("300\n") << 300;
    QTest::newRow("just past 3") << QByteArray("301\n") << 0;
    QTest::newRow("empty: the start factor") << QByteArray() << 0;
    QTest::newRow("a fourth digit") << QByteArray("0110\n") << 0;
    QTest::newRow("a sign") << QByteArray("+110\n") << 0;
    QTest::newRow("a fraction") << QByteArray("1.1\n") << 0;
    QTest::newRow("text after the number") << QByteArray("110%\n") << 0;
    QTest::newRow("two numbers") << QByteArray("110\n120\n") << 0;
}

void TestShellZoom::keptText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, percent);
    const std::optional<int> kept = zoom::parseKept(text);
    QCOMPARE(kept.value_or(0), percent);
    if (kept)
        QCOMPARE(zoom::parseKept(zoom::formatKept(kept)), kept);
}

void TestShellZoom::designedGeometryAtFactorOne()
{
    // The test screen, 1280 x 1024, holds the design as it stands.
    QTemporaryDir dir;
    testsupport::ScriptedWindow window(dir.path());
    QCOMPARE(window.form.zoomFactor(), 1.0);
    QCOMPARE(shown(window), designedAt(1));
    QVERIFY(!QFileInfo::exists(keptFile(dir.path())));
}

void TestShellZoom::keys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QByteArray>("kept"); // null: no file

    // The test screen leaves room for 1276 / 1016 = 1.26 of the design.
    QTest::newRow("Ctrl+Plus: a tenth larger") << "Ctrl++" << 1.1 << QByteArray("110\n");
    QTest::newRow("Ctrl+= is Ctrl+Plus") << "Ctrl+=" << 1.1 << QByteArray("110\n");
    QTest::newRow("Ctrl+Plus up to the largest that shows whole")
        << "Ctrl++ Ctrl++" << 1.2 << QByteArray("120\n");
    QTest::newRow("Ctrl+Plus past it: stays")
        << "Ctrl++ Ctrl++ Ctrl++" << 1.2 << QByteArray("120\n");
    QTest::newRow("Ctrl+Minus: a tenth smaller") << "Ctrl+-" << 0.9 << QByteArray("90\n");
    QTest::newRow("Ctrl+Minus down to a half")
        << "Ctrl+- Ctrl+- Ctrl+- Ctrl+- Ctrl+-" << 0.5 << QByteArray("50\n");
    QTest::newRow("Ctrl+Minus past a half: stays")
        << "Ctrl+- Ctrl+- Ctrl+- Ctrl+- Ctrl+- Ctrl+-" << 0.5 << QByteArray("50\n");
    QTest::newRow("Ctrl+0 after Ctrl+Plus: back to the start factor, nothing kept")
        << "Ctrl++ Ctrl++ Ctrl+0" << 1.0 << QByteArray("");
    QTest::newRow("Ctrl+0 after Ctrl+Minus") << "Ctrl+- Ctrl+0" << 1.0 << QByteArray("");
    QTest::newRow("Ctrl+0 at the start factor: no file written") << "Ctrl+0" << 1.0 << QByteArray();
    QTest::newRow("Ctrl+Plus, then Ctrl+Minus: the design again, kept as chosen")
        << "Ctrl++ Ctrl+-" << 1.0 << QByteArray("100\n");
}

void TestShellZoom::keys()
{
    QFETCH(QString, keys);
    QFETCH(double, factor);
    QFETCH(QByteArray, kept);

    QTemporaryDir dir;
    testsupport::ScriptedWindow window(dir.path());
    QVERIFY(QTest::qWaitForWindowActive(&window.form));
    // The placement at the top has fitted the zoom to the frame.
    QTRY_VERIFY(!window.child<QTimer>("Timer1")->isActive());
    const QByteArray settings = testsupport::readFile(dir.filePath(QStringLiteral("Setting.Dll")));

    press(window, keys);
    QCOMPARE(window.form.zoomFactor(), factor);
    QCOMPARE(shown(window), designedAt(factor));
    // The list's font grows with the rest: its size at 1 is the size of a font choice.
    const qreal listPoints = window.child<QListWidget>("l")->font().pointSizeF() / factor;
    QVERIFY2(qAbs(listPoints - qRound(listPoints)) < 1e-6, qPrintable(QString::number(listPoints)));

    if (kept.isNull())
        QVERIFY(!QFileInfo::exists(keptFile(dir.path())));
    else
        QCOMPARE(testsupport::readFile(keptFile(dir.path())), kept);
    // The settings file's records are no part of it.
    QCOMPARE(testsupport::readFile(dir.filePath(QStringLiteral("Setting.Dll"))), settings);
}

void TestShellZoom::modesAtAZoom_data()
{
    QTest::addColumn<bool>("zoomFirst");
    QTest::newRow("zoomed, then idioms mode") << true;
    QTest::newRow("idioms mode, then zoomed") << false;
}

void TestShellZoom::modesAtAZoom()
{
    QFETCH(bool, zoomFirst);

    QTemporaryDir dir;
    testsupport::ScriptedWindow window(dir.path());
    if (zoomFirst)
        press(window, QStringLiteral("Ctrl++ Ctrl++"));
    window.child<QAction>("IdiomsandExpressions")->trigger();
    if (!zoomFirst)
        press(window, QStringLiteral("Ctrl++ Ctrl++"));
    QCOMPARE(window.form.zoomFactor(), 1.2);

    // The idioms layout at 1.2: the list 450 x 670, the box and its backdrop 590 wide from
    // where the list ends, the captions there too.
    QCOMPARE(window.child<QListWidget>("l")->geometry(), zoom::scaled({0, 40, 450, 670}, 1.2));
    for (const char *box : {"rr1", "rr3"})
        QCOMPARE(window.child<QTextEdit>(box)->geometry(), zoom::scaled({450, 72, 590, 650}, 1.2));
    for (const char *caption : {"Label2", "Label12"})
        QCOMPARE(window.child<QLabel>(caption)->geometry(), zoom::scaled({450, 40, 657, 33}, 1.2));

    // Back in words mode, at the design's own factor again.
    window.child<QAction>("words")->trigger();
    press(window, QStringLiteral("Ctrl+0"));
    QCOMPARE(shown(window), designedAt(1, true));
}

void TestShellZoom::keptAcrossRestart_data()
{
    QTest::addColumn<QString>("keys");    // in the first run
    QTest::addColumn<QByteArray>("file"); // written before the first run; null: none
    QTest::addColumn<double>("factor");   // of the second run

    QTest::newRow("Ctrl+Plus kept") << "Ctrl++" << QByteArray() << 1.1;
    QTest::newRow("Ctrl+Minus kept") << "Ctrl+- Ctrl+-" << QByteArray() << 0.8;
    QTest::newRow("Ctrl+0 forgets it: the start factor") << "Ctrl+0" << QByteArray("120\n") << 1.0;
    QTest::newRow("nothing pressed: the kept zoom stays") << "" << QByteArray("70\n") << 0.7;
    QTest::newRow("a kept zoom larger than fits: the largest that does")
        << "" << QByteArray("300\n") << 1276.0 / 1016;
    QTest::newRow("a kept zoom that is no number: the start factor")
        << "" << QByteArray("large\n") << 1.0;
}

void TestShellZoom::keptAcrossRestart()
{
    QFETCH(QString, keys);
    QFETCH(QByteArray, file);
    QFETCH(double, factor);

    QTemporaryDir dir;
    if (!file.isNull())
        QVERIFY(testsupport::writeFile(keptFile(dir.path()), file));
    {
        testsupport::ScriptedWindow first(dir.path());
        QTRY_VERIFY(!first.child<QTimer>("Timer1")->isActive());
        press(first, keys);
    }
    testsupport::ScriptedWindow second(dir.path());
    QTRY_VERIFY(!second.child<QTimer>("Timer1")->isActive());
    QCOMPARE(second.form.zoomFactor(), factor);
    QCOMPARE(shown(second), designedAt(factor));
}

void TestShellZoom::hostileKeptFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("factor");

    QTest::newRow("a FIFO: not read, nothing blocks") << "fifo" << 1.0;
    QTest::newRow("a folder") << "folder" << 1.0;
    QTest::newRow("a link to /dev/zero") << "zero" << 1.0;
    QTest::newRow("64 bytes, the cap: read") << "64" << 1.1;
    QTest::newRow("65 bytes: more than this program writes, not read") << "65" << 1.0;
}

void TestShellZoom::hostileKeptFile()
{
    QFETCH(QString, kind);
    QFETCH(double, factor);

    QTemporaryDir dir;
    const QString path = keptFile(dir.path());
    if (kind == u"fifo") {
        if (!platform::testing::makeFifo(path))
            QSKIP("no FIFOs here");
    } else if (kind == u"folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"zero") {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    } else {
        QVERIFY(testsupport::writeFile(path, QByteArray("110").leftJustified(kind.toInt(), ' ')));
    }

    testsupport::ScriptedWindow window(dir.path());
    QCOMPARE(window.form.zoomFactor(), factor);
}

void TestShellZoom::installedCopyKeepsZoomInUserFolder()
{
    QTemporaryDir dir, config;
    const QString folder = dir.filePath(QStringLiteral("vellumstack"));
    QVERIFY(testsupport::writeFile(folder + QStringLiteral("/.installed"), "installed\n"));
    const QStringList before = testsupport::listTree(folder);
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const QString userFile = colours::userSettingsFolder() + QStringLiteral("/Zoom.txt");
#ifdef Q_OS_WIN
    QFile::remove(userFile); // what an earlier run may have left in the system's user folder
#endif
    {
        testsupport::ScriptedWindow window(folder);
        press(window, QStringLiteral("Ctrl++"));
    }
    double again = 0;
    {
        testsupport::ScriptedWindow window(folder);
        again = window.form.zoomFactor();
    }
    if (hadConfig)
        qputenv("XDG_CONFIG_HOME", oldConfig);
    else
        qunsetenv("XDG_CONFIG_HOME");

    QCOMPARE(testsupport::listTree(folder), before);
#ifndef Q_OS_WIN
    QVERIFY(userFile.startsWith(config.path() + u'/'));
#endif
    QCOMPARE(testsupport::readFile(userFile), QByteArray("110\n"));
    QCOMPARE(again, 1.1);
#ifdef Q_OS_WIN
    QFile::remove(userFile); // the system's own user folder there: no other test may meet it
#endif
}

QTEST_MAIN(TestShellZoom)
#include "tst_shell_zoom.moc"
