// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the journalled swap of a new set and the one-builder lock.
#include "dataset/checker.h"
#include "dataset/dataset.h"
#include "dataset/folderswap.h"
#include "platform/atomicwrite.h"
#include "support/childrun.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace testsupport;

namespace {

int g_stepsLeft = 0;
void killAtStep()
{
    if (--g_stepsLeft == 0)
        std::raise(SIGKILL);
}

} // namespace

class TestFolderSwap : public QObject
{
    Q_OBJECT

private slots:
    void killAtEachStepOfTheSwap();
    void refusesAFolderWithABadJournal();
    void oneWriterAtATime();
};

void TestFolderSwap::killAtEachStepOfTheSwap()
{
    if (!QFileInfo::exists(lookupTool()))
        QSKIP("vellumstack-lookup is not built");
    int killed = 0;
    for (int step = 1;; ++step) {
        QTemporaryDir dir;
        QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
        const testsupport::ChildRun run = testsupport::runInChild([&] {
            g_stepsLeft = step;
            platform::setStepHook(killAtStep);
            return !dataset::write(dir.path(), replacingSet());
        });
        if (run.finished)
            break; // past the last step
        ++killed;

        // The old set whole, the new set whole, or a refusal: never an answer from a mix.
        const LookupRun lookup = lookUpIdiom(dir.path(), u"by and large"_qs);
        const bool midSwap = dataset::swapInterrupted(dir.path());
        if (midSwap) {
            QCOMPARE(lookup.status, 2);
            QVERIFY2(lookup.error.contains(u"unfinished swap"_qs), qPrintable(lookup.error));
        } else {
            QCOMPARE(lookup.status, 0);
            QVERIFY2(lookup.definition.endsWith(u" mostly"_qs) ||
                         lookup.definition.endsWith(u" new by and large"_qs),
                     qPrintable(u"step %1: %2"_qs.arg(step).arg(lookup.definition)));
        }
        const QList<dataset::Problem> problems = dataset::check(dir.path());
        QCOMPARE(std::any_of(problems.cbegin(), problems.cend(),
                             [](const dataset::Problem &p) { return p.file == u".swap-journal"; }),
                 midSwap);

        // The next run finishes what was begun and leaves nothing behind.
        QCOMPARE(dataset::finishInterruptedWrite(dir.path()), std::nullopt);
        QCOMPARE(entriesOf(dir.path()), (QStringList{u"source"_qs, u"source1"_qs}));
        for (const dataset::Problem &problem : dataset::check(dir.path()))
            QVERIFY2(!problem.fatal, qPrintable(dataset::formatProblem(problem)));
        if (midSwap)
            QVERIFY(lookUpIdiom(dir.path(), u"by and large"_qs)
                        .definition.endsWith(u" new by and large"_qs));
        dataset::DataSet next = replacingSet();
        next.idioms.last().definition = "adv. next";
        QCOMPARE(dataset::write(dir.path(), next), std::nullopt);
        QCOMPARE(lookUpIdiom(dir.path(), u"by and large"_qs).definition, u"adv. next"_qs);
        QCOMPARE(entriesOf(dir.path()), (QStringList{u"source"_qs, u"source1"_qs}));
    }
    // Before the journal, inside its write, after it, four renames, after its removal.
    QCOMPARE(killed, 8);
}

void TestFolderSwap::refusesAFolderWithABadJournal()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    testsupport::writeFile(dataset::swapJournalPath(dir.path()),
                           "vellumstack folder swap 1\nstaging ..\nname outside\nend\n");
    const auto error = dataset::finishInterruptedWrite(dir.path());
    QVERIFY(error.has_value());
    QVERIFY2(error->contains(u"line 2"_qs), qPrintable(*error));
    QCOMPARE(lookUpIdiom(dir.path(), u"by and large"_qs).status, 2);
}

void TestFolderSwap::oneWriterAtATime()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    const QByteArray before = testsupport::readFile(sourceFile(dir.path(), u"a.dll"_qs));
    // The temporary folder of a run that is still writing.
    const QString staging = dir.filePath(u".dataset-Ab12Cd"_qs);
    QVERIFY(QDir().mkpath(staging + u"/source"_qs));
    dataset::DataSet other = smallSet();
    other.letters[0] = {{"ant", "x"}};
    {
        dataset::FolderLock running;
        QCOMPARE(dataset::FolderLock::take(dir.path(), &running), std::nullopt);

        const auto written = dataset::write(dir.path(), other);
        QVERIFY(written.has_value());
        QVERIFY2(written->contains(u"another run of the builder"_qs), qPrintable(*written));
        QVERIFY(dataset::finishInterruptedWrite(dir.path()).has_value());
        QProcess builder;
        builder.start(QFileInfo(lookupTool()).path() + u"/vellumstack-make-dataset"_qs,
                      {u"--out"_qs, dir.path()});
        QVERIFY(builder.waitForFinished(30000));
        QCOMPARE(builder.exitCode(), 1);
        QVERIFY(builder.readAllStandardError().contains("another run of the builder"));

        QCOMPARE(testsupport::readFile(sourceFile(dir.path(), u"a.dll"_qs)), before);
        QVERIFY(QFileInfo::exists(staging));
    }
    // Once that run has ended, the next one cleans up after it and writes.
    QCOMPARE(dataset::write(dir.path(), other), std::nullopt);
    QCOMPARE(entriesOf(dir.path()), (QStringList{u"source"_qs, u"source1"_qs}));
    QCOMPARE(readLines(sourceFile(dir.path(), u"a.dll"_qs)), (QList<QByteArray>{"a", "ant"}));
}

QTEST_APPLESS_MAIN(TestFolderSwap)
#include "tst_folderswap.moc"
