// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testfiles.h"

#include "platform/linereader.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(platform::FileCap)

class TestLineReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsLinesWithEveryBreak_data();
    void readsLinesWithEveryBreak();
    void skipThenReadKeepsPlace();
    void skipCountsLineEndsAcrossBlocks_data();
    void skipCountsLineEndsAcrossBlocks();
    void readPastEndFailsAndChangesNothing();
    void missingFileDoesNotOpen();
    void capsBoundWhatIsRead_data();
    void capsBoundWhatIsRead();

private:
    QTemporaryDir m_dir;
};

void TestLineReader::readsLinesWithEveryBreak_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArrayList>("lines");

    QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n") << QByteArrayList{"one", "two"};
    QTest::newRow("lone LF") << QByteArray("one\ntwo\n") << QByteArrayList{"one", "two"};
    QTest::newRow("lone CR") << QByteArray("one\rtwo\r") << QByteArrayList{"one", "two"};
    QTest::newRow("mixed breaks") << QByteArray("a\r\nb\nc\rd")
                                  << QByteArrayList{"a", "b", "c", "d"};
    QTest::newRow("last line without break")
        << QByteArray("one\r\ntwo") << QByteArrayList{"one", "two"};
    QTest::newRow("empty lines count")
        << QByteArray("\r\n\r\nx\r\n") << QByteArrayList{"", "", "x"};
    QTest::newRow("CR CR LF is an empty line between")
        << QByteArray("a\r\r\nb") << QByteArrayList{"a", "", "b"};
    QTest::newRow("empty file has no line") << QByteArray() << QByteArrayList{};
    QTest::newRow("blanks and high bytes kept")
        << QByteArray("  \xe1\xc7 \r\n") << QByteArrayList{"  \xe1\xc7 "};
}

void TestLineReader::readsLinesWithEveryBreak()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArrayList, lines);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(testsupport::writeFile(path, content));

    auto reader = platform::LineReader::open(path, {});
    QVERIFY(reader);
    QByteArrayList read;
    while (auto line = reader->readLine())
        read.append(*line);
    QCOMPARE(read, lines);
    QVERIFY(reader->atEnd());
}

void TestLineReader::skipThenReadKeepsPlace()
{
    const QString path = m_dir.filePath(QStringLiteral("skip"));
    QByteArray content;
    for (int i = 0; i < 100; ++i)
        content += QByteArray::number(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    QVERIFY(testsupport::writeFile(path, content));

    auto reader = platform::LineReader::open(path, {});
    QVERIFY(reader);
    QCOMPARE(reader->skipLines(40), 40);
    QCOMPARE(reader->readLine(), QByteArray("40"));
    QVERIFY(reader->skipLine());
    QCOMPARE(reader->readLine(), QByteArray("42"));
    QCOMPARE(reader->skipLines(1000), 57);
    QVERIFY(reader->atEnd());
}

void TestLineReader::readPastEndFailsAndChangesNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("short"));
    QVERIFY(testsupport::writeFile(path, "only\r\n"));
    auto reader = platform::LineReader::open(path, {});
    QVERIFY(reader);
    QCOMPARE(reader->readLine(), QByteArray("only"));
    QVERIFY(!reader->readLine());
    QVERIFY(!reader->skipLine());
    QCOMPARE(reader->skipLines(5), 0);
}

void TestLineReader::skipCountsLineEndsAcrossBlocks_data()
{
    QTest::addColumn<QByteArray>("content");

    // Whole blocks of 16 KiB are counted at once: a line end at the block's last byte.
    const QByteArray first(16383, 'x');
    QTest::newRow("CR LF across the block's end")
        << first + "\r\n" + QByteArray("ab\r\n").repeated(500);
    QTest::newRow("LF at the block's end") << first + "\n" + QByteArray("ab\n").repeated(500);
    QTest::newRow("lone CR at the block's end") << first + "\r" + QByteArray("ab\r").repeated(500);
    QTest::newRow("CR, then CR LF across the block's end")
        << first.chopped(1) + "\r\r\n" + QByteArray("ab\r\n").repeated(500);
    // Then blocks of 256 bytes, up to the one that holds the line end sought.
    QTest::newRow("CR LF across a short block's end")
        << QByteArray(255, 'x') + "\r\n" + QByteArray("ab\r\n").repeated(200);
    QTest::newRow("lone CR at a short block's end")
        << QByteArray(255, 'x') + "\r" + QByteArray("ab\r").repeated(200);
    QTest::newRow("mixed breaks over several blocks")
        << QByteArray("a\r\nbc\nd\re\r\n").repeated(1600);
    QTest::newRow("last line without a break") << QByteArray("ab\r\n").repeated(5000) + "end";
}

