// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the nearest letter for what the symbol cells cannot hold.
#include "dataset/builder.h"
#include "dataset/nearestletter.h"
#include "store/letterbases.h"
#include "store/textcode.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

class TestNearestLetter : public QObject
{
    Q_OBJECT

private slots:
    void nearestLetter_data();
    void nearestLetter();
    void builderWritesTheNearestLetter();
};

void TestNearestLetter::nearestLetter_data()
{
    // Windows-1256 bytes: the one the cells lack, and what the set then holds.
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("notHeld");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<qint64>("replaced");
    QTest::newRow("alef with madda becomes alef")
        << QByteArray("\xc2\xc8") << QByteArray("\xc2") << QByteArray("\xc7\xc8") << qint64(1);
    QTest::newRow("alef with hamza above becomes alef")
        << QByteArray("\xc3") << QByteArray("\xc3") << QByteArray("\xc7") << qint64(1);
    QTest::newRow("alef with hamza below becomes alef")
        << QByteArray("\xc5\xc5") << QByteArray("\xc5") << QByteArray("\xc7\xc7") << qint64(2);
    QTest::newRow("waw with hamza becomes waw")
        << QByteArray("\xc4") << QByteArray("\xc4") << QByteArray("\xe6") << qint64(1);
    QTest::newRow("yeh with hamza becomes yeh")
        << QByteArray("\xc6") << QByteArray("\xc6") << QByteArray("\xed") << qint64(1);
    QTest::newRow("held alef with madda stays")
        << QByteArray("\xc2") << QByteArray("\xc3") << QByteArray("\xc2") << qint64(0);
    QTest::newRow("no alef held: alef with madda stays, to be dropped")
        << QByteArray("\xc2") << QByteArray("\xc2\xc7") << QByteArray("\xc2") << qint64(0);
    QTest::newRow("a vowel mark stays, to be dropped")
        << QByteArray("\xf3") << QByteArray("\xf3") << QByteArray("\xf3") << qint64(0);
    QTest::newRow("hamza alone stays, to be dropped")
        << QByteArray("\xc1") << QByteArray("\xc1") << QByteArray("\xc1") << qint64(0);
    QTest::newRow("punctuation stays, to be dropped")
        << QByteArray("!") << QByteArray("!") << QByteArray("!") << qint64(0);
}

void TestNearestLetter::nearestLetter()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, notHeld);
    QFETCH(QByteArray, written);
    QFETCH(qint64, replaced);
    std::array<bool, 256> held;
    held.fill(true);
    for (char c : notHeld)
        held[uchar(c)] = false;
    dataset::NearestLetters nearest(held);
    QCOMPARE(nearest.replace(text), written);
    qint64 counted = 0;
    for (qint64 count : nearest.replaced())
        counted += count;
    QCOMPARE(counted, replaced);
}

void TestNearestLetter::builderWritesTheNearestLetter()
{
    // 36 letters twice crowd out the alef with madda and the kasra, once each; U+0671 (alef
    // wasla) is not in Windows-1256 at all.
    QString crowd;
    for (char16_t c = 0x0621; c <= 0x064A; ++c) {
        if (c != 0x0622 && (c < 0x063B || c > 0x0640))
            crowd += QString(2, QChar(c)) + u' ';
    }
    crowd += u"\u064e\u064e"_qs;
    const QString word = u"\u0622\u0628\u0650 \u0671\u0628"_qs;
    Fixture fixture({"cab /kab/\n" + crowd.toUtf8() + "\n", "cob /kob/\n" + word.toUtf8() + "\n"});
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QTemporaryDir program;
    QCOMPARE(dataset::write(program.path(), built.set), std::nullopt);
    const QList<QByteArray> first = readLines(sourceFile(program.path(), u"first.dll"_qs));
    const int cob = store::letterBase('c')->base + 2;
    // The letters stay, the vowel mark goes.
    QCOMPARE(store::decode(first[cob], built.set.cells), QByteArray("\xc7\xc8 \xc7\xc8"));

    const dataset::BuildReport &report = built.report;
    QCOMPARE(report.replacedTotal(), 2);
    QCOMPARE(report.lostTotal(), 1);
    QCOMPARE(report.lost.value(0).character, char32_t(0x0650));
    const QString text = dataset::formatReport(report);
    QVERIFY2(text.contains(u"replaced by the nearest letter: 2 of "_qs), qPrintable(text));
    QVERIFY2(text.contains(u"U+0622 \u0622 as U+0627 \u0627 1 "_qs), qPrintable(text));
    QVERIFY2(text.contains(u"U+0671 \u0671 as U+0627 \u0627 1 "_qs), qPrintable(text));
    QVERIFY2(text.contains(u"characters dropped: 1 of "_qs), qPrintable(text));
}

QTEST_APPLESS_MAIN(TestNearestLetter)
#include "tst_nearestletter.moc"
