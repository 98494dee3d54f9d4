// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// What the tests ask of the operating system beyond what Qt offers: child processes that
// crash, hang or are killed on their own, and the kinds of file that only some systems have.
// Linked into the tests only.
namespace platform::testing {

struct ChildRun
{
    bool finished = false;   // the work ran to its end and said it held
    double milliseconds = 0; // wall time of the work
    qint64 peakGrowth = 0;   // bytes the peak resident size rose by while it ran
};

// Whether work can run in a process of its own (a forked child on POSIX). Windows has no
// fork: runInChild then runs the work in this process, where a crash ends the test and a
// hang guard cannot act, so the tests that rely on either skip there.
bool childrenAvailable();

// Runs work in a forked child process of its own, so that the peak resident size measures
// this work alone and a crash ends only the child: it shows as a run that did not finish.
// With a hang guard the child is killed once it has run that many seconds (a guard against
// a run that would never end, not a measure of speed); that too is a run that did not finish.
ChildRun runInChild(const std::function<bool()> &work, unsigned hangGuardSeconds = 0);

// Starts work in a forked child that never returns from it; the child's id, or -1.
qint64 startChild(const std::function<void()> &work);
// Kills the child at once (SIGKILL) and waits for it; whether the kill ended it.
bool killChild(qint64 child);

// Ends this process at once, as a kill from outside would: nothing of it runs any more.
[[noreturn]] void killThisProcess();

// Makes a FIFO at path; false where there are none (Windows) or it cannot be made.
bool makeFifo(const QString &path);

// The user's id, as the runtime folder's name spells it; -1 on Windows.
qint64 userId();

} // namespace platform::testing