void TestLineReader::skipCountsLineEndsAcrossBlocks()
{
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(testsupport::writeFile(path, content));

    // Against skipping one line at a time, for every count up to one past the last line.
    auto reference = platform::LineReader::open(path, {});
    QVERIFY(reference);
    for (qint64 count = 0;; ++count) {
        auto reader = platform::LineReader::open(path, {});
        QCOMPARE(reader->skipLines(count), count);
        const std::optional<QByteArray> line = reader->readLine();
        const std::optional<QByteArray> expected = reference->readLine();
        QVERIFY2(line == expected, qPrintable(QString::number(count)));
        if (!expected)
            break;
    }
}

void TestLineReader::missingFileDoesNotOpen()
{
    QVERIFY(!platform::LineReader::open(m_dir.filePath(QStringLiteral("absent")), {}));
    QVERIFY(!platform::LineReader::open(m_dir.path(), {})); // a folder is not a text file
}

void TestLineReader::capsBoundWhatIsRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<platform::FileCap>("cap");
    QTest::addColumn<QByteArrayList>("lines"); // a cut line ends in "~"

    // Seven bytes, a first line of three.
    QTest::newRow("exactly at the size cap, a line exactly at the line cap: all read")
        << QByteArray("abc\r\nde") << platform::FileCap{7, 3} << QByteArrayList{"abc", "de"};
    QTest::newRow("one byte beyond the size cap: refused")
        << QByteArray("abc\r\nde") << platform::FileCap{6, 3} << QByteArrayList{"refused"};
    QTest::newRow("a line one byte past the line cap is cut, the next one read")
        << QByteArray("abcd\r\nxy") << platform::FileCap{-1, 3} << QByteArrayList{"abc~", "xy"};
    // Two lines of the line cap take 2 * (3 + 2) bytes: the rest of the file is never seen.
    QTest::newRow("with a line count only the start is read")
        << QByteArray("ab\r\ncd\r\nef\r\n") << platform::FileCap{-1, 3, 2}
        << QByteArrayList{"ab", "cd", "ef~"};
    // The start read is exactly two lines of the cap with their CR LF, or one byte short.
    QTest::newRow("a file within the start read ends with its last line whole")
        << QByteArray("abc\r\nab") << platform::FileCap{-1, 3, 2} << QByteArrayList{"abc", "ab"};
    QTest::newRow("two lines of the line cap fill the start read")
        << QByteArray("abc\r\nabc\r\nx") << platform::FileCap{-1, 3, 2}
        << QByteArrayList{"abc", "abc"};
    QTest::newRow("a line ending one byte past the start read is cut")
        << QByteArray("abc\r\nabcd\r\n") << platform::FileCap{-1, 3, 2}
        << QByteArrayList{"abc", "abc~"};
    QTest::newRow("a line running past the start read ends the reading")
        << QByteArray("abcdefgh\r\nxy\r\nz") << platform::FileCap{-1, 3, 2}
        << QByteArrayList{"abc~"};
}

void TestLineReader::capsBoundWhatIsRead()
{
    QFETCH(QByteArray, content);
    QFETCH(platform::FileCap, cap);
    QFETCH(QByteArrayList, lines);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(testsupport::writeFile(path, content));

    const auto readAll = [](platform::LineReader &reader) {
        QByteArrayList read;
        while (const std::optional<QByteArray> line = reader.readLine())
            read.append(*line + (reader.lastLineCut() ? "~" : ""));
        return read;
    };
    auto reader = platform::LineReader::open(path, cap);
    QCOMPARE(reader ? readAll(*reader) : QByteArrayList{"refused"}, lines);
    // The same text read before: the same lines under the same cap.
    if (reader) {
        platform::LineReader overText = platform::LineReader::overText(content, cap);
        QCOMPARE(readAll(overText), lines);
    }
}

QTEST_APPLESS_MAIN(TestLineReader)
#include "tst_linereader.moc"
