// SPDX-License-Identifier: GPL-3.0-or-later
// The writer's syncs and renames in the order it makes them. This test is linked with the
// system's fsync and rename wrapped (tests/CMakeLists.txt): each call the writer makes is
// recorded here, and any one of them can be made to fail.
#include "support/testfiles.h"

#include "platform/atomicwrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <sys/stat.h>

namespace {

QString g_folder;    // names in it are recorded relative to it
QStringList g_calls; // what the writer asked of the system, in order
int g_failAt = 0;    // the call, counted from 1, that fails with EIO; 0: none

// A name in the folder; the random part of a temporary name as XXXXXX.
QString named(const QString &path)
{
    if (path == g_folder)
        return QStringLiteral(".");
    QString name = path.startsWith(g_folder + u'/') ? path.mid(g_folder.size() + 1) : path;
    static const QRegularExpression random(QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    if (name.startsWith(u'.'))
        name.replace(random, QStringLiteral(".XXXXXX"));
    return name;
}

// Records the call; true when it is the one to fail.
bool record(const QString &call)
{
    g_calls << call;
    if (g_calls.size() != g_failAt)
        return false;
    errno = EIO;
    return true;
}

} // namespace

extern "C" {
int __real_fsync(int fd);
int __real_rename(const char *from, const char *to);

int __wrap_fsync(int fd)
{
    struct stat status
    {
    };
    ::fstat(fd, &status);
    const QString name = named(QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(fd)));
    if (record(S_ISDIR(status.st_mode)
                   ? QStringLiteral("sync folder %1").arg(name)
                   : QStringLiteral("sync %1 (%2 bytes)").arg(name).arg(status.st_size)))
        return -1;
    return __real_fsync(fd);
}

int __wrap_rename(const char *from, const char *to)
{
    if (record(QStringLiteral("rename %1 to %2")
                   .arg(named(QFile::decodeName(from)), named(QFile::decodeName(to)))))
        return -1;
    return __real_rename(from, to);
}
}

class TestAtomicWrite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void replacingWritesSyncsRenamesThenSyncsTheFolder();
    void syncedWriteSyncsTheFileItWrote();
    void failureAtEachStep_data();
    void failureAtEachStep();

private:
    std::optional<QTemporaryDir> m_dir;
    QString path() const { return m_dir->filePath(QStringLiteral("data.txt")); }
    QStringList entries() const
    {
        return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
};

void TestAtomicWrite::init()
{
    m_dir.emplace();
    g_folder = QFileInfo(m_dir->path()).canonicalFilePath();
    g_calls.clear();
    g_failAt = 0;
}

void TestAtomicWrite::replacingWritesSyncsRenamesThenSyncsTheFolder()
{
    QVERIFY(testsupport::writeFile(path(), "old content"));
    g_calls.clear();
    QCOMPARE(platform::writeFileAtomically(path(), "new"), std::nullopt);
    // The new bytes are on the disk before their name replaces the old file, and the
    // folder's new entry is on the disk before the write counts as done.
    QCOMPARE(g_calls, (QStringList{"sync .data.txt.XXXXXX (3 bytes)",
                                   "rename .data.txt.XXXXXX to data.txt", "sync folder ."}));
    QCOMPARE(testsupport::readFile(path()), QByteArray("new"));
    QCOMPARE(entries(), QStringList{"data.txt"});
    // Readable by all, as a file the user writes: not the temporary file's own 0600.
    struct stat status
    {
    };
    QCOMPARE(::stat(QFile::encodeName(path()).constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, 0644u);
}

void TestAtomicWrite::syncedWriteSyncsTheFileItWrote()
{
    QVERIFY(testsupport::writeFile(path(), "a longer old content"));
    g_calls.clear();
    QCOMPARE(platform::writeFileSynced(path(), "new"), std::nullopt);
    QCOMPARE(g_calls, QStringList{"sync data.txt (3 bytes)"});
    QCOMPARE(testsupport::readFile(path()), QByteArray("new"));
}

void TestAtomicWrite::failureAtEachStep_data()
{
    QTest::addColumn<int>("failAt");
    QTest::addColumn<QString>("message"); // the start of it, the folder left out
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("the new file's sync fails: the old file stays, no temporary file left")
        << 1 << "cannot sync .data.txt.XXXXXX: " << QByteArray("old");
    QTest::newRow("the rename fails: the old file stays, no temporary file left")
        << 2 << "cannot rename .data.txt.XXXXXX to data.txt: " << QByteArray("old");
    QTest::newRow("the folder's sync fails: the new file is in place, and it is said")
        << 3 << "cannot sync .: " << QByteArray("new");
}

void TestAtomicWrite::failureAtEachStep()
{
    QFETCH(int, failAt);
    QFETCH(QString, message);
    QFETCH(QByteArray, content);

    QVERIFY(testsupport::writeFile(path(), "old"));
    g_calls.clear();
    g_failAt = failAt;
    const std::optional<QString> error = platform::writeFileAtomically(path(), "new");
    QVERIFY(error);
    QString shown = *error;
    shown.replace(g_folder + u'/', QString()).replace(g_folder, QStringLiteral("."));
    shown.replace(QRegularExpression(QStringLiteral("\\.data\\.txt\\.[A-Za-z0-9]{6}")),
                  QStringLiteral(".data.txt.XXXXXX"));
    QVERIFY2(shown.startsWith(message) && shown.endsWith(QString::fromLocal8Bit(strerror(EIO))),
             qPrintable(shown));
    QCOMPARE(g_calls.size(), failAt); // nothing after the failure
    QCOMPARE(testsupport::readFile(path()), content);
    QCOMPARE(entries(), QStringList{"data.txt"});
}

QTEST_APPLESS_MAIN(TestAtomicWrite)
#include "tst_atomicwrite.moc"
