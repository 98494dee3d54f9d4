// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemtesting.h"

#include <QElapsedTimer>

#include <windows.h>
// after windows.h, whose types it uses
#include <psapi.h>

namespace platform::testing {

namespace {

qint64 peakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return qint64(counters.PeakWorkingSetSize);
}

} // namespace

bool childrenAvailable()
{
    return false;
}

ChildRun runInChild(const std::function<bool()> &work, unsigned)
{
    // No fork: the work runs here. The peak can only be seen to rise above the one this
    // process already had, so the growth is a lower bound.
    const qint64 before = peakWorkingSet();
    QElapsedTimer timer;
    timer.start();
    ChildRun run;
    run.finished = work();
    run.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    run.peakGrowth = peakWorkingSet() - before;
    return run;
}

qint64 startChild(const std::function<void()> &)
{
    return -1;
}

bool killChild(qint64)
{
    return false;
}

void killThisProcess()
{
    TerminateProcess(GetCurrentProcess(), 137);
    ExitProcess(137);
}

bool makeFifo(const QString &)
{
    return false;
}

qint64 userId()
{
    return -1;
}

} // namespace platform::testing
