// SPDX-License-Identifier: GPL-3.0-or-later
#include "systemtesting.h"

#include <QElapsedTimer>
#include <QFile>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform::testing {

namespace {

// What the child reports back through its pipe.
struct Figures
{
    double milliseconds = 0;
    qint64 peakGrowth = 0;
};

} // namespace

bool childrenAvailable()
{
    return true;
}

ChildRun runInChild(const std::function<bool()> &work, unsigned hangGuardSeconds)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        // SIGALRM ends the child wherever it waits, also inside a blocking open().
        signal(SIGALRM, SIG_DFL);
        alarm(hangGuardSeconds);
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        QElapsedTimer timer;
        timer.start();
        const bool held = work();
        Figures figures;
        figures.milliseconds = double(timer.nsecsElapsed()) / 1e6;
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        figures.peakGrowth = qint64(after.ru_maxrss - before.ru_maxrss) * 1024;
        const bool written = write(pipeEnds[1], &figures, sizeof figures) == sizeof figures;
        _exit(held && written ? 0 : 1);
    }
    close(pipeEnds[1]);
    Figures figures;
    const bool read = child > 0 && ::read(pipeEnds[0], &figures, sizeof figures) == sizeof figures;
    close(pipeEnds[0]);
    ChildRun run;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child)
        run.finished = read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.milliseconds = figures.milliseconds;
    run.peakGrowth = figures.peakGrowth;
    return run;
}

qint64 startChild(const std::function<void()> &work)
{
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    return child;
}

bool killChild(qint64 child)
{
    kill(pid_t(child), SIGKILL);
    int status = 0;
    return waitpid(pid_t(child), &status, 0) == child && WIFSIGNALED(status);
}

void killThisProcess()
{
    raise(SIGKILL);
    _exit(137);
}

bool makeFifo(const QString &path)
{
    return mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

qint64 userId()
{
    return qint64(geteuid());
}

} // namespace platform::testing
