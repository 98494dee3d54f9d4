// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/rtfreader.h"

#include <QTest>

class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void plainText_data();
    void plainText();
    void plainFileStandsAsItIs_data();
    void plainFileStandsAsItIs();
    void deepNestingEndsInBoundedWork();
    void binLengthPastTheEnd();
};

namespace {

QByteArray doc(const QByteArray &body)
{
    // The space ends the last control word of the header.
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0 " + body + "}";
}

} // namespace

void TestRtfReader::plainText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("par is CR LF, last par dropped")
        << doc("  a\\par\r\n  ab\\par\r\n") << QByteArray("  a\r\n  ab");
    QTest::newRow("only one trailing par dropped") << doc("x\\par\\par ") << QByteArray("x\r\n");
    QTest::newRow("a last line break is kept") << doc("x\\line ") << QByteArray("x\r\n");
    QTest::newRow("a line break after the last par is kept")
        << doc("x\\par\\line ") << QByteArray("x\r\n\r\n");
    QTest::newRow("a last par after a line break is dropped")
        << doc("x\\line\\par ") << QByteArray("x\r\n");
    QTest::newRow("an index of one par is empty") << doc("\\par ") << QByteArray();
    QTest::newRow("line break not at the end stays") << doc("x\\par y") << QByteArray("x\r\ny");
    QTest::newRow("CR and LF of the document ignored")
        << doc("ab\r\ncd\ref\ngh") << QByteArray("abcdefgh");
    QTest::newRow("control word delimiter space is eaten")
        << doc("\\b bold\\b0  two") << QByteArray("bold two");
    QTest::newRow("font table skipped")
        << doc("{\\fonttbl{\\f0\\fmodern Courier New;}{\\f1 Arial;}}\\f0 text")
        << QByteArray("text");
    QTest::newRow("colour table and stylesheet skipped")
        << doc("{\\colortbl;\\red255\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}x")
        << QByteArray("x");
    QTest::newRow("info, header and footer skipped")
        << doc("{\\info{\\title T}{\\author A}}{\\header H}{\\footerl F}body")
        << QByteArray("body");
    QTest::newRow("picture skipped with its hex data")
        << doc("a{\\pict\\wmetafile8 0102ff{}}b") << QByteArray("ab");
    QTest::newRow("starred destination skipped with its groups")
        << doc("a{\\*\\generator x{y}z;}b{\\*\\unknownword q}c") << QByteArray("abc");
    QTest::newRow("field result shown, instruction skipped")
        << doc("{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}") << QByteArray("shown");
    QTest::newRow("escaped braces and backslash") << doc("\\{a\\}\\\\b") << QByteArray("{a}\\b");
    QTest::newRow("tab") << doc("a\\tab b") << QByteArray("a\tb");
    QTest::newRow("hex bytes in cp1252")
        << doc("caf\\'e9 \\'80\\'9f") << QByteArray("caf\xe9 \x80\x9f");
    QTest::newRow("hex with upper-case digits") << doc("\\'C9") << QByteArray("\xc9");
    QTest::newRow("hex escape before a hex letter") << doc("fianc\\'e9e")
                                                    << QByteArray("fianc\xe9"
                                                                  "e");
    QTest::newRow("hex escape before a digit") << doc("\\'e91")
                                               << QByteArray("\xe9"
                                                             "1");
    QTest::newRow("unicode with one fallback") << doc("\\u233?x") << QByteArray("\xe9x");
    QTest::newRow("unicode negative parameter")
        << doc("\\u-3?") << QByteArray("?"); // U+FFFD has no Windows-1252 byte
    QTest::newRow("unicode to cp1252 byte of euro") << doc("\\u8364?") << QByteArray("\x80");
    // Each end of the ranges of \\u: kept as the byte itself below U+0080 and from U+00A0 to
    // U+00FF; given to the code page in between and above; a high surrogate stands for its
    // pair as "?", a low one yields nothing; so do 0 and what lies beyond 16 bits.
    QTest::newRow("unicode U+007F and U+0080") << doc("\\u127?\\u128?x") << QByteArray("\x7f?x");
    QTest::newRow("unicode U+009F and U+00A0") << doc("\\u159?\\u160?x") << QByteArray("?\xa0x");
    QTest::newRow("unicode U+00FF and U+0100") << doc("\\u255?\\u256?x") << QByteArray("\xff?x");
    QTest::newRow("unicode U+D7FF and U+D800") << doc("\\u55295?\\u55296?x") << QByteArray("??x");
    QTest::newRow("unicode U+DBFF and U+DC00") << doc("\\u56319?\\u56320?x") << QByteArray("?x");
    QTest::newRow("unicode U+DFFF and U+E000") << doc("\\u57343?\\u57344?x") << QByteArray("?x");
    QTest::newRow("unicode 0 and 65536 yield nothing") << doc("\\u0?\\u65536?x") << QByteArray("x");
    QTest::newRow("unicode U+FFFF as -1") << doc("\\u-1?x") << QByteArray("?x");
    QTest::newRow("unicode fallback of a hex byte") << doc("\\u233\\'e9x") << QByteArray("\xe9x");
    QTest::newRow("uc2 skips two fallback characters")
        << doc("\\uc2\\u233 ab c") << QByteArray("\xe9 c");
    QTest::newRow("uc0 skips nothing") << doc("\\uc0\\u233 ab")
                                       << QByteArray("\xe9"
                                                     "ab");
    QTest::newRow("uc restored when its group ends") << doc("{\\uc2 \\u233 ab}\\u233 ab")
                                                     << QByteArray("\xe9\xe9"
                                                                   "b");
    QTest::newRow("fallback stops at the group end") << doc("{\\uc3\\u233 a}b")
                                                     << QByteArray("\xe9"
                                                                   "b");
    QTest::newRow("bin data skipped, braces in it too")
        << doc("a\\bin4 {}\\xb") << QByteArray("ab");
    QTest::newRow("text after the final brace ignored")
        << QByteArray("{\\rtf1 a\\par}trailing\\par more") << QByteArray("a");
    QTest::newRow("unterminated document keeps its text")
        << QByteArray("{\\rtf1 a\\par b") << QByteArray("a\r\nb");
    QTest::newRow("backslash line end is a paragraph") << doc("a\\\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("typographic words")
        << doc("\\lquote x\\rquote\\emdash") << QByteArray("\x91x\x92\x97");
    // The document's group and 4094 inside it: a hidden group at the next depth, the 4096th,
    // is tracked and gives the state back; one deeper shares the state of the group around
    // it, which stays hidden until that group ends.
    const auto nested = [](int depth) {
        return QByteArray("{\\rtf1 ") + QByteArray(depth, '{') + "{\\fonttbl x}y" +
               QByteArray(depth, '}') + "z}";
    };
    QTest::newRow("hidden group at the deepest tracked depth") << nested(4094) << QByteArray("yz");
    QTest::newRow("hidden group one deeper") << nested(4095) << QByteArray("z");
    QTest::newRow("hidden group state restored") << doc("{\\fonttbl a}{b}c") << QByteArray("bc");
}

