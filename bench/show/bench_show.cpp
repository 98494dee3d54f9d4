// SPDX-License-Identifier: GPL-3.0-or-later
// Prints, for the "hello" entry of the sample dictionary repeated to 10 KB, 1 MB and 20 MB of
// codes, the time the definition lookup takes and the time from Enter in the main window to
// the window being ready for the next key with the definition painted.
//
//   bench_show [PROGRAM-FOLDER]
#include "lookup/engine.h"
#include "platform/linereader.h"
#include "shell/form1.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <cstdio>

namespace {

namespace datafiles = store::datafiles;

// Copies the data set of one program folder into another.
bool copyDataSet(const QString &from, const QString &to)
{
    for (const QString &file : datafiles::all()) {
        QDir().mkpath(QFileInfo(store::DataFolder(to).path(file)).path());
        if (!QFile::copy(store::DataFolder(from).path(file), store::DataFolder(to).path(file)))
            return false;
    }
    return true;
}

// The lines of first.dll, with the entry's line replaced by its codes repeated to size bytes.
QByteArray withLongEntry(const QString &folder, qint64 line, qint64 size)
{
    auto reader = platform::LineReader::open(
        store::DataFolder(folder).path(datafiles::definitions("first")), {});
    QByteArray file;
    for (qint64 n = 0; reader && !reader->atEnd(); ++n) {
        QByteArray text = *reader->readLine();
        if (n == line) {
            const QByteArray codes = text.trimmed();
            QByteArray longer;
            longer.reserve(size + codes.size());
            while (longer.size() < size)
                longer += codes;
            text = longer.left(size - size % 4);
        }
        file += text + "\r\n";
    }
    return file;
}

double lookupMs(const QString &folder)
{
    lookup::Engine engine(folder);
    engine.loadTables();
    engine.textChanged("hello");
    QElapsedTimer timer;
    timer.start();
    const lookup::DefinitionView view = engine.showDefinition();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return view.lookup.entryRead ? ms : -1;
}

struct ShowTimes
{
    double nextKey = -1; // from Enter to the next key reaching the search box
    double painted = -1; // from Enter to the definition box painted
};

// From Enter in the search box to the window taking the next key, and to the box painted.
ShowTimes showMs(const QString &folder, qint64 &shownLength)
{
    Form1 window(folder);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return {};
    auto *rr = window.findChild<QLineEdit *>(QStringLiteral("rr"));
    auto *rr1 = window.findChild<QTextEdit *>(QStringLiteral("rr1"));
    rr->setFocus();
    QTest::keyClicks(rr, QStringLiteral("hello"));
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(rr, Qt::Key_Return);
    // A key the user types right after Enter waits for whatever the window does first.
    ShowTimes times;
    QApplication::postEvent(rr, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, {}, u"x"_qs));
    while (rr->text() != u"x")
        QApplication::processEvents();
    times.nextKey = double(timer.nsecsElapsed()) / 1e6;
    rr1->viewport()->repaint();
    QApplication::processEvents();
    times.painted = double(timer.nsecsElapsed()) / 1e6;
    shownLength = rr1->document()->characterCount();
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QString sample =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    lookup::Engine found(sample);
    found.textChanged("hello");
    if (!found.state().entryIndex || found.state().stem != "first") {
        std::printf("No sample dictionary with \"hello\" in %s: build the target sample-data "
                    "first; nothing measured.\n",
                    qPrintable(sample));
        return 0;
    }
    const qint64 line = lookup::definitionLine(*found.state().entryIndex, lookup::Mode::Words);

    std::printf("%-10s %12s %12s %12s %14s %8s\n", "definition", "lookup", "next key", "painted",
                "shown chars", "ratio");
    double firstShow = 0;
    for (const auto &[name, size] : {std::pair{"10 KB", 10 * 1000}, std::pair{"1 MB", 1000 * 1000},
                                     std::pair{"20 MB", 20 * 1000 * 1000}}) {
        QTemporaryDir folder;
        if (!copyDataSet(sample, folder.path()) ||
            !testsupport::writeFile(
                store::DataFolder(folder.path()).path(datafiles::definitions("first")),
                withLongEntry(sample, line, size)))
            return 1;
        const double lookupTime = lookupMs(folder.path());
        qint64 shown = 0;
        const ShowTimes show = showMs(folder.path(), shown);
        if (firstShow == 0)
            firstShow = show.painted;
        std::printf("%-10s %9.1f ms %9.1f ms %9.1f ms %14lld %7.1fx\n", name, lookupTime,
                    show.nextKey, show.painted, qint64(shown), show.painted / firstShow);
    }
    return 0;
}
