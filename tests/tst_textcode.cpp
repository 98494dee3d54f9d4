// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/textcode.h"

#include <QSet>
#include <QTest>

namespace {

// Cells that tell one another apart: cell k holds "<k>" with k 1-based.
store::SymbolCells numberedCells()
{
    store::SymbolCells cells;
    for (int k = 0; k < 36; ++k)
        cells[k] = "<" + QByteArray::number(k + 1) + ">";
    return cells;
}

QByteArray fixedAlphabet()
{
    return "0123456789&'(),-/;<=>?\" .:abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
}

} // namespace

class TestTextCode : public QObject
{
    Q_OBJECT

private slots:
    void decodesGroups_data();
    void decodesGroups();
    void cellTextIsReadWhenMet();
    void tableIsComplete();
    void roundTripOfEveryFixedCharacter();
    void roundTripOfEveryCell();
    void encodedLineHasNoBlanksAndStepsByFour();
    void encoderReportsWhatItCannotEncode();
    void encoderPrefersLongestCell();
};

void TestTextCode::decodesGroups_data()
{
    QTest::addColumn<QByteArray>("encoded");
    QTest::addColumn<QByteArray>("decoded");

    const QByteArray space = *store::groupOfCharacter(' ');
    const QByteArray a = *store::groupOfCharacter('a');

    QTest::newRow("empty line stays empty") << QByteArray() << QByteArray();
    const QByteArray code12(1, store::decode("1200", {})[0]);
    QTest::newRow("1234 and 1299 both yield code 12") << QByteArray("12341299") << code12 + code12;
    QTest::newRow("group beginning with 0 yields nothing") << QByteArray("0012") << QByteArray();
    QTest::newRow("99 group outside 9900..9924 yields nothing")
        << QByteArray("9925") << QByteArray();
    QTest::newRow("9999 yields nothing") << QByteArray("9999") << QByteArray();
    QTest::newRow("four-digit code 9900 is the digit 0") << QByteArray("9900") << QByteArray("0");
    QTest::newRow("short last group of three read by two digits")
        << QByteArray(a + "131") << QByteArray("aa");
    QTest::newRow("short last group of two read by two digits")
        << QByteArray(a + "13") << QByteArray("aa");
    QTest::newRow("short last group of one yields nothing")
        << QByteArray(a + "1") << QByteArray("a");
    QTest::newRow("short group 990 is no four-digit code") << QByteArray("990") << QByteArray();
    QTest::newRow("group with a non-digit yields nothing") << QByteArray("1a13") << QByteArray();
    QTest::newRow("unmatched group does not shift the step")
        << QByteArray("0000" + a + "99xx" + space) << QByteArray("a ");
    QTest::newRow("decoded text yields only digit pairs")
        << QByteArray("word 12 the end") << QByteArray();
    QTest::newRow("decoded text with a digit pair at a group start")
        << QByteArray("room12th") << code12;
    QTest::newRow("cell code of an empty cell yields nothing")
        << store::groupOfCell(35) << QByteArray();
    QTest::newRow("cell code of a multi-character cell yields it all")
        << store::groupOfCell(0) << QByteArray("<1>");
    QTest::newRow("four-digit cell code") << store::groupOfCell(34) << QByteArray("<35>");
}

void TestTextCode::decodesGroups()
{
    QFETCH(QByteArray, encoded);
    QFETCH(QByteArray, decoded);
    store::SymbolCells cells = numberedCells();
    cells[35].clear();
    QCOMPARE(store::decode(encoded, cells), decoded);
}

void TestTextCode::cellTextIsReadWhenMet()
{
    store::SymbolCells cells = numberedCells();
    const QByteArray line = store::groupOfCell(3) + store::groupOfCell(3);
    QCOMPARE(store::decode(line, cells), QByteArray("<4><4>"));
    cells[3] = "xy";
    QCOMPARE(store::decode(line, cells), QByteArray("xyxy"));
}

