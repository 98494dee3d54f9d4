// SPDX-License-Identifier: GPL-3.0-or-later
// The two code pages of the data set, read and written the same on every system.
#include "platform/codepage.h"

#include <QTest>

using namespace platform::codepage;

class TestCodePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodes_data();
    void decodes();
    void everyByteComesBack();
    void encodesWhatItCannotHoldAsSubstitute_data();
    void encodesWhatItCannotHoldAsSubstitute();
};

void TestCodePage::decodes_data()
{
    QTest::addColumn<bool>("arabic");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("western: the last ASCII byte") << false << QByteArray("\x7f") << u"\x7f"_qs;
    QTest::newRow("western: the first byte past ASCII, the euro")
        << false << QByteArray("\x80") << u"\u20ac"_qs;
    QTest::newRow("western: an undefined byte is its C1 control")
        << false << QByteArray("\x81") << u"\u0081"_qs;
    QTest::newRow("western: the last byte") << false << QByteArray("\xff") << u"\u00ff"_qs;
    QTest::newRow("western: a word") << false << QByteArray("Caf\xe9") << u"Caf\u00e9"_qs;
    QTest::newRow("arabic: alef, beh") << true << QByteArray("\xc7\xc8") << u"\u0627\u0628"_qs;
    QTest::newRow("arabic: the first byte past ASCII, the euro")
        << true << QByteArray("\x80") << u"\u20ac"_qs;
    QTest::newRow("arabic: the last byte, yeh barree")
        << true << QByteArray("\xff") << u"\u06d2"_qs;
    QTest::newRow("arabic: the right-to-left mark") << true << QByteArray("\xfe") << u"\u200f"_qs;
    QTest::newRow("arabic: a NUL byte inside") << true << QByteArray("a\0b", 3) << u"a\0b"_qs;
}

void TestCodePage::decodes()
{
    QFETCH(bool, arabic);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(arabic ? fromArabic(bytes) : fromWestern(bytes), text);
    QCOMPARE(arabic ? toArabic(text) : toWestern(text), bytes);
}

void TestCodePage::everyByteComesBack()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QCOMPARE(fromWestern(all).size(), 256);
    QCOMPARE(toWestern(fromWestern(all)), all);
    QCOMPARE(toArabic(fromArabic(all)), all);
}

void TestCodePage::encodesWhatItCannotHoldAsSubstitute_data()
{
    QTest::addColumn<bool>("arabic");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("western: Arabic") << false << u"a\u0627b"_qs
                                     << QByteArray("a\x1a"
                                                   "b");
    QTest::newRow("arabic: a Latin letter with an accent the page lacks")
        << true << u"\u00e1"_qs << QByteArray("\x1a");
    QTest::newRow("a character outside the basic plane is one substitute")
        << false << u"a\U0001F600b"_qs
        << QByteArray("a\x1a"
                      "b");
    QTest::newRow("a lone surrogate") << true << QString(QChar(0xd800)) << QByteArray("\x1a");
}

void TestCodePage::encodesWhatItCannotHoldAsSubstitute()
{
    QFETCH(bool, arabic);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(arabic ? toArabic(text) : toWestern(text), bytes);
}

QTEST_APPLESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
