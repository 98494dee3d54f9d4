// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/recordfile.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using platform::RecordFile;

namespace {

// One whole record: the little-endian length bytes as given, the text, then filler.
QByteArray record(QByteArrayView text, char filler = '\0')
{
    QByteArray bytes;
    bytes.append(char(text.size() & 0xff));
    bytes.append(char(text.size() >> 8));
    bytes.append(text);
    bytes.append(RecordFile::RecordLength - bytes.size(), filler);
    return bytes;
}

QByteArray recordWithLength(quint8 low, quint8 high, QByteArrayView rest = {})
{
    QByteArray bytes;
    bytes.append(char(low));
    bytes.append(char(high));
    bytes.append(rest);
    bytes.append(RecordFile::RecordLength - bytes.size(), 'x');
    return bytes;
}

} // namespace

class RecordFileTest : public QObject
{
    Q_OBJECT

private slots:
    // Every test starts from a folder of its own.
    void init()
    {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
    }

    void readText_data();
    void readText();
    void readMissingFileFails();
    void writeExtendsWithZeroBytes_data();
    void writeExtendsWithZeroBytes();
    void writeLeavesOtherRecords();
    void writeReplacesWholeRecord();
    void writeRefusesWhatNoRecordHolds_data();
    void writeRefusesWhatNoRecordHolds();
    void farRecordOfSparseFile();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("records.dat")); }
    std::optional<QTemporaryDir> m_dir;
};

void RecordFileTest::readText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("recordNumber");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray two = record("111", 'f') + record("22222", 'g');
    QTest::newRow("first record") << two << qint64(1) << QByteArray("111");
    QTest::newRow("second record, filler ignored") << two << qint64(2) << QByteArray("22222");
    QTest::newRow("record beyond the end is empty") << two << qint64(3) << QByteArray();
    QTest::newRow("record one byte short of its end is empty")
        << two + record("333").left(127) << qint64(3) << QByteArray();
    QTest::newRow("record 0 is empty") << two << qint64(0) << QByteArray();
    QTest::newRow("negative record is empty") << two << qint64(-1) << QByteArray();
    QTest::newRow("empty file") << QByteArray() << qint64(1) << QByteArray();
    QTest::newRow("length 0 is empty")
        << recordWithLength(0, 0, "123") << qint64(1) << QByteArray();
    QTest::newRow("zero bytes of a gap are empty")
        << QByteArray(128, '\0') + record("5") << qint64(1) << QByteArray();
    QTest::newRow("length is little-endian")
        << recordWithLength(3, 0, "12345") << qint64(1) << QByteArray("123");
    QTest::newRow("text of 126 bytes fills the record")
        << record(QByteArray(126, '7')) << qint64(1) << QByteArray(126, '7');
    QTest::newRow("length 127 is more than a record holds")
        << recordWithLength(127, 0, "9") << qint64(1) << QByteArray();
    QTest::newRow("big-endian reading of 3 would be 768")
        << recordWithLength(0, 3, "123") << qint64(1) << QByteArray();
    QTest::newRow("length 65535 reads nothing of the next record")
        << recordWithLength(0xff, 0xff) + record("2") << qint64(1) << QByteArray();
}

void RecordFileTest::readText()
{
    QFETCH(QByteArray, file);
    QFETCH(qint64, recordNumber);
    QFETCH(QByteArray, expected);

    QVERIFY(testsupport::writeFile(path(), file));
    std::optional<RecordFile> records = RecordFile::openForReading(path());
    QVERIFY(records);
    QCOMPARE(records->readText(recordNumber), expected);
}

void RecordFileTest::readMissingFileFails()
{
    QVERIFY(!RecordFile::openForReading(path()));
    QVERIFY(!QFile::exists(path()));
}

