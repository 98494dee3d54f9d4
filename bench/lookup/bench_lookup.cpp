// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the lookup on the sample dictionary of the program folder:
//  - the definition lookup of the first and the last entry of each definitions file, beside
//    a bare line count of the same file (open, map, a vectorised std::count), its lower bound;
//  - the search step for every prefix of 1,000 headwords drawn at random, typed into an
//    empty search box one character at a time, as p50 and p99 of single steps.

#include "lookup/definitionlookup.h"
#include "lookup/searchstep.h"

#include "platform/linereader.h"
#include "platform/paths.h"
#include "store/letterbases.h"
#include "store/tables.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <random>

namespace {

QString g_folder;
store::SymbolCells g_symbols;
store::TagCells g_tags;

QString sourceFile(const QString &name)
{
    return platform::dataPath(g_folder, u"\\source\\") + name;
}

qint64 countLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const qint64 size = file.size();
    const char *data = reinterpret_cast<const char *>(file.map(0, size));
    if (!data)
        return -1;
    // Compiled with -O3, the count runs in vector registers: the speed of memory.
    return qint64(std::count(data, data + size, '\n'));
}

void lineCount(benchmark::State &state, const QString &name)
{
    const QString path = sourceFile(name);
    for (auto _ : state)
        benchmark::DoNotOptimize(countLines(path));
}

// The entry whose definition stands on the first or the last line of a definitions file.
struct Entry
{
    lookup::Mode mode;
    qint32 index;
    QByteArray stem;
};

Entry entryOf(const QString &name, bool last)
{
    const qint32 lastLine = qint32(countLines(sourceFile(name))) - 1;
    const qint32 line = last ? lastLine : 0;
    if (name == u"first.dll")
        return {lookup::Mode::Words, line, "first"};
    if (name == u"second.dll")
        return {lookup::Mode::Words, store::kSecondFileBoundary + line, "second"};
    return {lookup::Mode::Idioms, line, {}};
}

void definitionLookup(benchmark::State &state, const QString &name, bool last)
{
    const Entry entry = entryOf(name, last);
    lookup::SearchState search;
    search.entryIndex = entry.index;
    search.stem = entry.stem;
    for (auto _ : state) {
        lookup::LookupOutcome outcome =
            lookup::lookUpDefinition(search, g_folder, entry.mode, {}, g_symbols, g_tags);
        benchmark::DoNotOptimize(outcome);
    }
    state.counters["entry"] = entry.index;
}

QList<QByteArray> randomHeadwords(int count)
{
    QList<QByteArray> all;
    for (const store::LetterBase &letter : store::kLetterBases) {
        auto reader = platform::LineReader::open(sourceFile(QChar(letter.letter) + u".dll"_qs),
                                                 platform::caps::kList);
        if (!reader || !reader->skipLine()) // line 0 is the letter itself
            continue;
        while (std::optional<QByteArray> line = reader->readLine())
            all.append(*line);
    }
    std::mt19937 random(20240607);
    std::shuffle(all.begin(), all.end(), random);
    all.resize(std::min<qsizetype>(count, all.size()));
    return all;
}

double threadMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

void searchSteps(benchmark::State &state)
{
    const QList<QByteArray> headwords = randomHeadwords(1000);
    std::vector<double> steps; // microseconds of wall time
    std::vector<double> sameInitial;
    std::vector<double> cpuSteps; // microseconds of this thread's processor time
    for (auto _ : state) {
        steps.clear();
        sameInitial.clear();
        cpuSteps.clear();
        lookup::SearchState search;
        for (const QByteArray &headword : headwords) {
            for (qsizetype i = 1; i <= headword.size(); ++i) {
                const bool loads = i == 1 && headword.first(1) != search.loadedInitial;
                const double cpuStart = threadMicroseconds();
                const auto start = std::chrono::steady_clock::now();
                lookup::StepOutcome outcome =
                    lookup::searchStep(search, g_folder, lookup::Mode::Words, headword.first(i));
                const auto end = std::chrono::steady_clock::now();
                cpuSteps.push_back(threadMicroseconds() - cpuStart);
                benchmark::DoNotOptimize(outcome);
                const double us = std::chrono::duration<double, std::micro>(end - start).count();
                steps.push_back(us);
                if (!loads)
                    sameInitial.push_back(us);
            }
        }
    }
    auto percentile = [](std::vector<double> values, double p) {
        if (values.empty())
            return 0.0;
        std::sort(values.begin(), values.end());
        return values[size_t(p * double(values.size() - 1))];
    };
    state.counters["steps"] = double(steps.size());
    state.counters["p50_us"] = percentile(steps, 0.50);
    state.counters["p99_us"] = percentile(steps, 0.99);
    state.counters["max_us"] = percentile(steps, 1.0);
    state.counters["p99_no_load_us"] = percentile(sameInitial, 0.99);
    // Processor time leaves out the time other programs of a busy machine took.
    state.counters["cpu_p50_us"] = percentile(cpuSteps, 0.50);
    state.counters["cpu_p99_us"] = percentile(cpuSteps, 0.99);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    g_folder = QCoreApplication::applicationDirPath();
    if (!QFileInfo::exists(sourceFile(u"second.dll"_qs)) ||
        !QFileInfo::exists(platform::dataPath(g_folder, u"\\source1\\a.hhh"))) {
        std::printf("No sample dictionary in %s: build the target sample-data first; "
                    "nothing measured.\n",
                    qPrintable(g_folder));
        return 0;
    }
    store::loadTable(sourceFile(u"alf.dll"_qs), g_symbols);
    store::loadTable(sourceFile(u"sp.dll"_qs), g_tags);

    for (const char *name : {"first.dll", "second.dll", "5.dll"}) {
        const QString file = QString::fromLatin1(name);
        benchmark::RegisterBenchmark((std::string("LineCount/") + name).c_str(), lineCount, file)
            ->Unit(benchmark::kMicrosecond);
        for (bool last : {false, true}) {
            benchmark::RegisterBenchmark(
                (std::string("Lookup/") + name + (last ? "/last" : "/first")).c_str(),
                definitionLookup, file, last)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::RegisterBenchmark("SearchStep/1000-random-headwords", searchSteps)
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
