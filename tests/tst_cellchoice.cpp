// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of the choice of the symbol cells and tags.
#include "dataset/builder.h"
#include "store/textcode.h"
#include "support/datasetfixtures.h"
#include "support/testfiles.h"

#include <QTest>

using namespace testsupport;

class TestCellChoice : public QObject
{
    Q_OBJECT

private slots:
    void builderTagsOccurNowhereElse();
};

void TestCellChoice::builderTagsOccurNowhereElse()
{
    Fixture fixture;
    const dataset::Build built = dataset::build(fixture.sources);
    QCOMPARE(built.error, std::nullopt);
    const store::TagCells &tags = built.set.tags;
    QCOMPARE(built.report.tags.size(), 3);
    // One gloss says "verb", so that spelling would be bracketed inside the text too.
    QVERIFY(tags[0] != "verb");
    auto shown = [&](const QByteArray &idiom) {
        for (const dataset::Entry &entry : built.set.idioms) {
            if (entry.headword != idiom)
                continue;
            QByteArray text = store::decode(store::encode(entry.definition, built.set.cells).line,
                                            built.set.cells);
            for (const QByteArray &tag : tags) {
                if (!tag.isEmpty())
                    text.replace(tag, "(" + tag.trimmed() + ") ");
            }
            return text;
        }
        return QByteArray();
    };
    QCOMPARE(shown("give up"), "(" + tags[0] + ") use the verb form of surrender");
    QCOMPARE(shown("break down"), "1. (" + tags[0] + ") stop working 2. (" + tags[0] +
                                      ") lose control of one's emotions");
    QCOMPARE(shown("well known"), "(" + tags[1] + ") widely known");
    QCOMPARE(shown("by and large"), "(" + tags[2] + ") mostly");
}

QTEST_APPLESS_MAIN(TestCellChoice)
#include "tst_cellchoice.moc"
