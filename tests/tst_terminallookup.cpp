// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal lookup's output, run in-process on a data set of its own: the escapes, the
// text and the JSON it writes, and its exit statuses; one launch of the program for what
// only a launch shows.
#include "terminallookup.h"

#include "support/datasetfixtures.h"

#include "dataset/dataset.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using terminallookup::WindowView;

namespace {

// Letter a: a headword that retitles the terminal, three words, one with the ends of the
// range JSON lets through but a terminal takes for controls (DEL and C1) and the characters
// just outside it, and a headword of 28 letters that fills a caption of 30 characters.
const QList<QByteArray> kAWords{
    "a\x1b]0;owned\x07",           "abacus", "abandon", "abbey", "ac~\x7f\x81\x9d\xa0",
    "antidisestablishmentarianism"};

} // namespace

class TestTerminalLookup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void escapeControls_data();
    void escapeControls();
    void textOutput_data();
    void textOutput();
    void jsonOutput_data();
    void jsonOutput();
    void outcome_data();
    void outcome();
    void launch_data();
    void launch();

private:
    QTemporaryDir m_dir;
};

void TestTerminalLookup::initTestCase()
{
    QVERIFY(m_dir.isValid());
    dataset::DataSet set;
    for (const QByteArray &word : kAWords)
        set.letters[0].append({word, "def " + word.left(2)});
    set.idioms.append(dataset::Entry{"a bad egg", "a rogue"});
    QCOMPARE(dataset::write(m_dir.path(), set), std::nullopt);
}

void TestTerminalLookup::escapeControls_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("keepLayout");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("a retitling sequence") << u"a\x1b]0;t\x07"_qs << false << u"a\\x1b]0;t\\x07"_qs;
    QTest::newRow("last C0 control, then a blank") << u"\x1f "_qs << false << u"\\x1f "_qs;
    QTest::newRow("tilde stays, DEL goes") << u"~\x7f"_qs << false << u"~\\x7f"_qs;
    QTest::newRow("C1 from its first to its last; no-break space stays")
        << u"\u0080\u009f\u00a0"_qs << false << u"\\x80\\x9f\u00a0"_qs;
    QTest::newRow("line and paragraph separators, not their neighbours")
        << u"\u2027\u2028\u2029\u202a"_qs << false << u"\u2027\\u2028\\u2029\u202a"_qs;
    QTest::newRow("line break and tab kept for the layout")
        << u"a\nb\tc"_qs << true << u"a\nb\tc"_qs;
    QTest::newRow("line break and tab escaped in a line")
        << u"a\nb\tc"_qs << false << u"a\\x0ab\\x09c"_qs;
    QTest::newRow("a carriage return escaped also for the layout")
        << u"a\rb"_qs << true << u"a\\x0db"_qs;
}

void TestTerminalLookup::escapeControls()
{
    QFETCH(QString, text);
    QFETCH(bool, keepLayout);
    QFETCH(QString, escaped);
    QCOMPARE(terminallookup::escapeControls(text, keepLayout), escaped);
}

void TestTerminalLookup::textOutput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("output");

    QString list = u"  a\n"_qs;
    for (const QByteArray &word : kAWords)
        list += QString::fromLatin1(word) + u'\n';
    list.replace(u"\x1b"_qs, u"\\x1b"_qs).replace(u"\x07"_qs, u"\\x07"_qs);
    list.replace(u"~\x7f\u0081\u009d"_qs, u"~\\x7f\\x81\\x9d"_qs);

    QTest::newRow("found: the list, the entry beside the heading, the definition")
        << u"abandon"_qs << list + u"\n  Definitions for:  abandon\ndef ab\n"_qs;
    QTest::newRow("a headword of 28 letters, the caption's 30 characters without a break")
        << u"antidis"_qs
        << list + u"\n  Definitions for:  antidisestablishmentarianism\ndef an\n"_qs;
    QTest::newRow("nothing matches: said first, the close words, then the nearest entry")
        << u"abnadon"_qs
        << u"No entry for \u201cabnadon\u201d.\nClose words: abandon\n\nNearest entry shown:\n"_qs +
               list + u"\n  Definitions for:  abacus\ndef ab\n"_qs;
    QTest::newRow("nothing matches and nothing is close: no close words")
        << u"abqqqq"_qs
        << u"No entry for \u201cabqqqq\u201d.\n\nNearest entry shown:\n"_qs + list +
               u"\n  Definitions for:  abacus\ndef ab\n"_qs;
    QTest::newRow("an initial without an index: nothing shown, the text escaped")
        << u"\x1b[2Jb\u009b"_qs
        << u"No entry for \u201c\\x1b[2Jb\\x9b\u201d.\n\nNearest entry shown:\n\n"
           u"  Definitions for:\n"_qs;
}

void TestTerminalLookup::textOutput()
{
    QFETCH(QString, text);
    QFETCH(QString, output);
    const WindowView view = terminallookup::lookUp(m_dir.path(), lookup::Mode::Words, text);
    QCOMPARE(terminallookup::textOutput(view), output);
}

