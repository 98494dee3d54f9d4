// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <functional>

namespace testsupport {

struct ChildRun
{
    bool finished = false;   // the work ran to its end and said it held
    double milliseconds = 0; // wall time of the work
    qint64 peakGrowth = 0;   // bytes the peak resident size rose by while it ran
};

// Runs work in a forked child process of its own, so that the peak resident size measures
// this work alone and a crash ends only the child: it shows as a run that did not finish.
// With a hang guard the child is killed once it has run that many seconds (a guard against
// a run that would never end, not a measure of speed); that too is a run that did not finish.
ChildRun runInChild(const std::function<bool()> &work, unsigned hangGuardSeconds = 0);

} // namespace testsupport
