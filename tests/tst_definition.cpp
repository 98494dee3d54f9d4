// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/definitionlookup.h"
#include "store/datafolder.h"

#include "store/letterbases.h"
#include "store/textcode.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using lookup::Mode;
using lookup::SearchState;

namespace {

store::SymbolCells symbolCells()
{
    store::SymbolCells cells;
    cells[0] = "\xc7";     // Windows-1256 alef
    cells[1] = "\xe1\xc7"; // lam alef
    return cells;
}

QByteArray encoded(const QByteArray &text)
{
    const store::Encoded result = store::encode(text, symbolCells());
    Q_ASSERT(result.unencodable.isEmpty());
    return result.line;
}

// A definitions file whose line k (0-based) defines "<prefix><k>".
QByteArray definitionsFile(const QByteArray &prefix, int lines)
{
    QByteArray file;
    for (int k = 0; k < lines; ++k)
        file += encoded(prefix + QByteArray::number(k)) + "\r\n";
    return file;
}

SearchState found(std::optional<qint32> entryIndex, const QByteArray &stem)
{
    SearchState state;
    state.entryIndex = entryIndex;
    state.stem = stem;
    return state;
}

} // namespace

class TestDefinition : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void entryLine_data();
    void entryLine();
    void searchBeforeAnyFind();
    void searchTwiceShowsTheSameEntry();
    void damagedLine_data();
    void damagedLine();
    void emptyDefinition_data();
    void emptyDefinition();
    void spacesAroundTheDigitsShiftGroups();
    void tagsBracketedAfterDecoding();
    void fileReplacedBetweenLookups();

private:
    QTemporaryDir m_dir;
    QString m_folder;
};

void TestDefinition::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path();
    QVERIFY(testsupport::writeFile(m_folder + "/source/first.dll",
                                   definitionsFile("f", store::kSecondFileBoundary + 1)));
    QVERIFY(testsupport::writeFile(m_folder + "/source/second.dll", definitionsFile("s", 50)));
    QVERIFY(testsupport::writeFile(m_folder + "/source/5.dll", definitionsFile("i", 30)));
}

void TestDefinition::entryLine_data()
{
    QTest::addColumn<bool>("idioms");
    QTest::addColumn<qint32>("entry"); // -1: no entry found yet
    QTest::addColumn<QByteArray>("stem");
    QTest::addColumn<QByteArray>("definition");

    QTest::newRow("entry 0 reads line 1") << false << 0 << QByteArray("first") << QByteArray("f0");
    QTest::newRow("entry 84634 reads line 84635 of first")
        << false << 84634 << QByteArray("first") << QByteArray("f84634");
    QTest::newRow("entry 84635 reads line 1 of second")
        << false << 84635 << QByteArray("second") << QByteArray("s0");
    QTest::newRow("entry of z reads its line of second")
        << false << 84635 + 49 << QByteArray("second") << QByteArray("s49");
    QTest::newRow("idiom 0 reads line 1 of 5.dll") << true << 0 << QByteArray() << QByteArray("i0");
    QTest::newRow("idiom 29 reads the last line, stem unused")
        << true << 29 << QByteArray("second") << QByteArray("i29");
    QTest::newRow("idiom before any find reads line 1")
        << true << -1 << QByteArray() << QByteArray("i0");
}

void TestDefinition::entryLine()
{
    QFETCH(bool, idioms);
    QFETCH(qint32, entry);
    QFETCH(QByteArray, stem);
    QFETCH(QByteArray, definition);

    const std::optional<qint32> entryIndex = entry < 0 ? std::nullopt : std::optional(entry);
    const lookup::LookupOutcome outcome =
        lookup::lookUpDefinition(found(entryIndex, stem), store::DataFolder(m_folder),
                                 idioms ? Mode::Idioms : Mode::Words, "old", symbolCells(), {});
    QCOMPARE(outcome.definition, definition);
    QVERIFY(outcome.definitionShown);
    QVERIFY(outcome.finished);
    QVERIFY(outcome.entryRead);
}

void TestDefinition::searchBeforeAnyFind()
{
    store::TagCells tags;
    tags[0] = "xy";
    const lookup::LookupOutcome outcome = lookup::lookUpDefinition(
        SearchState{}, store::DataFolder(m_folder), Mode::Words, "old xy", symbolCells(), tags);
    // Nothing is read; the box stays hidden, and its old text has its tags bracketed again.
    QVERIFY(!outcome.definitionShown);
    QVERIFY(!outcome.entryRead);
    QCOMPARE(outcome.definition, QByteArray("old (xy) "));
    QVERIFY(outcome.finished);
}

