// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the builder as a whole: a set from the sources that the checker passes.
#include "dataset/builder.h"
#include "dataset/checker.h"
#include "store/letterbases.h"
#include "store/textcode.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

class TestBuilder : public QObject
{
    Q_OBJECT

private slots:
    void builderWritesASoundSetAcrossTheBoundary();
};

void TestBuilder::builderWritesASoundSetAcrossTheBoundary()
{
    Fixture fixture;
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QTemporaryDir program;
    QCOMPARE(dataset::write(program.path(), built.set), std::nullopt);

    for (const dataset::Problem &problem : dataset::check(program.path()))
        QVERIFY2(!problem.fatal, qPrintable(dataset::formatProblem(problem)));
    const QList<QByteArray> first = readLines(sourceFile(program.path(), u"first.dll"_qs));
    const QList<QByteArray> second = readLines(sourceFile(program.path(), u"second.dll"_qs));
    // ibis is line 1 of i: entry base(i) + 1, on line base(i) + 2 of first.dll.
    QCOMPARE(store::decode(first[store::letterBase('i')->base + 1], built.set.cells),
             QByteArray("1. \xc7\xc8\xe6 2. \xd8\xc7\xc6\xd1"));
    // jam is line 1 of j: entry 84636, on line 2 of second.dll; the snowman is gone.
    QCOMPARE(store::decode(second[1], built.set.cells), QByteArray("\xe3\xd1\xc8\xec"));
    QVERIFY(QFile::exists(sourceFile(program.path(), u"NOTICE.txt"_qs)));
    QVERIFY(
        testsupport::readFile(sourceFile(program.path(), u"NOTICE.txt"_qs)).contains("Princeton"));
}

QTEST_APPLESS_MAIN(TestBuilder)
#include "tst_builder.moc"
