// SPDX-License-Identifier: GPL-3.0-or-later
// Prints, for the "hello" entry of the sample dictionary repeated to 10 KB, 1 MB and 20 MB of
// codes, the time the definition lookup takes and the time from Enter in the main window to
// the window being ready for the next key with the definition painted.
//
//   bench_show [PROGRAM-FOLDER]
#include "lookup/engine.h"
#include "platform/linereader.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <cstdio>

namespace {

// Copies the data set of one program folder into another.
bool copyDataSet(const QString &from, const QString &to)
{
    for (const char *folder : {"source", "source1"}) {
        QDir().mkpath(to + u'/' + QLatin1String(folder));
        QDirIterator it(from + u'/' + QLatin1String(folder), QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!QFile::copy(path, to + u'/' + QLatin1String(folder) + u'/' + it.fileName()))
                return false;
        }
    }
    return true;
}

// The lines of first.dll, with the entry's line replaced by its codes repeated to size bytes.
QByteArray withLongEntry(const QString &folder, qint64 line, qint64 size)
{
    auto reader = platform::LineReader::open(folder + QStringLiteral("/source/first.dll"), {});
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
    const lookup::DefinitionView view = engine.search();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return view.lookup.entryRead ? ms : -1;
}

// From Enter in the search box to the window taking the next key with the box painted.
double showMs(const QString &folder, qint64 &shownLength)
{
    Form1 window(folder);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return -1;
    auto *rr = window.findChild<QLineEdit *>(QStringLiteral("rr"));
    auto *rr1 = window.findChild<QTextEdit *>(QStringLiteral("rr1"));
    rr->setFocus();
    QTest::keyClicks(rr, QStringLiteral("hello"));
    QApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(rr, Qt::Key_Return);
    QApplication::processEvents();
    rr1->viewport()->repaint();
    QApplication::processEvents();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    shownLength = rr1->document()->characterCount();
    return ms;
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

    std::printf("%-22s %12s %12s %14s %8s\n", "definition", "lookup", "show", "shown chars",
                "ratio");
    double firstShow = 0;
    for (const auto &[name, size] : {std::pair{"10 KB", 10 * 1000}, std::pair{"1 MB", 1000 * 1000},
                                     std::pair{"20 MB", 20 * 1000 * 1000}}) {
        QTemporaryDir folder;
        if (!copyDataSet(sample, folder.path()) ||
            !testsupport::writeFile(folder.filePath(QStringLiteral("source/first.dll")),
                                    withLongEntry(sample, line, size)))
            return 1;
        const double lookupTime = lookupMs(folder.path());
        qint64 shown = 0;
        const double showTime = showMs(folder.path(), shown);
        if (firstShow == 0)
            firstShow = showTime;
        std::printf("%-22s %9.1f ms %9.1f ms %14lld %7.1fx\n", name, lookupTime, showTime,
                    qint64(shown), showTime / firstShow);
    }
    return 0;
}
