// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/systemtesting.h"
#include "platform/userlock.h"
#include "shell/onecopy.h"
#include "support/warnings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

namespace {

// The permissions of a mode such as 0700, as Qt spells them.
QFileDevice::Permissions permissionsOf(int mode)
{
    QFileDevice::Permissions permissions;
    const QFileDevice::Permission bits[] = {
        QFileDevice::ReadOwner, QFileDevice::WriteOwner, QFileDevice::ExeOwner,
        QFileDevice::ReadGroup, QFileDevice::WriteGroup, QFileDevice::ExeGroup,
        QFileDevice::ReadOther, QFileDevice::WriteOther, QFileDevice::ExeOther};
    for (int bit = 0; bit < 9; ++bit) {
        if (mode & (0400 >> bit))
            permissions |= bits[bit];
    }
    return permissions;
}

// Puts what kind names at path: nothing ("missing"), a FIFO, a folder, or a link to a file
// that does not exist.
bool putAt(const QString &kind, const QString &path)
{
    if (kind == u"fifo")
        return platform::testing::makeFifo(path);
    if (kind == u"folder")
        return QDir().mkdir(path);
    if (kind == u"link")
        return QFile::link(path + QStringLiteral(".elsewhere"), path);
    return kind == u"missing";
}

} // namespace

Q_DECLARE_METATYPE(OneCopy::Claim)

class TestOneCopy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { testsupport::failOnWarnings(); }

    void displayName_data();
    void displayName();
    void longDisplayNamesAreShortened();
    void names_data();
    void names();
    void socketPathFitsTheLimit();

    void lock_data();
    void lock();
    void lockIsFreeOnceItsHolderGoes();

    void runtimeFolder_data();
    void runtimeFolder();

    void claim_data();
    void claim();
};

void TestOneCopy::displayName_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("name");

    QTest::newRow("local display") << "xcb"
                                   << ":0"
                                   << "xcb-:0";
    QTest::newRow("screen 0 of the same display") << "xcb"
                                                  << ":0.0"
                                                  << "xcb-:0";
    QTest::newRow("screen 1 of the same display") << "xcb"
                                                  << ":0.1"
                                                  << "xcb-:0";
    QTest::newRow("another display") << "xcb"
                                     << ":1"
                                     << "xcb-:1";
    QTest::newRow("a host's display, dots in the host kept") << "xcb"
                                                             << "box.example:10.0"
                                                             << "xcb-box.example:10";
    QTest::newRow("Wayland display by name") << "wayland"
                                             << "wayland-0"
                                             << "wayland-wayland-0";
    QTest::newRow("Wayland display by path: no folder in the name") << "wayland"
                                                                    << "/run/w/wl-1"
                                                                    << "wayland-_run_w_wl-1";
}

void TestOneCopy::displayName()
{
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(QString, name);
    QCOMPARE(OneCopy::displayName(platform, display), name);
}

void TestOneCopy::longDisplayNamesAreShortened()
{
    // "xcb-" and 44 characters: 48, the longest name kept as it is.
    const QString longest = QStringLiteral(":") + QString(43, QLatin1Char('9'));
    QCOMPARE(OneCopy::displayName(QStringLiteral("xcb"), longest),
             QStringLiteral("xcb-") + longest);
    const QString tooLong = longest + QLatin1Char('9');
    const QString shortened = OneCopy::displayName(QStringLiteral("xcb"), tooLong);
    QCOMPARE(shortened.size(), 4 + 40); // the platform and a SHA-1 in hex
    QVERIFY(shortened != OneCopy::displayName(QStringLiteral("xcb"), tooLong + QLatin1Char('9')));
}

void TestOneCopy::names_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QString>("lock");
    QTest::addColumn<QString>("socket");

    QTest::newRow("an installed program") << "/usr/lib/vellumstack"
                                          << "/run/user/1000/vellumstack-xcb-:0-366d65eff1f5.lock"
                                          << "/run/user/1000/vellumstack-xcb-:0-366d65eff1f5";
    QTest::newRow("a build of it: other names")
        << "/home/ana/build/bin"
        << "/run/user/1000/vellumstack-xcb-:0-eeadea9daa49.lock"
        << "/run/user/1000/vellumstack-xcb-:0-eeadea9daa49";
}

void TestOneCopy::names()
{
    QFETCH(QString, programFolder);
    QFETCH(QString, lock);
    QFETCH(QString, socket);
    const OneCopy copy(QStringLiteral("/run/user/1000"), QStringLiteral("xcb-:0"), programFolder);
    QCOMPARE(copy.lockPath(), lock);
    QCOMPARE(copy.socketPath(), socket);
}