// Every code of 9900..9924 and 10..98 yields one output, every output comes from one code,
// and every cell is reached.
void TestTextCode::tableIsComplete()
{
    QSet<char> characters;
    QSet<int> cells;
    int codes = 0;
    auto count = [&](const QByteArray &group) {
        const auto unit = store::unitOfGroup(group);
        QVERIFY2(unit, group.constData());
        ++codes;
        if (unit->cell >= 0)
            cells.insert(unit->cell);
        else
            characters.insert(unit->character);
    };
    for (int v = 0; v <= 24; ++v)
        count("99" + QByteArray::number(v).rightJustified(2, '0'));
    for (int v = 10; v <= 98; ++v)
        count(QByteArray::number(v) + "00");
    QCOMPARE(codes, 114);
    QCOMPARE(cells.size(), 36);
    QCOMPARE(characters.size(), store::kFixedCharacters);
    for (char c : fixedAlphabet())
        QVERIFY2(characters.contains(c), QByteArray(1, c).constData());
    QCOMPARE(qsizetype(store::kFixedCharacters), fixedAlphabet().size());
}

void TestTextCode::roundTripOfEveryFixedCharacter()
{
    const store::SymbolCells cells = numberedCells();
    for (char c : fixedAlphabet()) {
        QVERIFY(store::isFixedCharacter(c));
        const store::Encoded encoded = store::encode(QByteArray(1, c), cells);
        QVERIFY(encoded.unencodable.isEmpty());
        QCOMPARE(encoded.line.size(), 4);
        QCOMPARE(store::decode(encoded.line, cells), QByteArray(1, c));
    }
    const store::Encoded whole = store::encode(fixedAlphabet(), cells);
    QCOMPARE(store::decode(whole.line, cells), fixedAlphabet());
}

void TestTextCode::roundTripOfEveryCell()
{
    // Single bytes outside the fixed alphabet, as a real data set has them.
    store::SymbolCells cells;
    for (int k = 0; k < 36; ++k)
        cells[k] = QByteArray(1, char(0xc1 + k));
    QByteArray text;
    for (const QByteArray &cell : cells) {
        const store::Encoded encoded = store::encode(cell, cells);
        QVERIFY(encoded.unencodable.isEmpty());
        QCOMPARE(encoded.line.size(), 4);
        QCOMPARE(store::decode(encoded.line, cells), cell);
        text += cell + " ";
    }
    QCOMPARE(store::decode(store::encode(text, cells).line, cells), text);
    // And texts of several bytes.
    const store::SymbolCells numbered = numberedCells();
    for (const QByteArray &cell : numbered)
        QCOMPARE(store::decode(store::encode(cell, numbered).line, numbered), cell);
}

void TestTextCode::encodedLineHasNoBlanksAndStepsByFour()
{
    const store::SymbolCells cells = numberedCells();
    const store::Encoded encoded = store::encode(" a. b ", cells);
    QCOMPARE(encoded.line.size(), 24);
    for (char c : encoded.line)
        QVERIFY(c >= '0' && c <= '9');
    QCOMPARE(encoded.line.trimmed(), encoded.line);
}

void TestTextCode::encoderReportsWhatItCannotEncode()
{
    store::SymbolCells cells;
    cells[0] = "\xc7";
    const store::Encoded encoded = store::encode("a!\xc7\xc8z*", cells);
    QCOMPARE(encoded.unencodable, QByteArray("!\xc8*"));
    QCOMPARE(store::decode(encoded.line, cells), QByteArray("a\xc7z"));
}

void TestTextCode::encoderPrefersLongestCell()
{
    store::SymbolCells cells;
    cells[0] = "\xc7";
    cells[1] = "\xc7\xe1";
    const store::Encoded encoded = store::encode("\xc7\xe1\xc7", cells);
    QCOMPARE(encoded.line, store::groupOfCell(1) + store::groupOfCell(0));
    QVERIFY(encoded.unencodable.isEmpty());
}

QTEST_APPLESS_MAIN(TestTextCode)
#include "tst_textcode.moc"
