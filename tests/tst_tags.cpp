// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/tagbracketing.h"

#include <QTest>

class TestTags : public QObject
{
    Q_OBJECT

private slots:
    void oneTag_data();
    void oneTag();
    void tagOrder_data();
    void tagOrder();
    void allCellsEmpty();
    void lengthLimit_data();
    void lengthLimit();
};

void TestTags::oneTag_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("result");

    QTest::newRow("tag with spaces around loses the space before it")
        << QByteArray(" xy ") << QByteArray("a xy b") << QByteArray("a(xy) b");
    QTest::newRow("tag with spaces around leaves a bare xy alone")
        << QByteArray(" xy ") << QByteArray("axyb xy") << QByteArray("axyb xy");
    QTest::newRow("tag without spaces keeps the text's space")
        << QByteArray("xy") << QByteArray("a xy b") << QByteArray("a (xy)  b");
    QTest::newRow("inside a longer word")
        << QByteArray("xy") << QByteArray("xyz") << QByteArray("(xy) z");
    QTest::newRow("bracketing again brackets again")
        << QByteArray("xy") << QByteArray("(xy) ") << QByteArray("((xy) ) ");
    QTest::newRow("adjacent occurrences")
        << QByteArray("xy") << QByteArray("xyxy") << QByteArray("(xy) (xy) ");
    QTest::newRow("leftmost first, no overlap")
        << QByteArray("xx") << QByteArray("xxx") << QByteArray("(xx) x");
    QTest::newRow("case-sensitive")
        << QByteArray("xy") << QByteArray("XY xY") << QByteArray("XY xY");
    QTest::newRow("tabs are not trimmed")
        << QByteArray("\txy ") << QByteArray("a\txy b") << QByteArray("a(\txy) b");
    QTest::newRow("tag at the end of the text")
        << QByteArray("n.") << QByteArray("word n.") << QByteArray("word (n.) ");
    QTest::newRow("empty tag changes nothing")
        << QByteArray() << QByteArray("xy") << QByteArray("xy");
    QTest::newRow("tag of spaces only")
        << QByteArray("  ") << QByteArray("a  b") << QByteArray("a() b");
    QTest::newRow("empty text") << QByteArray("xy") << QByteArray() << QByteArray();
    QTest::newRow("Windows-1256 bytes")
        << QByteArray("\xc7\xe1") << QByteArray("\xc7\xe1\xc8") << QByteArray("(\xc7\xe1) \xc8");
}

void TestTags::oneTag()
{
    QFETCH(QByteArray, tag);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, result);

    QCOMPARE(lookup::bracketTag(text, tag), result);
    // As the only filled cell, in any place among the 21, the tag does the same.
    for (int k : {0, 20}) {
        store::TagCells cells;
        cells[size_t(k)] = tag;
        QCOMPARE(lookup::bracketTags(text, cells), result);
    }
}

void TestTags::tagOrder_data()
{
    QTest::addColumn<QByteArray>("earlier");
    QTest::addColumn<QByteArray>("later");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("result");

    QTest::newRow("later tag matches inside an earlier form")
        << QByteArray("xy") << QByteArray("y)") << QByteArray("xy") << QByteArray("(x(y))  ");
    QTest::newRow("later tag matches the earlier tag's text")
        << QByteArray("adj") << QByteArray("d") << QByteArray("adj") << QByteArray("(a(d) j) ");
    QTest::newRow("earlier tag takes the text first")
        << QByteArray("xyz") << QByteArray("xy") << QByteArray("xyz xy")
        << QByteArray("((xy) z)  (xy) ");
    QTest::newRow("later tag with a space takes the form's own space")
        << QByteArray("a") << QByteArray(" b") << QByteArray("a b") << QByteArray("(a) (b) ");
}

void TestTags::tagOrder()
{
    QFETCH(QByteArray, earlier);
    QFETCH(QByteArray, later);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, result);

    store::TagCells cells;
    cells[3] = earlier;
    cells[11] = later;
    QCOMPARE(lookup::bracketTags(text, cells), result);
}

void TestTags::allCellsEmpty()
{
    const QByteArray text("a (xy) text with  spaces ");
    QCOMPARE(lookup::bracketTags(text, store::TagCells{}), text);
}

void TestTags::lengthLimit_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qsizetype>("maxLength");
    QTest::addColumn<QByteArray>("result");

    // "xy xy" bracketed is "(xy)  (xy) ", eleven bytes.
    QTest::newRow("exactly at the limit: bracketed")
        << QByteArray("xy") << QByteArray("xy xy") << qsizetype(11) << QByteArray("(xy)  (xy) ");
    QTest::newRow("one byte past it: left out")
        << QByteArray("xy") << QByteArray("xy xy") << qsizetype(10) << QByteArray("xy xy");
    // A text longer than the limit already may still take a tag that does not lengthen it.
    QTest::newRow("no longer than the text: bracketed past the limit")
        << QByteArray("  xy ") << QByteArray("a  xy b") << qsizetype(2) << QByteArray("a(xy) b");
}

void TestTags::lengthLimit()
{
    QFETCH(QByteArray, tag);
    QFETCH(QByteArray, text);
    QFETCH(qsizetype, maxLength);
    QFETCH(QByteArray, result);

    QCOMPARE(lookup::bracketTag(text, tag, maxLength), result);
    store::TagCells cells;
    cells[7] = tag;
    QCOMPARE(lookup::bracketTags(text, cells, maxLength), result);
}

QTEST_APPLESS_MAIN(TestTags)
#include "tst_tags.moc"