void TestRtfReader::plainText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QByteArray, text);
    QCOMPARE(platform::rtfPlainText(rtf), text);
}

void TestRtfReader::plainFileStandsAsItIs_data()
{
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("CR LF") << QByteArray("  a\r\n  ab\r\n");
    QTest::newRow("lone LF") << QByteArray("  a\n  ab");
    QTest::newRow("lone CR") << QByteArray("  a\r  ab\r");
    QTest::newRow("braces and backslashes") << QByteArray("{\\b x}");
    QTest::newRow("rtf header not at the start") << QByteArray(" {\\rtf1 x}");
    QTest::newRow("cp1252 bytes") << QByteArray("\xe9\x80\xff");
    QTest::newRow("empty") << QByteArray();
}

void TestRtfReader::plainFileStandsAsItIs()
{
    QFETCH(QByteArray, file);
    QCOMPARE(platform::rtfPlainText(file), file);
}

void TestRtfReader::deepNestingEndsInBoundedWork()
{
    // Far deeper than any stack of calls could go; the reader must neither crash nor lose
    // the text around the nesting.
    const int depth = 200000;
    const QByteArray rtf =
        "{\\rtf1 a" + QByteArray(depth, '{') + "b" + QByteArray(depth, '}') + "c\\par}";
    QCOMPARE(platform::rtfPlainText(rtf), QByteArray("abc"));
}

void TestRtfReader::binLengthPastTheEnd()
{
    QCOMPARE(platform::rtfPlainText("{\\rtf1 a\\bin999999999999 xyz"), QByteArray("a"));
}

QTEST_APPLESS_MAIN(TestRtfReader)
#include "tst_rtfreader.moc"
