// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the text of the sources on its way to the code pages.
#include "dataset/sourcetext.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QTest>

using namespace testsupport;

class TestSourceText : public QObject
{
    Q_OBJECT

private slots:
    void cleansDefinitions_data();
    void cleansDefinitions();
};

void TestSourceText::cleansDefinitions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("Arabic comma, semicolon and question mark become ASCII")
        << u"\u0627\u060c \u0628\u061b \u062a\u061f"_qs << u"\u0627, \u0628; \u062a?"_qs;
    QTest::newRow("tatweel is dropped")
        << u"\u0643\u0640\u0640\u062a\u0628"_qs << u"\u0643\u062a\u0628"_qs;
    QTest::newRow("direction marks are dropped")
        << u"\u200f\u0627\u200e b\u202b"_qs << u"\u0627 b"_qs;
    QTest::newRow("lam-alef ligature is decomposed") << u"\ufefb"_qs << u"\u0644\u0627"_qs;
    QTest::newRow("presentation form of a letter becomes the letter")
        << u"\ufe8d"_qs << u"\u0627"_qs;
    QTest::newRow("Arabic-Indic digits become digits") << u"\u0661\u0662"_qs << u"12"_qs;
    QTest::newRow("blanks are collapsed") << u"  a \t b  "_qs << u"a b"_qs;
}

void TestSourceText::cleansDefinitions()
{
    QFETCH(QString, text);
    QFETCH(QString, cleaned);
    QCOMPARE(dataset::cleanDefinition(text), cleaned);
}

QTEST_APPLESS_MAIN(TestSourceText)
#include "tst_sourcetext.moc"
