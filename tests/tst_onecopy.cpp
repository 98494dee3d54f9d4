// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/userlock.h"
#include "shell/onecopy.h"
#include "support/warnings.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <thread>

#include <sys/stat.h>
#include <unistd.h>

class TestOneCopy : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { testsupport::failOnWarnings(); }

    void displayName_data();
    void displayName();
    void longDisplayNamesAreShortened();

    void lock_data();
    void lock();
    void lockIsFreeOnceItsHolderGoes();

    void runtimeFolder_data();
    void runtimeFolder();

    void laterStartAsksTheRunningCopyAndEnds();
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
    const QByteArray native = QFile::encodeName(path);
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(native.constData(), 0600), 0);
    else if (kind == u"folder")
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("copy.lock")));
    else if (kind == u"link")
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("elsewhere")), path));

    platform::UserLock first;
    const platform::UserLock::Outcome outcome = platform::UserLock::take(path, &first);
    if (second == platform::UserLock::Outcome::Failed) {
        QCOMPARE(outcome, platform::UserLock::Outcome::Failed);
        QVERIFY(!first.held());
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("elsewhere"))));
        return;
    }
    QCOMPARE(outcome, platform::UserLock::Outcome::Taken);
    QVERIFY(first.held());
    QCOMPARE(QFile::permissions(path) &
                 ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
             QFile::Permissions());
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

    QTemporaryDir dir;
    QString path = runtime.isEmpty() ? QStringLiteral("relative/run") : dir.filePath(runtime);
    if (mode != 0) {
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("run"))));
        QCOMPARE(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("run"))).constData(),
                         mode_t(mode)),
                 0);
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
    QCOMPARE(*folder, QDir::tempPath() + QStringLiteral("/vellumstack-%1").arg(::geteuid()));
    struct stat status
    {
    };
    QCOMPARE(::lstat(QFile::encodeName(*folder).constData(), &status), 0);
    QCOMPARE(int(status.st_mode & 0777), 0700);
}

void TestOneCopy::laterStartAsksTheRunningCopyAndEnds()
{
    QTemporaryDir dir;
    const QString display = OneCopy::displayName(QStringLiteral("xcb"), QStringLiteral(":7"));
    OneCopy running(dir.path(), display);
    QVERIFY(running.claim(1000));
    QSignalSpy asked(&running, &OneCopy::startedAgain);

    // The later start runs in a process of its own; here a thread, since the running copy
    // answers from this thread's event loop.
    bool laterIsFirst = true;
    std::thread later([&] {
        OneCopy copy(dir.path(), display);
        laterIsFirst = copy.claim(5000);
    });
    QTRY_COMPARE(asked.size(), 1);
    later.join();
    QVERIFY(!laterIsFirst);

    // Another display of the same user is another copy.
    OneCopy elsewhere(dir.path(),
                      OneCopy::displayName(QStringLiteral("xcb"), QStringLiteral(":8")));
    QVERIFY(elsewhere.claim(1000));
    QCOMPARE(asked.size(), 1);
}

QTEST_GUILESS_MAIN(TestOneCopy)
#include "tst_onecopy.moc"
