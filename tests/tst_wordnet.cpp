// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the reader of WordNet's data files.
#include "dataset/wordnet.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

class TestWordNet : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryWordOfASynset_data();
    void readsEveryWordOfASynset();
};

void TestWordNet::readsEveryWordOfASynset_data()
{
    // The count of a synset's words stands in two hexadecimal digits.
    QTest::addColumn<int>("words");
    QTest::addColumn<QByteArray>("line"); // empty: wordnetLine() of that many words
    QTest::newRow("one word, count 01") << 1 << QByteArray();
    QTest::newRow("nine words, count 09") << 9 << QByteArray();
    QTest::newRow("ten words, count 0a") << 10 << QByteArray();
    QTest::newRow("sixteen words, count 10") << 16 << QByteArray();
    QTest::newRow("a count of more words than the line has")
        << -1 << QByteArray("00000100 00 v 03 go_on 0 carry_on 0 | continue  \n");
    QTest::newRow("a count that is no number")
        << -1 << QByteArray("00000100 00 v 0g go_on 0 | continue  \n");
}

void TestWordNet::readsEveryWordOfASynset()
{
    QFETCH(int, words);
    QFETCH(QByteArray, line);
    QList<QByteArray> lemmas;
    for (int w = 0; w < words; ++w)
        lemmas << "word_" + QByteArray::number(w);
    if (line.isEmpty())
        line = wordnetLine(100, 'v', lemmas, "a gloss; \"an example\"");
    QTemporaryDir dir;
    const QString path = dir.filePath(u"data.verb"_qs);
    writeFile(path, "  1 WordNet 3.0 Copyright 2006 by Princeton University.  \n" + line);

    const dataset::wordnet::Database database = dataset::wordnet::read(path);
    if (words < 0) {
        QVERIFY(database.error.has_value());
        QVERIFY2(database.error->contains(u"line 2: not a WordNet data line"_qs),
                 qPrintable(*database.error));
        QVERIFY(database.senses.isEmpty());
        return;
    }
    QCOMPARE(database.error, std::nullopt);
    QCOMPARE(database.senses.size(), words);
    for (int w = 0; w < words; ++w) {
        QCOMPARE(database.senses[w].lemma, lemmas[w]);
        QCOMPARE(database.senses[w].type, 'v');
        QCOMPARE(database.senses[w].gloss, QByteArray("a gloss; \"an example\""));
    }
}

QTEST_APPLESS_MAIN(TestWordNet)
#include "tst_wordnet.moc"
