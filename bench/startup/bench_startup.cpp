// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the processor time that a start takes, from the process's beginning to its main
// window shown and painted, for three programs side by side: a bare Qt main window with the
// kinds of controls the dictionary shows, in the platform's default font; the same bare
// window whose controls ask for the faces the dictionary's design names, at their sizes; and
// the dictionary's main window on a program folder. Each figure is the median of RUNS
// starts, each start a process of its own, the three taken in turn; the ratio is to the
// bare window's median.
//
//   bench_startup [RUNS] [PROGRAM-FOLDER]
//   bench_startup --faces [PROGRAM-FOLDER]     the face of each control of the main window
#include "shell/form1.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <vector>

namespace {

const char *const kKinds[] = {"bare", "faces", "window"};

// The faces and sizes the main window's design asks for, the list font's choices included.
struct Face
{
    const char *family;
    double pointSize;
    bool bold;
};
constexpr Face kDesignFaces[] = {
    {"Palatino Linotype", 15.75, false},
    {"Palatino Linotype", 15, false},
    {"Palatino Linotype", 16, false},
    {"Andalus", 13, true},
    {"Times New Roman", 14.25, false},
    {"Times New Roman", 17, false},
    {"Tahoma", 14.25, false},
    {"Tahoma", 8.25, false},
    {"Tahoma", 15.75, false},
};

// The kinds of controls the main window shows, with a menu bar of three menus, each control
// in the platform's default font, or in one of the design's faces each.
std::unique_ptr<QMainWindow> bareWindow(bool designFaces)
{
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(QStringLiteral("bare"));
    for (const char *title : {"Vellumstack", "Settings", "Search"}) {
        QMenu *menu = window->menuBar()->addMenu(QString::fromLatin1(title));
        menu->addAction(QStringLiteral("Item"));
    }
    auto *client = new QWidget(window.get());
    auto *column = new QVBoxLayout(client);
    const auto add = [&](QWidget *control, size_t face) {
        if (designFaces) {
            const Face &design = kDesignFaces[face % std::size(kDesignFaces)];
            QFont font(QString::fromLatin1(design.family));
            font.setPointSizeF(design.pointSize);
            font.setBold(design.bold);
            control->setFont(font);
            // As the list font's choice does: the face read back.
            (void)QFontInfo(font).family();
        }
        column->addWidget(control);
    };
    add(new QLineEdit(client), 0);
    add(new QPushButton(QStringLiteral("Search"), client), 4);
    auto *list = new QListWidget(client);
    list->addItem(QStringLiteral("Search"));
    add(list, 2);
    add(new QLabel(QStringLiteral("  Definitions for:"), client), 0);
    add(new QLabel(client), 1);
    add(new QLabel(client), 3);
    add(new QTextEdit(client), 6);
    add(new QTextEdit(client), 5);
    if (designFaces) {
        for (size_t face = 7; face < std::size(kDesignFaces); ++face)
            add(new QLabel(client), face);
    }
    window->setCentralWidget(client);
    window->resize(1016, 714);
    return window;
}

// One start: builds the window of its kind, shows it, waits until it is painted and prints
// the processor time used so far, in milliseconds. With faces, it also writes the face
// each named control of the window shows to the standard error.
int child(const QString &kind, const QString &folder, bool faces, int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (kind == u"window")
        window = std::make_unique<Form1>(folder);
    else
        window = bareWindow(kind == u"faces");
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;
    QCoreApplication::processEvents();
    const double ms = 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
    std::printf("%.3f\n", ms);
    std::fflush(stdout);
    if (faces) {
        for (const QWidget *control : window->findChildren<QWidget *>()) {
            if (control->objectName().isEmpty() || control->objectName().startsWith(u"qt_"))
                continue;
            std::fprintf(stderr, "%-10s %s %.2f pt\n", qPrintable(control->objectName()),
                         qPrintable(QFontInfo(control->font()).family()),
                         control->font().pointSizeF());
        }
    }
    // The end of the run is no part of its start.
    std::_Exit(0);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 3 && qstrcmp(argv[1], "--child") == 0)
        return child(QString::fromLatin1(argv[2]), QString::fromLocal8Bit(argv[3]), false, argc,
                     argv);
    // The faces the main window shows, control by control.
    if (argc > 1 && qstrcmp(argv[1], "--faces") == 0) {
        const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
        return child(QStringLiteral("window"), folder, true, argc, argv);
    }

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 21;
    const QString folder =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QCoreApplication::applicationDirPath();

    std::map<QString, std::vector<double>> times;
    for (int run = 0; run < runs; ++run) {
        for (const char *kind : kKinds) {
            QProcess start;
            start.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--child"), QString::fromLatin1(kind), folder});
            bool ok = false;
            double ms = 0;
            if (start.waitForFinished(60000) && start.exitCode() == 0)
                ms = start.readAllStandardOutput().trimmed().toDouble(&ok);
            if (!ok) {
                std::printf("the %s start failed: %s\n", kind,
                            start.readAllStandardError().constData());
                return 1;
            }
            times[QString::fromLatin1(kind)].push_back(ms);
        }
    }

    std::printf("processor time of a start, up to the window painted (median of %d, %s)\n", runs,
                qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM")));
    const double bare = median(times[QStringLiteral("bare")]);
    for (const char *kind : kKinds) {
        const std::vector<double> &all = times[QString::fromLatin1(kind)];
        const double m = median(all);
        std::printf("%-8s %8.1f ms  (%6.1f .. %6.1f)  %5.2fx bare\n", kind, m,
                    *std::min_element(all.begin(), all.end()),
                    *std::max_element(all.begin(), all.end()), m / bare);
    }
    return 0;
}
