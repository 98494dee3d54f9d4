// SPDX-License-Identifier: GPL-3.0-or-later
// What the opener and the writer make of the files each system can put in their way: a
// folder, a device name, a name in other scripts, a file another program holds open.
#include "support/testfiles.h"

#include "platform/atomicwrite.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestPlatformFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openerTakesDiskFilesOnly_data();
    void openerTakesDiskFilesOnly();
    void writerAndAnOpenTarget_data();
    void writerAndAnOpenTarget();
};

void TestPlatformFiles::openerTakesDiskFilesOnly_data()
{
    QTest::addColumn<QString>("name");     // in a fresh folder; absolute when it begins with /
    QTest::addColumn<QByteArray>("write"); // null: nothing is written there
    QTest::addColumn<bool>("holdOpen");    // another program has it open for writing
    QTest::addColumn<bool>("opened");

    QTest::newRow("a regular file") << "a.dll" << QByteArray("ab\r\n") << false << true;
    QTest::newRow("a name in Arabic and accented letters")
        << QString::fromUtf8("définitions-قاموس.dll") << QByteArray("x") << false << true;
    QTest::newRow("a file another program is writing")
        << "first.dll" << QByteArray("1234") << true << true;
    QTest::newRow("a folder") << "source" << QByteArray() << false << false;
    QTest::newRow("nothing there") << "gone.dll" << QByteArray() << false << false;
#ifdef Q_OS_WIN
    // Device names are devices in every folder.
    QTest::newRow("NUL") << "NUL" << QByteArray() << false << false;
    QTest::newRow("CON") << "CON" << QByteArray() << false << false;
    QTest::newRow("COM1 with an extension") << "COM1.dll" << QByteArray() << false << false;
#else
    QTest::newRow("the null device") << "/dev/null" << QByteArray() << false << false;
#endif
}

void TestPlatformFiles::openerTakesDiskFilesOnly()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, write);
    QFETCH(bool, holdOpen);
    QFETCH(bool, opened);

    QTemporaryDir dir;
    const QString path = name.startsWith(u'/') ? name : dir.filePath(name);
    if (name == u"source")
        QVERIFY(QDir(dir.path()).mkdir(name));
    if (!write.isNull())
        QVERIFY(testsupport::writeFile(path, write));
    QFile writer(path);
    if (holdOpen)
        QVERIFY(writer.open(QIODevice::ReadWrite));

    const std::unique_ptr<QFile> file = platform::openRegularFile(path);
    QCOMPARE(bool(file), opened);
    if (file)
        QCOMPARE(file->readAll(), write);
    QCOMPARE(platform::readRegularFile(path, 1024).has_value(), opened);
}

void TestPlatformFiles::writerAndAnOpenTarget_data()
{
    QTest::addColumn<bool>("heldByOpener"); // else by a program that does not share removal
    QTest::addColumn<bool>("replaced");

    // POSIX replaces a name whatever holds the file open. Windows refuses to replace a file
    // that any program holds open, even one that shares its removal as the opener does; the
    // old file must then stay whole, and the refusal be said.
#ifdef Q_OS_WIN
    QTest::newRow("held by the program's own opener: refused, kept") << true << false;
    QTest::newRow("held by a program that does not share removal: refused, kept") << false << false;
#else
    QTest::newRow("held by the program's own opener: replaced") << true << true;
    QTest::newRow("held by another program: replaced") << false << true;
#endif
}

void TestPlatformFiles::writerAndAnOpenTarget()
{
    QFETCH(bool, heldByOpener);
    QFETCH(bool, replaced);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Setting.Dll"));
    QVERIFY(testsupport::writeFile(path, "old"));
    std::unique_ptr<QFile> held;
    if (heldByOpener) {
        held = platform::openRegularFile(path);
    } else {
        held = std::make_unique<QFile>(path);
        QVERIFY(held->open(QIODevice::ReadOnly));
    }
    QVERIFY(held);

    const std::optional<QString> error = platform::writeFileAtomically(path, "new");
    QCOMPARE(!error.has_value(), replaced);
    held.reset();
    QCOMPARE(testsupport::readFile(path), replaced ? QByteArray("new") : QByteArray("old"));
    // No temporary file is left beside it either way.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("Setting.Dll")});
}

QTEST_APPLESS_MAIN(TestPlatformFiles)
#include "tst_platformfiles.moc"