void TestTerminalLookup::jsonOutput_data()
{
    QTest::addColumn<bool>("idioms");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("headword");
    QTest::addColumn<QStringList>("closeWords");
    QTest::addColumn<QString>("caption");

    QTest::newRow("found") << false << u"aban"_qs << true << u"abandon"_qs << QStringList()
                           << u"  abandon\r\n  abbey\r\n  ac~\u007f\u0081\u009d\u00a0\r"_qs;
    QTest::newRow("a headword that fills the caption")
        << false << u"antidisestablishmentarianism"_qs << true << u"antidisestablishmentarianism"_qs
        << QStringList() << u"  antidisestablishmentarianism"_qs;
    QTest::newRow("not found: the nearest entry's headword, and the close words")
        << false << u"abnadon"_qs << false << u"abacus"_qs << QStringList{u"abandon"_qs}
        << u"  abacus\r\n  abandon\r\n  abbey\r\n"_qs;
    QTest::newRow("an idiom found")
        << true << u"a b"_qs << true << u"a bad egg"_qs << QStringList() << u"  a bad egg"_qs;
    QTest::newRow("no idiom found: no close words")
        << true << u"a bz"_qs << false << u"a bad egg"_qs << QStringList() << u"  a bad egg"_qs;
}

void TestTerminalLookup::jsonOutput()
{
    QFETCH(bool, idioms);
    QFETCH(QString, text);
    QFETCH(bool, found);
    QFETCH(QString, headword);
    QFETCH(QStringList, closeWords);
    QFETCH(QString, caption);

    const WindowView view = terminallookup::lookUp(
        m_dir.path(), idioms ? lookup::Mode::Idioms : lookup::Mode::Words, text);
    const QString json = terminallookup::jsonOutput(view);
    QVERIFY(json.endsWith(u'\n'));
    QCOMPARE(json.count(u'\n'), 1);
    const QJsonObject printed = QJsonDocument::fromJson(json.toUtf8()).object();
    QCOMPARE(printed.keys(),
             (QStringList{u"caption"_qs, u"close_words"_qs, u"definition"_qs, u"entry"_qs,
                          u"found"_qs, u"headword"_qs, u"list"_qs, u"stem"_qs}));
    QCOMPARE(printed.value(u"found"_qs).toBool(true), found);
    QCOMPARE(printed.value(u"headword"_qs).toString(), headword);
    QStringList printedWords;
    for (const QJsonValue &word : printed.value(u"close_words"_qs).toArray())
        printedWords << word.toString();
    QCOMPARE(printedWords, closeWords);
    QCOMPARE(printed.value(u"caption"_qs).toString(), caption);
    QVERIFY(!printed.value(u"definition"_qs).toString().isEmpty());
    QVERIFY(printed.value(u"entry"_qs).isDouble());
    QCOMPARE(printed.value(u"stem"_qs).toString(), idioms ? QString() : u"first"_qs);
    // The controls that JSON lets through stand as escapes; JSON gives them back as they are.
    for (const QChar c : json)
        QVERIFY(!terminallookup::isTerminalControl(c.unicode()) || c == u'\n');
    if (!idioms) {
        QCOMPARE(printed.value(u"list"_qs).toArray().at(1).toString(),
                 QString::fromLatin1(kAWords[0]));
        QCOMPARE(printed.value(u"list"_qs).toArray().at(5).toString(),
                 u"ac~\u007f\u0081\u009d\u00a0"_qs);
        QVERIFY(json.contains(u"ac~\\u007f\\u0081\\u009d\u00a0"_qs));
    }
}

void TestTerminalLookup::outcome_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("a definition shown") << u"abb"_qs << int(terminallookup::Shown) << QString();
    QTest::newRow("nothing matches")
        << u"abz"_qs << int(terminallookup::NothingMatched) << u"nothing begins with \"abz\""_qs;
}

void TestTerminalLookup::outcome()
{
    QFETCH(QString, text);
    QFETCH(int, status);
    QFETCH(QString, message);
    const terminallookup::Outcome outcome =
        terminallookup::outcome(terminallookup::lookUp(m_dir.path(), lookup::Mode::Words, text));
    QCOMPARE(int(outcome.status), status);
    QCOMPARE(outcome.message, message);

    // A damaged entry: the text found, no definition shown.
    WindowView damaged;
    damaged.matched = true;
    QCOMPARE(terminallookup::outcome(damaged).status, terminallookup::NothingMatched);
}

void TestTerminalLookup::launch_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("error");

    QTest::newRow("found") << QStringList{u"a\x1b]0;owned\x07"_qs} << 0 << QByteArray();
    QTest::newRow("nothing matches: said on both outputs, escaped")
        << QStringList{u"\x1b[2Jb\u009b"_qs} << 1 << QByteArray("\\x1b[2Jb\\x9b");
    QTest::newRow("two texts") << QStringList{u"a"_qs, u"b"_qs} << 2
                               << QByteArray("give exactly one TEXT");
}

void TestTerminalLookup::launch()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QByteArray, error);

    QProcess process;
    process.start(testsupport::lookupTool(), QStringList{u"--data"_qs, m_dir.path()} + arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), status);
    QByteArray out = process.readAllStandardOutput();
    QByteArray err = process.readAllStandardError();
#ifdef Q_OS_WIN
    // A console program's line break on Windows is CR LF, which its C runtime writes for '\n'.
    out.replace("\r\n", "\n");
    err.replace("\r\n", "\n");
#endif
    QVERIFY(err.contains(error));
    if (status == 1)
        QVERIFY(out.startsWith("No entry for \xe2\x80\x9c\\x1b[2Jb\\x9b\xe2\x80\x9d.\n"));
    for (const QByteArray &written : {out, err}) {
        for (const QChar c : QString::fromUtf8(written))
            QVERIFY(!terminallookup::isTerminalControl(c.unicode()) || c == u'\n');
    }
}

QTEST_APPLESS_MAIN(TestTerminalLookup)
#include "tst_terminallookup.moc"
