// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the words of each letter.
#include "dataset/builder.h"
#include "store/letterbases.h"
#include "store/textcode.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

class TestWordChoice : public QObject
{
    Q_OBJECT

private slots:
    void builderPutsTheLetterOnLine0_data();
    void builderPutsTheLetterOnLine0();
};

void TestWordChoice::builderPutsTheLetterOnLine0_data()
{
    QTest::addColumn<QByteArray>("article");
    QTest::addColumn<QByteArray>("line0");
    QTest::newRow("lower-case letter")
        << QByteArray("c /si/\n\xd8\xb3\xd9\x8a\n") << QByteArray("\xd3\xed");
    QTest::newRow("upper-case letter")
        << QByteArray("C /si/\n\xd8\xb3\xd9\x8a\n") << QByteArray("\xd3\xed");
    QTest::newRow("no entry of the letter") << QByteArray("ca /ka/\n\xd8\xa7\n") << QByteArray();
}

void TestWordChoice::builderPutsTheLetterOnLine0()
{
    QFETCH(QByteArray, article);
    QFETCH(QByteArray, line0);
    Fixture fixture({"cab /kab/\n\xd8\xaa\n", article});
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QTemporaryDir program;
    QCOMPARE(dataset::write(program.path(), built.set), std::nullopt);

    const QList<QByteArray> list = readLines(sourceFile(program.path(), u"c.dll"_qs));
    QCOMPARE(list.value(0), QByteArray("c"));
    QVERIFY(!list.mid(1).contains("c") && !list.mid(1).contains("C"));
    const QList<QByteArray> first = readLines(sourceFile(program.path(), u"first.dll"_qs));
    const int base = store::letterBase('c')->base;
    QCOMPARE(store::decode(first[base], built.set.cells), line0);
    QCOMPARE(dataset::formatReport(built.report).contains(u"\n  c* "_qs), !line0.isEmpty());
    QCOMPARE(store::decode(first[base + list.indexOf("cab")], built.set.cells), QByteArray("\xca"));
}

QTEST_APPLESS_MAIN(TestWordChoice)
#include "tst_wordchoice.moc"
