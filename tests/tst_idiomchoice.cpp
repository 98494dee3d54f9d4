// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the choice of the idioms.
#include "dataset/builder.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QTest>

using namespace testsupport;

class TestIdiomChoice : public QObject
{
    Q_OBJECT

private slots:
    void builderChoosesIdioms();
};

void TestIdiomChoice::builderChoosesIdioms()
{
    Fixture fixture;
    dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    QCOMPARE(
        headwords(built.set.idioms),
        (QList<QByteArray>{"all right", "break down", "by and large", "give up", "well known"}));
    QCOMPARE(built.report.idiomCandidates, 5);

    fixture.sources.idioms = 3;
    built = dataset::build(fixture.sources);
    QCOMPARE(built.report.idioms, 3);
    const QList<QByteArray> chosen = headwords(built.set.idioms);
    QCOMPARE(chosen.size(), 3);
    QCOMPARE(chosen.first(), QByteArray("all right"));
    QVERIFY(std::is_sorted(chosen.cbegin(), chosen.cend()));
}

QTEST_APPLESS_MAIN(TestIdiomChoice)
#include "tst_idiomchoice.moc"