void TestDefinition::searchTwiceShowsTheSameEntry()
{
    const SearchState state = found(11003, "first");
    const auto first = lookup::lookUpDefinition(state, store::DataFolder(m_folder), Mode::Words, {},
                                                symbolCells(), {});
    const auto second = lookup::lookUpDefinition(state, store::DataFolder(m_folder), Mode::Words,
                                                 first.definition, symbolCells(), {});
    QCOMPARE(first.definition, QByteArray("f11003"));
    QCOMPARE(second.definition, first.definition);
    QCOMPARE(state.entryIndex, std::optional<qint32>(11003));
}

void TestDefinition::damagedLine_data()
{
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("one digit too many") << encoded("abc") + "1";
    QTest::newRow("two digits short") << encoded("abc").chopped(2);
    QTest::newRow("trimmed length odd with spaces") << "  " + encoded("ab") + "123 ";
}

void TestDefinition::damagedLine()
{
    QFETCH(QByteArray, line);

    QTemporaryDir dir;
    QVERIFY(testsupport::writeFile(dir.path() + "/source/first.dll",
                                   encoded("x") + "\r\n" + line + "\r\n"));
    store::TagCells tags;
    tags[0] = "a";
    const lookup::LookupOutcome outcome =
        lookup::lookUpDefinition(found(1, "first"), store::DataFolder(dir.path()), Mode::Words,
                                 "old a", symbolCells(), tags);
    QVERIFY(outcome.definition.isEmpty());
    QVERIFY(outcome.definitionShown);
    QVERIFY(!outcome.finished); // no bracketing, captions and focus stay
    QVERIFY(!outcome.entryRead);
}

void TestDefinition::emptyDefinition_data()
{
    QTest::addColumn<QString>("stem");
    QTest::addColumn<qint32>("entry");

    QTest::newRow("definitions file missing") << QString("third") << 5;
    QTest::newRow("entry past the end of the file") << QString("second") << 84635 + 50;
    QTest::newRow("entry far past the end of the file") << QString("second") << 179865 + 9999;
}

void TestDefinition::emptyDefinition()
{
    QFETCH(QString, stem);
    QFETCH(qint32, entry);

    const lookup::LookupOutcome outcome =
        lookup::lookUpDefinition(found(entry, stem.toLatin1()), store::DataFolder(m_folder),
                                 Mode::Words, "old", symbolCells(), {});
    // The missing line reads as empty: an empty definition under the new caption.
    QVERIFY(outcome.definition.isEmpty());
    QVERIFY(outcome.definitionShown);
    QVERIFY(outcome.finished);
    QVERIFY(!outcome.entryRead);
}

void TestDefinition::spacesAroundTheDigitsShiftGroups()
{
    const QByteArray line = "  " + encoded("cab") + "  ";
    QTemporaryDir dir;
    QVERIFY(testsupport::writeFile(dir.path() + "/source/5.dll", line + "\r\n"));
    const lookup::LookupOutcome outcome = lookup::lookUpDefinition(
        found(0, {}), store::DataFolder(dir.path()), Mode::Idioms, {}, symbolCells(), {});
    QVERIFY(outcome.finished);
    QCOMPARE(outcome.definition, store::decode(line, symbolCells()));
    QVERIFY(outcome.definition != "cab");
}

void TestDefinition::tagsBracketedAfterDecoding()
{
    QTemporaryDir dir;
    QVERIFY(testsupport::writeFile(dir.path() + "/source/first.dll",
                                   encoded("n. \xc7\xe1\xc7 v. x") + "\r\n"));
    store::TagCells tags;
    tags[0] = "n.";
    tags[1] = " v. ";
    const lookup::LookupOutcome outcome = lookup::lookUpDefinition(
        found(0, "first"), store::DataFolder(dir.path()), Mode::Words, {}, symbolCells(), tags);
    QCOMPARE(outcome.definition, QByteArray("(n.)  \xc7\xe1\xc7(v.) x"));
}

void TestDefinition::fileReplacedBetweenLookups()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/source/second.dll";
    QVERIFY(testsupport::writeFile(path, encoded("old") + "\r\n"));
    const SearchState state = found(store::kSecondFileBoundary, "second");
    QCOMPARE(lookup::lookUpDefinition(state, store::DataFolder(dir.path()), Mode::Words, {},
                                      symbolCells(), {})
                 .definition,
             QByteArray("old"));
    QVERIFY(QFile::remove(path));
    QVERIFY(testsupport::writeFile(path, encoded("new") + "\r\n"));
    QCOMPARE(lookup::lookUpDefinition(state, store::DataFolder(dir.path()), Mode::Words, {},
                                      symbolCells(), {})
                 .definition,
             QByteArray("new"));
}

QTEST_APPLESS_MAIN(TestDefinition)
#include "tst_definition.moc"
