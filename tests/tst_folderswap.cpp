// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the journalled swap of a new set and the one-builder lock.
#include "dataset/checker.h"
#include "dataset/dataset.h"
#include "dataset/folderswap.h"
#include "platform/atomicwrite.h"
#include "platform/testing/systemtesting.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

namespace {

int g_stepsLeft = 0;
void killAtStep()
{
    if (--g_stepsLeft == 0)
        platform::testing::killThisProcess();
}

// The syncs, renames and removals of a write, in order: by path relative to the root, the
// temporary names as ".dataset-*" and ".swap-journal.*".
class Recorder : public platform::WriteObserver
{
public:
    explicit Recorder(const QString &root) : m_root(root) { platform::setWriteObserver(this); }
    ~Recorder() override { platform::setWriteObserver(nullptr); }

    QStringList log;

    bool syncing(const QString &path, qint64) override { return record("sync", path); }
    bool renaming(const QString &from, const QString &to) override
    {
        return record("rename", from, to);
    }
    bool removing(const QString &path) override { return record("remove", path); }

private:
    bool record(const char *what, const QString &path, const QString &to = {})
    {
        static const QRegularExpression temporary(
            u"(\\.dataset-|\\.swap-journal\\.)[A-Za-z0-9]{6}"_qs);
        QStringList parts{QString::fromLatin1(what)};
        for (QString name : {path, to}) {
            if (name.isEmpty())
                continue;
            name = QDir(m_root).relativeFilePath(QFileInfo(name).absoluteFilePath());
            parts << name.replace(temporary, u"\\1*"_qs);
        }
        log << parts.join(u' ');
        return false;
    }

    QString m_root;
};

} // namespace

class TestFolderSwap : public QObject
{
    Q_OBJECT

private slots:
    void writesInOrder();
    void killAtEachStepOfTheSwap();
    void refusesAFolderWithABadJournal_data();
    void refusesAFolderWithABadJournal();
    void oneWriterAtATime();
};

void TestFolderSwap::writesInOrder()
{
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    std::optional<Recorder> recorder(std::in_place, QFileInfo(dir.path()).absoluteFilePath());
    const auto error = dataset::write(dir.path(), replacingSet());
    const QStringList log = recorder->log;
    recorder.reset();
    QCOMPARE(error, std::nullopt);

    // Every file of the new set reaches the disk first, each once, in the writer's order.
    QStringList files;
    for (const QString &folder : {u"source"_qs, u"source1"_qs}) {
        for (const QString &name : QDir(dir.filePath(folder)).entryList(QDir::Files))
            files << u"sync .dataset-*/"_qs + folder + u'/' + name;
    }
    QVERIFY(files.size() > 50);
    QStringList synced = log.mid(0, files.size());
    synced.sort();
    files.sort();
    QCOMPARE(synced, files);
    // Then their folders, the journal, the renames it describes, its removal.
    const QStringList swap{
        u"sync .dataset-*/source"_qs,
        u"sync .dataset-*/source1"_qs,
        u"sync .dataset-*"_qs,
        u"sync .swap-journal.*"_qs,
        u"rename .swap-journal.* .swap-journal"_qs,
        u"sync ."_qs,
        u"rename source .dataset-*/old-source"_qs,
        u"rename .dataset-*/source source"_qs,
        u"rename source1 .dataset-*/old-source1"_qs,
        u"rename .dataset-*/source1 source1"_qs,
        u"sync ."_qs,
        u"sync .dataset-*"_qs,
        u"remove .swap-journal"_qs,
        u"sync ."_qs,
    };
    QCOMPARE(log.mid(files.size()), swap);
}

void TestFolderSwap::killAtEachStepOfTheSwap()
{
    if (!platform::testing::childrenAvailable())
        QSKIP("no process of its own to kill at each step on this system");
    if (!QFileInfo::exists(lookupTool()))
        QSKIP("vellumstack-lookup is not built");
    int killed = 0;
    for (int step = 1;; ++step) {
        QTemporaryDir dir;
        QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
        const platform::testing::ChildRun run = platform::testing::runInChild([&] {
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

namespace {

// A journal of size bytes that moves source into place again and again (finished at once, as
// it stands there already): the staging name is padded to reach the size.
QByteArray journalOfSize(qsizetype size)
{
    const QByteArray head = "vellumstack folder swap 1\nstaging .s";
    const QByteArray tail =
        "\n" + QByteArray("name source\n").repeated((size - 100) / 12) + "end\n";
    return head + QByteArray(size - head.size() - tail.size(), 'x') + tail;
}

} // namespace

void TestFolderSwap::refusesAFolderWithABadJournal_data()
{
    QTest::addColumn<QByteArray>("journal");
    QTest::addColumn<QString>("message"); // empty when the swap is finished
    QTest::newRow("staging folder outside the folder")
        << QByteArray("vellumstack folder swap 1\nstaging ..\nname outside\nend\n") << u"line 2"_qs;
    QTest::newRow("a folder neither in place nor staged")
        << QByteArray("vellumstack folder swap 1\nstaging .dataset-Ab12Cd\nname nowhere\nend\n")
        << u"cannot finish the swap of"_qs;
    QTest::newRow("cut off before its end line")
        << QByteArray("vellumstack folder swap 1\nstaging .dataset-Ab12Cd\nname source")
        << u"an incomplete swap journal"_qs;
    QTest::newRow("a line after the end")
        << QByteArray("vellumstack folder swap 1\nstaging .dataset-Ab12Cd\nname source\nend\nx\n")
        << u"an incomplete swap journal"_qs;
    QTest::newRow("another header")
        << QByteArray("vellumstack folder swap 2\nstaging .dataset-Ab12Cd\nname source\nend\n")
        << u"line 1"_qs;
    QTest::newRow("journal at its cap of 4096 bytes") << journalOfSize(4096) << QString();
    QTest::newRow("journal one byte over its cap")
        << journalOfSize(4097) << u"not a swap journal"_qs;
}

void TestFolderSwap::refusesAFolderWithABadJournal()
{
    QFETCH(QByteArray, journal);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QCOMPARE(dataset::write(dir.path(), smallSet()), std::nullopt);
    const QString journalPath = dataset::swapJournalPath(dir.path());
    testsupport::writeFile(journalPath, journal);
    const auto error = dataset::finishInterruptedWrite(dir.path());
    if (message.isEmpty()) {
        QCOMPARE(error, std::nullopt);
        QCOMPARE(entriesOf(dir.path()), (QStringList{u"source"_qs, u"source1"_qs}));
        return;
    }
    QVERIFY(error.has_value());
    QVERIFY2(error->contains(message), qPrintable(*error));
    // The journal stays, and the lookup refuses the folder until the swap is put right.
    QCOMPARE(testsupport::readFile(journalPath), journal);
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
        builder.start(QFileInfo(lookupTool()).path() + u"/vellumstack-make-dataset"_qs +
                          QStringLiteral(VELLUMSTACK_TEST_PROGRAM_SUFFIX),
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