void TestOneCopy::socketPathFitsTheLimit()
{
    // The longest display name kept as it is, in the fallback folder of the largest user id.
    const QString display =
        OneCopy::displayName(QStringLiteral("xcb"), QStringLiteral(":") + QString(43, u'9'));
    QCOMPARE(display.size(), 48);
    const OneCopy copy(QStringLiteral("/tmp/vellumstack-4294967295"), display,
                       QStringLiteral("/usr/lib/vellumstack"));
    QVERIFY(QFile::encodeName(copy.socketPath()).size() <= 107);
}

void TestOneCopy::lock_data()
{
    QTest::addColumn<QString>("kind"); // what stands at the lock's path
    QTest::addColumn<platform::UserLock::Outcome>("second");

    QTest::newRow("nothing: made, and refused to a second holder")
        << "missing" << platform::UserLock::Outcome::HeldElsewhere;
    QTest::newRow("a FIFO: no lock, nothing blocks")
        << "fifo" << platform::UserLock::Outcome::Failed;
    QTest::newRow("a folder: no lock") << "folder" << platform::UserLock::Outcome::Failed;
    QTest::newRow("a link: not followed") << "link" << platform::UserLock::Outcome::Failed;
}

void TestOneCopy::lock()
{
    QFETCH(QString, kind);
    QFETCH(platform::UserLock::Outcome, second);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.lock"));
#ifdef Q_OS_WIN
    // Windows has no FIFOs, and QFile::link makes a shortcut there, an ordinary file.
    if (kind == u"fifo" || kind == u"link")
        QSKIP("no FIFOs or links made by QFile::link on this system");
#endif
    QVERIFY(putAt(kind, path));

    platform::UserLock first;
    const platform::UserLock::Outcome outcome = platform::UserLock::take(path, &first);
    if (second == platform::UserLock::Outcome::Failed) {
        QCOMPARE(outcome, platform::UserLock::Outcome::Failed);
        QVERIFY(!first.held());
        QVERIFY(!QFile::exists(path + QStringLiteral(".elsewhere")));
        return;
    }
    QCOMPARE(outcome, platform::UserLock::Outcome::Taken);
    QVERIFY(first.held());
#ifndef Q_OS_WIN
    QCOMPARE(QFile::permissions(path) &
                 ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
             QFile::Permissions());
#endif
    platform::UserLock other;
    QCOMPARE(platform::UserLock::take(path, &other), second);
    QVERIFY(!other.held());
}

void TestOneCopy::lockIsFreeOnceItsHolderGoes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.lock"));
    platform::UserLock other;
    {
        platform::UserLock first;
        QCOMPARE(platform::UserLock::take(path, &first), platform::UserLock::Outcome::Taken);
        // Moved, it is still held: by the new owner alone.
        platform::UserLock moved(std::move(first));
        QVERIFY(!first.held());
        QCOMPARE(platform::UserLock::take(path, &other),
                 platform::UserLock::Outcome::HeldElsewhere);
    }
    QCOMPARE(platform::UserLock::take(path, &other), platform::UserLock::Outcome::Taken);
}

void TestOneCopy::runtimeFolder_data()
{
    QTest::addColumn<QString>("runtime"); // XDG_RUNTIME_DIR, relative to a temporary folder
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("taken"); // the folder is used, not the fallback

    QTest::newRow("the user's own, closed to others: used") << "run" << 0700 << true;
    QTest::newRow("open to the group: not used") << "run" << 0750 << false;
    QTest::newRow("open to others to enter: not used") << "run" << 0701 << false;
    QTest::newRow("relative: not used") << "" << 0700 << false;
    QTest::newRow("missing: not used") << "gone" << 0 << false;
}

void TestOneCopy::runtimeFolder()
{
    QFETCH(QString, runtime);
    QFETCH(int, mode);
    QFETCH(bool, taken);

#ifdef Q_OS_WIN
    QSKIP("the runtime folder is the user's local application data on Windows");
#endif
    QTemporaryDir dir;
    QString path = runtime.isEmpty() ? QStringLiteral("relative/run") : dir.filePath(runtime);
    if (mode != 0) {
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("run"))));
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("run")), permissionsOf(mode)));
    }
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path));
    const std::optional<QString> folder = platform::userRuntimeFolder();
    qputenv("XDG_RUNTIME_DIR", saved);

    QVERIFY(folder);
    if (taken) {
        QCOMPARE(*folder, path);
        return;
    }
    // The fallback: the user's own folder in the temporary folder, closed to others.
    QCOMPARE(*folder,
             QDir::tempPath() + QStringLiteral("/vellumstack-%1").arg(platform::testing::userId()));
    QVERIFY(!QFileInfo(*folder).isSymLink());
    QCOMPARE(QFile::permissions(*folder) & permissionsOf(0777), permissionsOf(0700));
}

