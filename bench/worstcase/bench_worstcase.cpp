// SPDX-License-Identifier: GPL-3.0-or-later
// Prints the wall time and the rise of the peak resident size of each worst-case input,
// every case measured in a child process of its own.
//
//   bench_worstcase
#include "colours/colourvalue.h"
#include "colours/settingsfile.h"
#include "lookup/definitionlookup.h"
#include "lookup/searchstep.h"
#include "platform/rtfreader.h"
#include "platform/testing/systemtesting.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/textcode.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

namespace datafiles = store::datafiles;

using platform::testing::ChildRun;
using platform::testing::runInChild;
using testsupport::writeFile;

QByteArray word(qint64 n)
{
    return "z" + QByteArray::number(n).rightJustified(7, '0');
}

// A letter list of z and its RTF index, `lines` headwords after line 0.
bool writeLetter(const QString &folder, qint64 lines)
{
    QByteArray list = "z\r\n";
    QByteArray index = "{\\rtf1\\ansi\\ansicpg1252\r\n  z\\par\r\n";
    for (qint64 n = 1; n <= lines; ++n) {
        list += word(n) + "\r\n";
        index += "  " + word(n) + "\\par\r\n";
    }
    index += "}\r\n";
    return writeFile(store::DataFolder(folder).path(datafiles::letterList(u"z")), list) &&
           writeFile(store::DataFolder(folder).path(datafiles::letterIndex(u"z")), index);
}

bool searchLast(const QString &folder, qint64 lines)
{
    lookup::SearchState state;
    lookup::searchStep(state, store::DataFolder(folder), lookup::Mode::Words, "z");
    return lookup::searchStep(state, store::DataFolder(folder), lookup::Mode::Words, word(lines))
        .matched;
}

void print(const char *name, qint64 inputBytes, const ChildRun &figures)
{
    std::printf("%-34s %10.1f MB %10.1f ms %10.1f MB  %s\n", name, double(inputBytes) / 1e6,
                figures.milliseconds, double(figures.peakGrowth) / 1e6,
                figures.finished ? "ok" : "FAILED");
}

} // namespace

int main()
{
    QTemporaryDir scratch;
    std::printf("%-34s %13s %13s %13s\n", "case", "input", "time", "peak rise");

    {
        const QString folder = scratch.path() + QStringLiteral("/index");
        constexpr qint64 lines = 3500000;
        writeLetter(folder, lines);
        const qint64 size =
            QFileInfo(store::DataFolder(folder).path(datafiles::letterIndex(u"z"))).size();
        print("index file, last headword", size,
              runInChild([&] { return searchLast(folder, lines); }));
    }
    {
        const QString folder = scratch.path() + QStringLiteral("/list");
        constexpr qint64 lines = 200000;
        writeLetter(folder, lines);
        const qint64 size =
            QFileInfo(store::DataFolder(folder).path(datafiles::letterList(u"z"))).size();
        print("list of 200,000 lines, last one", size,
              runInChild([&] { return searchLast(folder, lines); }));
    }
    {
        const QString folder = scratch.path() + QStringLiteral("/definitions");
        const QByteArray group = *store::groupOfCharacter('a');
        QByteArray line;
        for (qsizetype i = 0; i < 10 * 1000 * 1000 / 4; ++i)
            line += group;
        writeFile(store::DataFolder(folder).path(datafiles::idiomDefinitions()),
                  "1300\r\n" + line + "\r\n");
        print("definitions line of 10 MB", line.size(), runInChild([&] {
                  lookup::SearchState state;
                  state.entryIndex = 1;
                  store::TagCells tags;
                  tags[0] = "aaaa";
                  return lookup::lookUpDefinition(state, store::DataFolder(folder),
                                                  lookup::Mode::Idioms, {}, store::SymbolCells{},
                                                  tags)
                      .entryRead;
              }));
    }
    {
        constexpr qsizetype depth = 100000;
        const QByteArray document =
            "{\\rtf1 " + QByteArray(depth, '{') + "x" + QByteArray(depth, '}') + "}";
        print("RTF nested 100,000 groups deep", document.size(),
              runInChild([&] { return platform::rtfPlainText(document) == "x"; }));
    }
    {
        const QString path = scratch.path() + QStringLiteral("/Setting.Dll");
        const colours::SettingsFile settings(path);
        settings.storeRestoreValues();
        constexpr qint64 size = qint64(1) << 30;
        QFile::resize(path, size);
        print("settings file of 1 GiB (sparse)", size, runInChild([&] {
                  return settings.read()[3] && settings.store(colours::Setting::ListText, Qt::red);
              }));
    }
    return 0;
}
