// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testfiles.h"

#include "store/tables.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray numberedLines(int count)
{
    QByteArray content;
    for (int k = 1; k <= count; ++k)
        content += "line" + QByteArray::number(k) + "\r\n";
    return content;
}

} // namespace

class TestTables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void symbolTable_data();
    void symbolTable();
    void tagTableKeepsEmptyLinesAndBlanks();
    void missingFileLeavesCells();
};

void TestTables::symbolTable_data()
{
    QTest::addColumn<int>("fileLines");
    QTest::addColumn<int>("filled");

    QTest::newRow("36 lines fill every cell") << 36 << 36;
    QTest::newRow("40 lines: lines 37 to 40 are not read") << 40 << 36;
    QTest::newRow("10 lines fill r1 to r10 only") << 10 << 10;
    QTest::newRow("empty file fills nothing") << 0 << 0;
}

void TestTables::symbolTable()
{
    QFETCH(int, fileLines);
    QFETCH(int, filled);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alf.dll"));
    QVERIFY(testsupport::writeFile(path, numberedLines(fileLines)));

    store::SymbolCells cells;
    cells.fill("as created");
    QCOMPARE(store::loadTable(path, cells), filled);
    for (int k = 1; k <= 36; ++k) {
        const QByteArray expected = k <= filled ? "line" + QByteArray::number(k) : "as created";
        QCOMPARE(cells[size_t(k - 1)], expected);
    }
}

void TestTables::tagTableKeepsEmptyLinesAndBlanks()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sp.dll"));
    QByteArray content = "t1\r\n  blanks  \r\n\r\n";
    for (int k = 4; k <= 25; ++k)
        content += "t" + QByteArray::number(k) + "\n";
    QVERIFY(testsupport::writeFile(path, content));

    store::TagCells tags;
    QCOMPARE(store::loadTable(path, tags), 21);
    QCOMPARE(tags[0], QByteArray("t1"));
    QCOMPARE(tags[1], QByteArray("  blanks  "));
    QCOMPARE(tags[2], QByteArray());
    QCOMPARE(tags[3], QByteArray("t4"));
    QCOMPARE(tags[20], QByteArray("t21"));
}

void TestTables::missingFileLeavesCells()
{
    QTemporaryDir dir;
    store::TagCells tags;
    tags.fill("kept");
    QCOMPARE(store::loadTable(dir.filePath(QStringLiteral("absent.dll")), tags), 0);
    for (const QByteArray &tag : tags)
        QCOMPARE(tag, QByteArray("kept"));
}

QTEST_APPLESS_MAIN(TestTables)
#include "tst_tables.moc"