void TestOneCopy::claim_data()
{
    QTest::addColumn<QString>("atLock"); // what stands at the lock's path before the start
    // The copy already running: "" none, "answers" (its events are handled), "hung" (they
    // are not while the later start waits), "lock only" (it holds the lock, with no socket).
    QTest::addColumn<QString>("running");
    QTest::addColumn<QString>("runningFolder"); // the running copy's program folder
    QTest::addColumn<QString>("runningDisplay");
    QTest::addColumn<OneCopy::Claim>("claim");

    const QString here = QStringLiteral("/opt/a");
    const QString display = QStringLiteral("xcb-:7");
    QTest::newRow("nothing at the lock's path: the one copy")
        << "missing"
        << "" << here << display << OneCopy::Claim::Held;
    QTest::newRow("a folder at the lock's path: a window of its own")
        << "folder"
        << "" << here << display << OneCopy::Claim::OnItsOwn;
    QTest::newRow("a FIFO at the lock's path: a window of its own")
        << "fifo"
        << "" << here << display << OneCopy::Claim::OnItsOwn;
    QTest::newRow("a dangling link at the lock's path: a window of its own")
        << "link"
        << "" << here << display << OneCopy::Claim::OnItsOwn;
    QTest::newRow("a copy that answers: it comes forward, this start ends")
        << "missing"
        << "answers" << here << display << OneCopy::Claim::Forwarded;
    QTest::newRow("a hung copy: a window of its own, and the copy stays put")
        << "missing"
        << "hung" << here << display << OneCopy::Claim::OnItsOwn;
    QTest::newRow("a copy that holds the lock but does not listen: a window of its own")
        << "missing"
        << "lock only" << here << display << OneCopy::Claim::OnItsOwn;
    QTest::newRow("a copy from another program folder: the one copy here")
        << "missing"
        << "answers" << QStringLiteral("/opt/b") << display << OneCopy::Claim::Held;
    QTest::newRow("a copy on another display: the one copy here")
        << "missing"
        << "answers" << here << QStringLiteral("xcb-:8") << OneCopy::Claim::Held;
}

void TestOneCopy::claim()
{
    QFETCH(QString, atLock);
    QFETCH(QString, running);
    QFETCH(QString, runningFolder);
    QFETCH(QString, runningDisplay);
    QFETCH(OneCopy::Claim, claim);

    QTemporaryDir dir;
    const QString here = QStringLiteral("/opt/a");
    const QString display = QStringLiteral("xcb-:7");
#ifdef Q_OS_WIN
    if (atLock == u"fifo" || atLock == u"link")
        QSKIP("no FIFOs or links made by QFile::link on this system");
#endif
    QVERIFY(putAt(atLock, OneCopy(dir.path(), display, here).lockPath()));

    OneCopy runningCopy(dir.path(), runningDisplay, runningFolder);
    platform::UserLock lockOnly;
    if (running == u"lock only") {
        QCOMPARE(platform::UserLock::take(runningCopy.lockPath(), &lockOnly),
                 platform::UserLock::Outcome::Taken);
    } else if (!running.isEmpty()) {
        QCOMPARE(runningCopy.claim(OneCopy::kAnswerWithinMs), OneCopy::Claim::Held);
    }
    QSignalSpy asked(&runningCopy, &OneCopy::startedAgain);

    // The later start runs in a process of its own; here a thread, since the running copy
    // answers from this thread's event loop.
    std::atomic<bool> done = false;
    OneCopy::Claim later = OneCopy::Claim::Held;
    qint64 tookMs = 0;
    std::unique_ptr<QThread> start(QThread::create([&] {
        QElapsedTimer clock;
        clock.start();
        OneCopy copy(dir.path(), display, here);
        later = copy.claim(OneCopy::kAnswerWithinMs);
        tookMs = clock.elapsed();
        done = true;
    }));
    start->start();
    if (running == u"answers")
        QTRY_VERIFY_WITH_TIMEOUT(done, 5000);
    start->wait(); // a hung copy handles nothing meanwhile
    QCOMPARE(later, claim);
    // However it ends, the start decides within two seconds, time enough left to open a
    // window within three.
    QVERIFY2(tookMs <= 2000, qPrintable(QStringLiteral("took %1 ms").arg(tookMs)));

    // A request the running copy reads only once the later start has given up is not
    // answered: it does not come forward over the window that start opened.
    QTest::qWait(200);
    QCOMPARE(asked.size(), claim == OneCopy::Claim::Forwarded ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestOneCopy)
#include "tst_onecopy.moc"
