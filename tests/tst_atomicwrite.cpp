// SPDX-License-Identifier: GPL-3.0-or-later
// The writer's syncs and renames in the order it makes them: each one the writer asks of the
// system is recorded here, and any one of them can be made to fail.
#include "support/testfiles.h"

#include "platform/atomicwrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A name in folder; the random part of a temporary name as XXXXXX.
QString named(const QString &folder, const QString &path)
{
    QString name = QDir(folder).relativeFilePath(QFileInfo(path).absoluteFilePath());
    static const QRegularExpression random(QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    if (name.startsWith(u'.') && name != u".")
        name.replace(random, QStringLiteral(".XXXXXX"));
    return name;
}

// What the writer asked of the system, in order; the call counted from 1 as failAt fails.
class Recorder : public platform::WriteObserver
{
public:
    explicit Recorder(const QString &folder) : m_folder(QFileInfo(folder).absoluteFilePath())
    {
        platform::setWriteObserver(this);
    }
    ~Recorder() override { platform::setWriteObserver(nullptr); }

    QStringList calls;
    int failAt = 0; // 0: none

    bool syncing(const QString &path, qint64 size) override
    {
        return record(
            size < 0 ? QStringLiteral("sync folder %1").arg(named(m_folder, path))
                     : QStringLiteral("sync %1 (%2 bytes)").arg(named(m_folder, path)).arg(size));
    }
    bool renaming(const QString &from, const QString &to) override
    {
        return record(
            QStringLiteral("rename %1 to %2").arg(named(m_folder, from), named(m_folder, to)));
    }
    bool removing(const QString &path) override
    {
        return record(QStringLiteral("remove %1").arg(named(m_folder, path)));
    }

private:
    bool record(const QString &call)
    {
        calls << call;
        return calls.size() == failAt;
    }

    QString m_folder;
};

} // namespace

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
    std::optional<Recorder> m_recorder;
    QString path() const { return m_dir->filePath(QStringLiteral("data.txt")); }
    QStringList entries() const
    {
        return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }
};

void TestAtomicWrite::init()
{
    m_recorder.reset();
    m_dir.emplace();
    m_recorder.emplace(m_dir->path());
}

void TestAtomicWrite::replacingWritesSyncsRenamesThenSyncsTheFolder()
{
    QVERIFY(testsupport::writeFile(path(), "old content"));
    m_recorder->calls.clear();
    QCOMPARE(platform::writeFileAtomically(path(), "new"), std::nullopt);
    // The new bytes are on the disk before their name replaces the old file, and the
    // folder's new entry is on the disk before the write counts as done.
    QCOMPARE(m_recorder->calls,
             (QStringList{"sync .data.txt.XXXXXX (3 bytes)", "rename .data.txt.XXXXXX to data.txt",
                          "sync folder ."}));
    QCOMPARE(testsupport::readFile(path()), QByteArray("new"));
    QCOMPARE(entries(), QStringList{"data.txt"});
#ifdef Q_OS_UNIX
    // Readable by all, as a file the user writes: not the temporary file's own 0600.
    QCOMPARE(QFile::permissions(path()), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadUser | QFileDevice::WriteUser |
                                             QFileDevice::ReadGroup | QFileDevice::ReadOther);
#endif
}

void TestAtomicWrite::syncedWriteSyncsTheFileItWrote()
{
    QVERIFY(testsupport::writeFile(path(), "a longer old content"));
    m_recorder->calls.clear();
    QCOMPARE(platform::writeFileSynced(path(), "new"), std::nullopt);
    QCOMPARE(m_recorder->calls, QStringList{"sync data.txt (3 bytes)"});
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
    m_recorder->calls.clear();
    m_recorder->failAt = failAt;
    const std::optional<QString> error = platform::writeFileAtomically(path(), "new");
    QVERIFY(error);
    QString shown = *error;
    shown.replace(m_dir->path() + u'/', QString()).replace(m_dir->path(), QStringLiteral("."));
    shown.replace(QRegularExpression(QStringLiteral("\\.data\\.txt\\.[A-Za-z0-9]{6}")),
                  QStringLiteral(".data.txt.XXXXXX"));
    QVERIFY2(shown.startsWith(message) &&
                 shown.endsWith(platform::systemErrorText(platform::kInjectedError)),
             qPrintable(shown));
    QCOMPARE(m_recorder->calls.size(), failAt); // nothing after the failure
    QCOMPARE(testsupport::readFile(path()), content);
    QCOMPARE(entries(), QStringList{"data.txt"});
}

QTEST_APPLESS_MAIN(TestAtomicWrite)
#include "tst_atomicwrite.moc"
