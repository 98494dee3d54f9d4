// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testfiles.h"

#include "store/datafolder.h"
#include "store/keptfiles.h"

#include <QTemporaryDir>
#include <QTest>

class TestDataFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesLetterFiles_data();
    void namesLetterFiles();
    void keptWithinTheBudget_data();
    void keptWithinTheBudget();
};

void TestDataFolder::namesLetterFiles_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("list"); // empty: the initial cannot begin a file name
    QTest::addColumn<QString>("index");

    QTest::newRow("a capital, folded")
        << QByteArray("Water") << u"/p/source/w.dll"_qs << u"/p/source1/w.hhh"_qs;
    QTest::newRow("a Windows-1252 capital, folded")
        << QByteArray("\xc9t\xe9") << u"/p/source/\u00e9.dll"_qs << u"/p/source1/\u00e9.hhh"_qs;
    QTest::newRow("the space, first after the controls")
        << QByteArray(" x") << u"/p/source/ .dll"_qs << u"/p/source1/ .hhh"_qs;
    QTest::newRow("the last control character") << QByteArray("\x1fx") << QString() << QString();
    QTest::newRow("the tilde, last before DEL")
        << QByteArray("~") << u"/p/source/~.dll"_qs << u"/p/source1/~.hhh"_qs;
    QTest::newRow("DEL") << QByteArray("\x7f") << QString() << QString();
    QTest::newRow("a separator") << QByteArray("/etc") << QString() << QString();
    QTest::newRow("a backslash") << QByteArray("\\x") << QString() << QString();
    QTest::newRow("a colon") << QByteArray(":x") << QString() << QString();
    QTest::newRow("nothing typed") << QByteArray() << QString() << QString();
}

void TestDataFolder::namesLetterFiles()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, list);
    QFETCH(QString, index);
    const store::DataFolder folder(u"/p"_qs);
    QCOMPARE(folder.letterList(text).value_or(QString()), list);
    QCOMPARE(folder.letterIndex(text).value_or(QString()), index);
}

void TestDataFolder::keptWithinTheBudget_data()
{
    QTest::addColumn<int>("budget");
    QTest::addColumn<int>("first");  // bytes of the first file read
    QTest::addColumn<int>("second"); // and of the second; 0: none
    QTest::addColumn<bool>("firstKept");
    QTest::addColumn<bool>("secondKept");

    QTest::newRow("a file exactly of the budget is kept") << 8 << 8 << 0 << true << false;
    QTest::newRow("one byte over the budget: not kept") << 8 << 9 << 0 << false << false;
    QTest::newRow("two that fill the budget together: both kept") << 8 << 5 << 3 << true << true;
    QTest::newRow("one byte more: the second pushes the first out") << 8 << 5 << 4 << false << true;
    QTest::newRow("a second over the budget leaves the first kept") << 8 << 5 << 9 << true << false;
}

void TestDataFolder::keptWithinTheBudget()
{
    QFETCH(int, budget);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(bool, firstKept);
    QFETCH(bool, secondKept);
    QTemporaryDir dir;
    const QString paths[2] = {dir.filePath(QStringLiteral("first")),
                              dir.filePath(QStringLiteral("second"))};
    store::KeptFiles<QByteArray> files(budget);
    int reads = 0;
    const auto load = [&](const QString &path) {
        return files.load(path, -1, [&reads](QFile &file) {
            ++reads;
            return file.read(file.size());
        });
    };
    QVERIFY(testsupport::writeFile(paths[0], QByteArray(first, 'a')));
    QCOMPARE(load(paths[0]), QByteArray(first, 'a'));
    if (second > 0) {
        QVERIFY(testsupport::writeFile(paths[1], QByteArray(second, 'b')));
        QCOMPARE(load(paths[1]), QByteArray(second, 'b'));
    }

    // A kept file is given again without being read; the last one read is looked at first,
    // as reading one that was not kept may push the other out.
    for (int i = 1; i >= 0; --i) {
        const bool kept = i == 0 ? firstKept : secondKept;
        if (i == 1 && second == 0)
            continue;
        const int before = reads;
        QVERIFY(load(paths[i]));
        QCOMPARE(reads, before + (kept ? 0 : 1));
    }
}

QTEST_APPLESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
