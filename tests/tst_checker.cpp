// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the checker of a data set.
#include "dataset/checker.h"
#include "dataset/dataset.h"
#include "dataset/rtfwriter.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

class TestChecker : public QObject
{
    Q_OBJECT

private slots:
    void checkerPassesASoundSet();
    void checkerNamesABrokenInvariant_data();
    void checkerNamesABrokenInvariant();
    void checkRefusesWhatIsNoFolder_data();
    void checkRefusesWhatIsNoFolder();
    void usageRankingIsOptional_data();
    void usageRankingIsOptional();
};

void TestChecker::checkerPassesASoundSet()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    for (const dataset::Problem &problem : dataset::check(dir.path()))
        QVERIFY2(!problem.fatal, qPrintable(dataset::formatProblem(problem)));
}

void TestChecker::checkerNamesABrokenInvariant_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("line");
    const int xCapacity = *dataset::headwordCapacity(letterIndex('x'));
    QTest::newRow("index line out of step with its list")
        << u"index"_qs << u"source1/a.hhh"_qs << 3;
    QTest::newRow("index shorter than its list") << u"short index"_qs << u"source1/a.hhh"_qs << 0;
    QTest::newRow("definitions line not a multiple of four")
        << u"length"_qs << u"source/first.dll"_qs << 2;
    QTest::newRow("group that matches no code") << u"group"_qs << u"source/5.dll"_qs << 1;
    QTest::newRow("symbol table of 35 lines") << u"alf"_qs << u"source/alf.dll"_qs << 0;
    QTest::newRow("tag table of 22 lines") << u"sp"_qs << u"source/sp.dll"_qs << 0;
    QTest::newRow("letter over its capacity")
        << u"capacity"_qs << u"source/x.dll"_qs << xCapacity + 2;
    QTest::newRow("missing definitions file") << u"missing"_qs << u"source/second.dll"_qs << 0;
    QTest::newRow("missing idiom index") << u"missing index"_qs << u"source1/idioms.hhh"_qs << 0;
    QTest::newRow("line 0 not the letter") << u"line 0"_qs << u"source/a.dll"_qs << 1;
    QTest::newRow("headword under the wrong letter") << u"initial"_qs << u"source/z.dll"_qs << 2;
    QTest::newRow("first.dll not one line per entry")
        << u"first lines"_qs << u"source/first.dll"_qs << 0;
    QTest::newRow("definitions file ends before the last headword")
        << u"short second"_qs << u"source/second.dll"_qs << 0;
}

void TestChecker::checkerNamesABrokenInvariant()
{
    QFETCH(QString, fault);
    QFETCH(QString, file);
    QFETCH(int, line);
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    const QString path = dir.path() + u'/' + file;
    QList<QByteArray> lines = fileLines(path);

    if (fault == u"index") {
        writeLines(dir.path() + u"/source/a.dll"_qs, {"a", "apple", "Axe"});
        testsupport::writeFile(path, dataset::rtfDocument({"  a", "  apple", "  Ant"}));
    } else if (fault == u"short index") {
        testsupport::writeFile(path, dataset::rtfDocument({"  a", "  apple"}));
    } else if (fault == u"length") {
        lines[1] += "123";
        writeLines(path, lines);
    } else if (fault == u"group") {
        lines[0] = "00129900";
        writeLines(path, lines);
    } else if (fault == u"alf") {
        lines.removeLast();
        writeLines(path, lines);
    } else if (fault == u"sp") {
        lines << "extra";
        writeLines(path, lines);
    } else if (fault == u"capacity") {
        QList<QByteArray> list{"x"};
        for (int n = 0; n <= line - 2; ++n)
            list << "x" + QByteArray::number(n);
        writeLines(path, list);
        QList<QByteArray> index;
        for (const QByteArray &item : list)
            index << "  " + item;
        testsupport::writeFile(dir.path() + u"/source1/x.hhh"_qs, dataset::rtfDocument(index));
    } else if (fault == u"missing" || fault == u"missing index") {
        QFile::remove(path);
    } else if (fault == u"line 0") {
        lines[0] = "b";
        writeLines(path, lines);
        testsupport::writeFile(dir.path() + u"/source1/a.hhh"_qs,
                               dataset::rtfDocument({"  b", "  apple", "  Axe"}));
    } else if (fault == u"initial") {
        lines[1] = "apple";
        writeLines(path, lines);
        QList<QByteArray> index;
        for (const QByteArray &item : lines)
            index << "  " + item;
        testsupport::writeFile(dir.path() + u"/source1/z.hhh"_qs, dataset::rtfDocument(index));
    } else if (fault == u"first lines") {
        lines << QByteArray();
        writeLines(path, lines);
    } else if (fault == u"short second") {
        lines.removeLast();
        writeLines(path, lines);
    }

    const QList<dataset::Problem> problems = dataset::check(dir.path());
    const bool named =
        std::any_of(problems.cbegin(), problems.cend(), [&](const dataset::Problem &p) {
            return p.fatal && p.file == file && p.line == line;
        });
    QStringList all;
    for (const dataset::Problem &problem : problems)
        all << dataset::formatProblem(problem);
    QVERIFY2(named, qPrintable(all.join(u"; "_qs)));
}

void TestChecker::checkRefusesWhatIsNoFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal"); // empty: checked file by file
    QTest::newRow("nothing there") << u"none"_qs << u"no such folder"_qs;
    QTest::newRow("a plain file") << u"file"_qs << u"not a folder"_qs;
    QTest::newRow("an empty folder") << u"empty"_qs << QString();
}

void TestChecker::checkRefusesWhatIsNoFolder()
{
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    QVERIFY(testsupport::writeFile(dir.filePath(u"file"_qs), "source\n"));
    QVERIFY(QDir(dir.path()).mkdir(u"empty"_qs));
    const QString folder = dir.filePath(name);

    QCOMPARE(dataset::folderRefusal(folder).value_or(QString()), refusal);
    const QList<dataset::Problem> problems = dataset::check(folder);
    if (!refusal.isEmpty()) {
        QCOMPARE(problems.size(), 1);
        QVERIFY(problems[0].fatal);
        QCOMPARE(dataset::formatProblem(problems[0]), refusal);
    } else {
        QVERIFY(problems.size() > 1);
    }

    QProcess checker;
    checker.start(QFileInfo(lookupTool()).path() + u"/vellumstack-make-dataset"_qs +
                      QStringLiteral(VELLUMSTACK_TEST_PROGRAM_SUFFIX),
                  {u"--check"_qs, folder});
    QVERIFY(checker.waitForFinished(30000));
    QCOMPARE(checker.exitCode(), 1);
    const QList<QByteArray> lines = checker.readAllStandardOutput().trimmed().split('\n');
    if (!refusal.isEmpty())
        QCOMPARE(lines, QList<QByteArray>{(folder + u": "_qs + refusal).toLocal8Bit()});
    else
        QVERIFY(lines.size() > 1);
}

void TestChecker::usageRankingIsOptional_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("warned");

    QTest::newRow("a set made before it: nothing to say") << u"missing"_qs << false;
    QTest::newRow("a folder in its place: a warning") << u"folder"_qs << true;
}

void TestChecker::usageRankingIsOptional()
{
    QFETCH(QString, fault);
    QFETCH(bool, warned);
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    const QString file = u"source/usage.dll"_qs;
    QVERIFY(QFile::remove(dir.path() + u'/' + file));
    if (fault == u"folder")
        QVERIFY(QDir(dir.path()).mkdir(file));

    const QList<dataset::Problem> problems = dataset::check(dir.path());
    QStringList named;
    for (const dataset::Problem &problem : problems) {
        QVERIFY2(!problem.fatal, qPrintable(dataset::formatProblem(problem)));
        if (problem.file == file)
            named << dataset::formatProblem(problem);
    }
    QCOMPARE(named.size(), warned ? 1 : 0);
}

QTEST_APPLESS_MAIN(TestChecker)
#include "tst_checker.moc"