void RecordFileTest::writeExtendsWithZeroBytes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<qint64>("recordNumber");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("record 1 into an empty file") << QByteArray() << qint64(1) << record("16702203");
    QTest::newRow("record 2 into an empty file leaves record 1 zero")
        << QByteArray() << qint64(2) << QByteArray(128, '\0') + record("16702203");
    QTest::newRow("record 4 into a file of one record")
        << record("0", 'a') << qint64(4)
        << record("0", 'a') + QByteArray(256, '\0') + record("16702203");
    QTest::newRow("record 3 into a file ending inside record 2")
        << QByteArray(130, 'z') << qint64(3)
        << QByteArray(130, 'z') + QByteArray(126, '\0') + record("16702203");
    QTest::newRow("record 1 of a file ending inside it writes it whole")
        << QByteArray(20, 'z') << qint64(1) << record("16702203");
}

void RecordFileTest::writeExtendsWithZeroBytes()
{
    QFETCH(QByteArray, before);
    QFETCH(qint64, recordNumber);
    QFETCH(QByteArray, after);

    QVERIFY(testsupport::writeFile(path(), before));
    std::optional<RecordFile> records = RecordFile::openForWriting(path());
    QVERIFY(records);
    QVERIFY(records->writeText(recordNumber, "16702203"));
    QVERIFY(records->close());
    QCOMPARE(testsupport::readFile(path()), after);
}

void RecordFileTest::writeLeavesOtherRecords()
{
    const QByteArray one = record("1", '1');
    const QByteArray three = record("3", '3');
    const QByteArray four = recordWithLength(200, 0); // damaged, but not ours to mend
    QVERIFY(testsupport::writeFile(path(), one + record("2", '2') + three + four));

    std::optional<RecordFile> records = RecordFile::openForWriting(path());
    QVERIFY(records);
    QVERIFY(records->writeText(2, "9697533"));
    QVERIFY(records->close());
    QCOMPARE(testsupport::readFile(path()), one + record("9697533") + three + four);
}

void RecordFileTest::writeReplacesWholeRecord()
{
    QVERIFY(testsupport::writeFile(path(), record("16702203", 'q')));
    std::optional<RecordFile> records = RecordFile::openForWriting(path());
    QVERIFY(records);
    QVERIFY(records->writeText(1, "0"));
    QCOMPARE(records->readText(1), QByteArray("0"));
    // The most a record holds, one byte less than the text refused below.
    QVERIFY(records->writeText(2, QByteArray(126, '7')));
    QVERIFY(records->close());
    QCOMPARE(testsupport::readFile(path()), record("0") + record(QByteArray(126, '7')));
}

void RecordFileTest::writeRefusesWhatNoRecordHolds_data()
{
    QTest::addColumn<qint64>("recordNumber");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("text of 127 bytes") << qint64(1) << QByteArray(127, '1');
    QTest::newRow("record 0") << qint64(0) << QByteArray("1");
    QTest::newRow("offset beyond any file position")
        << std::numeric_limits<qint64>::max() << QByteArray("1");
}

void RecordFileTest::writeRefusesWhatNoRecordHolds()
{
    QFETCH(qint64, recordNumber);
    QFETCH(QByteArray, text);

    const QByteArray before = record("5", 'p');
    QVERIFY(testsupport::writeFile(path(), before));
    std::optional<RecordFile> records = RecordFile::openForWriting(path());
    QVERIFY(records);
    QVERIFY(!records->writeText(recordNumber, text));
    records->close();
    QCOMPARE(testsupport::readFile(path()), before);
}

void RecordFileTest::farRecordOfSparseFile()
{
    // A record 1 GiB into the file: written and read by its own 128 bytes. The gap is a
    // hole of the file system, not bytes written by the test.
    constexpr qint64 far = (qint64(1) << 30) / RecordFile::RecordLength;
    {
        std::optional<RecordFile> records = RecordFile::openForWriting(path());
        QVERIFY(records);
        QVERIFY(records->writeText(far, "42"));
        QVERIFY(records->close());
    }
    QCOMPARE(QFileInfo(path()).size(), far * RecordFile::RecordLength);
    std::optional<RecordFile> records = RecordFile::openForReading(path());
    QVERIFY(records);
    QCOMPARE(records->readText(far), QByteArray("42"));
    QCOMPARE(records->readText(far / 2), QByteArray());
    QCOMPARE(records->readText(far + 1), QByteArray());
}

QTEST_APPLESS_MAIN(RecordFileTest)
#include "tst_recordfile.moc"
