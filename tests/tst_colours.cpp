// SPDX-License-Identifier: GPL-3.0-or-later
#include "colours/coloursetting.h"
#include "colours/colourvalue.h"
#include "colours/settingsfile.h"
#include "colours/settingslocation.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using colours::Setting;

Q_DECLARE_METATYPE(colours::Setting)
Q_DECLARE_METATYPE(std::optional<qint32>)

namespace {

// One whole record as the settings file holds it.
constexpr auto record = &testsupport::settingsRecord;

QByteArray emptyRecord()
{
    return QByteArray(128, '\0');
}

const QByteArray restoredFile = record("0") + record("9697533") + record("0") + record("16702203");

} // namespace

class ColoursTest : public QObject
{
    Q_OBJECT

private slots:
    // Every test starts from a folder of its own.
    void init()
    {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
    }

    void valueLayout_data();
    void valueLayout();
    void parseNumber_data();
    void parseNumber();
    void onlyDialogValuesAreColours_data();
    void onlyDialogValuesAreColours();

    void storeWritesOnlyItsRecord_data();
    void storeWritesOnlyItsRecord();
    void storeKeepsOtherRecords();
    void storeRestoreValues();
    void storeRestoreValuesKeepsLaterRecords();
    void ensureExists();
    void readStoredColours_data();
    void readStoredColours();
    void readMissingFile();

    void locationInWritableProgramFolder();
    void locationKeepsExistingFile();
    void locationFallsBackToUserFolder_data();
    void locationFallsBackToUserFolder();
    void unwritableProgramFolderKeepsColourForNextStart();
    void userCopyStartsFromInstalledFile();
    void userCopyIsNotReplaced();
    void installedProgramFolderIsNeverWritten_data();
    void installedProgramFolderIsNeverWritten();

private:
    QString filePath() const { return m_dir->filePath(QStringLiteral("Setting.Dll")); }
    QString programFolder() const { return m_dir->filePath(QStringLiteral("program")); }
    QString userFolder() const { return m_dir->filePath(QStringLiteral("config/vellumstack")); }
    QString userFile() const { return userFolder() + QStringLiteral("/Setting.Dll"); }

    std::optional<QTemporaryDir> m_dir;
};

void ColoursTest::valueLayout_data()
{
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("0 is black") << 0 << QColor(0, 0, 0);
    QTest::newRow("low byte is red") << 0x0000FF << QColor(255, 0, 0);
    QTest::newRow("middle byte is green") << 0x00FF00 << QColor(0, 255, 0);
    QTest::newRow("high byte is blue") << 0xFF0000 << QColor(0, 0, 255);
    QTest::newRow("restored list background") << 9697533 << QColor(253, 248, 147);
    QTest::newRow("restored definitions background") << 16702203 << QColor(251, 218, 254);
    QTest::newRow("design list background") << 0x00C0FFFF << QColor(255, 255, 192);
    QTest::newRow("16777215 is white") << 16777215 << QColor(255, 255, 255);
}

void ColoursTest::valueLayout()
{
    QFETCH(qint32, value);
    QFETCH(QColor, colour);

    QCOMPARE(colours::toColor(value), colour);
    QCOMPARE(colours::toValue(colour), value);
    QCOMPARE(colours::parseNumber(colours::formatValue(value)), value);
}

void ColoursTest::parseNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<std::optional<qint32>>("expected");

    const std::optional<qint32> none;
    QTest::newRow("plain digits") << QByteArray("9697533") << std::optional<qint32>(9697533);
    QTest::newRow("blanks around") << QByteArray(" 255 ") << std::optional<qint32>(255);
    QTest::newRow("tabs around") << QByteArray("\t7\t") << std::optional<qint32>(7);
    QTest::newRow("leading zeros") << QByteArray("007") << std::optional<qint32>(7);
    QTest::newRow("plus sign") << QByteArray("+12") << std::optional<qint32>(12);
    QTest::newRow("minus sign") << QByteArray("-12") << std::optional<qint32>(-12);
    QTest::newRow("2.5 ties to even 2") << QByteArray("2.5") << std::optional<qint32>(2);
    QTest::newRow("3.5 ties to even 4") << QByteArray("3.5") << std::optional<qint32>(4);
    QTest::newRow("0.5 ties to even 0") << QByteArray("0.5") << std::optional<qint32>(0);
    QTest::newRow("-2.5 ties to even -2") << QByteArray("-2.5") << std::optional<qint32>(-2);
    QTest::newRow("-3.5 ties to even -4") << QByteArray("-3.5") << std::optional<qint32>(-4);
    QTest::newRow("2.50000 is still a tie") << QByteArray("2.50000") << std::optional<qint32>(2);
    QTest::newRow("2.500001 is above the tie")
        << QByteArray("2.500001") << std::optional<qint32>(3);
    QTest::newRow("2.4999 rounds down") << QByteArray("2.4999") << std::optional<qint32>(2);
    QTest::newRow("2.6 rounds up") << QByteArray("2.6") << std::optional<qint32>(3);
    QTest::newRow("no fraction digits") << QByteArray("5.") << std::optional<qint32>(5);
    QTest::newRow("no integer digits") << QByteArray(".7") << std::optional<qint32>(1);
    QTest::newRow("largest 32-bit value")
        << QByteArray("2147483647") << std::optional<qint32>(2147483647);
    QTest::newRow("smallest 32-bit value")
        << QByteArray("-2147483648") << std::optional<qint32>(-2147483647 - 1);
    QTest::newRow("tie below the largest rounds to it")
        << QByteArray("2147483646.5") << std::optional<qint32>(2147483646);
    QTest::newRow("tie above the largest is out of range") << QByteArray("2147483647.5") << none;
    QTest::newRow("one above the largest") << QByteArray("2147483648") << none;
    QTest::newRow("one below the smallest") << QByteArray("-2147483649") << none;
    QTest::newRow("twenty digits") << QByteArray("99999999999999999999") << none;
    QTest::newRow("empty") << QByteArray() << none;
    QTest::newRow("blanks only") << QByteArray("   ") << none;
    QTest::newRow("letters") << QByteArray("red") << none;
    QTest::newRow("digits then letters") << QByteArray("12a") << none;
    QTest::newRow("blank inside") << QByteArray("1 2") << none;
    QTest::newRow("exponent") << QByteArray("1e3") << none;
    QTest::newRow("hexadecimal") << QByteArray("0x10") << none;
    QTest::newRow("two points") << QByteArray("1.2.3") << none;
    QTest::newRow("point only") << QByteArray(".") << none;
    QTest::newRow("sign only") << QByteArray("-") << none;
    QTest::newRow("zero byte after digits") << QByteArray("12\0", 3) << none;
}

void ColoursTest::parseNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(std::optional<qint32>, expected);

    QCOMPARE(colours::parseNumber(text), expected);
}

void ColoursTest::onlyDialogValuesAreColours_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("isColour");

    QTest::newRow("0") << QByteArray("0") << true;
    QTest::newRow("16777215") << QByteArray("16777215") << true;
    QTest::newRow("16777216") << QByteArray("16777216") << false;
    QTest::newRow("-1") << QByteArray("-1") << false;
    QTest::newRow("-0.4 rounds to 0") << QByteArray("-0.4") << true;
}

void ColoursTest::onlyDialogValuesAreColours()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, isColour);

    QCOMPARE(colours::colourFromText(text).has_value(), isColour);
}

void ColoursTest::storeWritesOnlyItsRecord_data()
{
    QTest::addColumn<Setting>("setting");
    QTest::addColumn<QByteArray>("expected");

    const QColor colour(253, 248, 147);
    QTest::newRow("list text: 128 bytes") << Setting::ListText << record("9697533");
    QTest::newRow("list background: 256 bytes, record 1 empty")
        << Setting::ListBackground << emptyRecord() + record("9697533");
    QTest::newRow("definitions text: 384 bytes")
        << Setting::DefinitionText << emptyRecord() + emptyRecord() + record("9697533");
    QTest::newRow("definitions background: 512 bytes")
        << Setting::DefinitionBackground
        << emptyRecord() + emptyRecord() + emptyRecord() + record("9697533");
}

void ColoursTest::storeWritesOnlyItsRecord()
{
    QFETCH(Setting, setting);
    QFETCH(QByteArray, expected);

    const colours::SettingsFile file(filePath());
    QVERIFY(file.ensureExists());
    QVERIFY(file.store(setting, QColor(253, 248, 147)));
    QCOMPARE(testsupport::readFile(filePath()), expected);

    colours::StoredColours stored = file.read();
    for (Setting other : colours::AllSettings) {
        const auto &colour = stored[colours::recordNumber(other) - 1];
        if (other == setting)
            QCOMPARE(colour, std::optional<QColor>(QColor(253, 248, 147)));
        else
            QVERIFY2(!colour, "a record never written holds no colour");
    }
}

void ColoursTest::storeKeepsOtherRecords()
{
    QVERIFY(testsupport::writeFile(filePath(), restoredFile));
    QVERIFY(colours::SettingsFile(filePath()).store(Setting::DefinitionText, Qt::white));
    QCOMPARE(testsupport::readFile(filePath()),
             record("0") + record("9697533") + record("16777215") + record("16702203"));
}

void ColoursTest::storeRestoreValues()
{
    const colours::SettingsFile file(filePath());
    QVERIFY(file.ensureExists());
    QVERIFY(file.storeRestoreValues());
    QCOMPARE(testsupport::readFile(filePath()), restoredFile);

    const colours::StoredColours stored = file.read();
    for (Setting setting : colours::AllSettings)
        QCOMPARE(stored[colours::recordNumber(setting) - 1],
                 std::optional<QColor>(colours::toColor(colours::restoreValue(setting))));
}

void ColoursTest::storeRestoreValuesKeepsLaterRecords()
{
    const QByteArray before = QByteArray(4 * 128, 'x') + record("fifth");
    QVERIFY(testsupport::writeFile(filePath(), before));
    QVERIFY(colours::SettingsFile(filePath()).storeRestoreValues());
    QCOMPARE(testsupport::readFile(filePath()), restoredFile + record("fifth"));
}

void ColoursTest::ensureExists()
{
    const colours::SettingsFile file(filePath());
    QVERIFY(file.ensureExists());
    QVERIFY(QFile::exists(filePath()));
    QCOMPARE(testsupport::readFile(filePath()), QByteArray());

    QVERIFY(testsupport::writeFile(filePath(), record("5")));
    QVERIFY(file.ensureExists());
    QCOMPARE(testsupport::readFile(filePath()), record("5"));
}

void ColoursTest::readStoredColours_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<colours::StoredColours>("expected");

    const std::optional<QColor> none;
    QTest::newRow("restored file")
        << restoredFile
        << colours::StoredColours{QColor(0, 0, 0), QColor(253, 248, 147), QColor(0, 0, 0),
                                  QColor(251, 218, 254)};
    QTest::newRow("empty file") << QByteArray() << colours::StoredColours{};
    QTest::newRow("records 1 and 2 only")
        << record("255") + record("65280")
        << colours::StoredColours{QColor(255, 0, 0), QColor(0, 255, 0), none, none};
    QTest::newRow("letters leave only their own colour")
        << record("0") + record("yellow") + record("0") + record("16702203")
        << colours::StoredColours{QColor(0, 0, 0), none, QColor(0, 0, 0), QColor(251, 218, 254)};
    QTest::newRow("out of range leaves only its own colour")
        << record("4294967296") + record("-1") + record("16777216") + record("16702203")
        << colours::StoredColours{none, none, none, QColor(251, 218, 254)};
    QTest::newRow("never written record 3")
        << record("0") + record("9697533") + emptyRecord() + record("16702203")
        << colours::StoredColours{QColor(0, 0, 0), QColor(253, 248, 147), none,
                                  QColor(251, 218, 254)};
    QTest::newRow("blanks around applies, 2.5 applies 2")
        << record(" 255 ") + record("2.5") + record("") + record("3.5")
        << colours::StoredColours{QColor(255, 0, 0), QColor(2, 0, 0), none, QColor(4, 0, 0)};
    QTest::newRow("record 4 cut short")
        << restoredFile.left(3 * 128 + 20)
        << colours::StoredColours{QColor(0, 0, 0), QColor(253, 248, 147), QColor(0, 0, 0), none};
}

void ColoursTest::readStoredColours()
{
    QFETCH(QByteArray, file);
    QFETCH(colours::StoredColours, expected);

    QVERIFY(testsupport::writeFile(filePath(), file));
    QCOMPARE(colours::SettingsFile(filePath()).read(), expected);
}

void ColoursTest::readMissingFile()
{
    QCOMPARE(colours::SettingsFile(filePath()).read(), colours::StoredColours{});
    QVERIFY2(!QFile::exists(filePath()), "reading creates nothing");
}

void ColoursTest::locationInWritableProgramFolder()
{
    QVERIFY(QDir().mkpath(programFolder()));
    const QString path = colours::chooseSettingsPath(programFolder(), userFolder());
    QCOMPARE(path, programFolder() + QStringLiteral("/Setting.Dll"));
    QCOMPARE(testsupport::readFile(path), QByteArray());
    QVERIFY2(QFile::exists(path), "the file is created empty");
    QVERIFY(!QDir(userFolder()).exists());
}

void ColoursTest::locationKeepsExistingFile()
{
    QVERIFY(testsupport::writeFile(programFolder() + QStringLiteral("/Setting.Dll"), restoredFile));
    const QString path = colours::chooseSettingsPath(programFolder(), userFolder());
    QCOMPARE(path, programFolder() + QStringLiteral("/Setting.Dll"));
    QCOMPARE(testsupport::readFile(path), restoredFile);
}

void ColoursTest::locationFallsBackToUserFolder_data()
{
    QTest::addColumn<QString>("obstacle");

    // Both work for any user, the superuser too.
    QTest::newRow("program folder missing") << QStringLiteral("missing");
    QTest::newRow("settings name taken by a folder") << QStringLiteral("folder");
    QTest::newRow("program folder read-only") << QStringLiteral("read-only");
}

void ColoursTest::locationFallsBackToUserFolder()
{
    QFETCH(QString, obstacle);

    if (obstacle == QStringLiteral("folder")) {
        QVERIFY(QDir().mkpath(programFolder() + QStringLiteral("/Setting.Dll")));
    } else if (obstacle == QStringLiteral("read-only")) {
        if (testsupport::writesIntoReadOnlyFolders())
            QSKIP("this user writes into read-only folders");
        QVERIFY(QDir().mkpath(programFolder()));
        QVERIFY(
            QFile::setPermissions(programFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    const QString path = colours::chooseSettingsPath(programFolder(), userFolder());
    QFile::setPermissions(programFolder(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(path, userFile());
    QVERIFY2(QDir(userFolder()).exists(), "the user's folder is made");
    QVERIFY(!QFileInfo(programFolder() + QStringLiteral("/Setting.Dll")).isFile());
}

void ColoursTest::unwritableProgramFolderKeepsColourForNextStart()
{
    QVERIFY(QDir().mkpath(programFolder() + QStringLiteral("/Setting.Dll")));

    // This run: a colour is chosen and stored.
    {
        const colours::SettingsFile file(
            colours::chooseSettingsPath(programFolder(), userFolder()));
        QVERIFY(file.ensureExists());
        QVERIFY(file.store(Setting::ListBackground, QColor(10, 20, 30)));
    }
    // The next start finds it where it was stored.
    const colours::SettingsFile next(colours::chooseSettingsPath(programFolder(), userFolder()));
    QCOMPARE(next.read()[1], std::optional<QColor>(QColor(10, 20, 30)));
    QCOMPARE(testsupport::readFile(userFile()), emptyRecord() + record("1971210"));
}

void ColoursTest::userCopyStartsFromInstalledFile()
{
    if (testsupport::writesReadOnlyFiles())
        QSKIP("this user writes read-only files");
    const QString installed = programFolder() + QStringLiteral("/Setting.Dll");
    QVERIFY(testsupport::writeFile(installed, restoredFile));
    QVERIFY(QFile::setPermissions(installed, QFileDevice::ReadOwner));

    const colours::SettingsFile file(colours::chooseSettingsPath(programFolder(), userFolder()));
    QCOMPARE(file.path(), userFile());
    QCOMPARE(testsupport::readFile(userFile()), restoredFile);
    QVERIFY2(file.store(Setting::ListText, Qt::white), "the copy can be written");
    QCOMPARE(testsupport::readFile(installed), restoredFile);
}

void ColoursTest::userCopyIsNotReplaced()
{
    if (testsupport::writesReadOnlyFiles())
        QSKIP("this user writes read-only files");
    const QString installed = programFolder() + QStringLiteral("/Setting.Dll");
    QVERIFY(testsupport::writeFile(installed, restoredFile));
    QVERIFY(QFile::setPermissions(installed, QFileDevice::ReadOwner));
    QVERIFY(testsupport::writeFile(userFile(), record("255")));

    QCOMPARE(colours::chooseSettingsPath(programFolder(), userFolder()), userFile());
    QCOMPARE(testsupport::readFile(userFile()), record("255"));
}

void ColoursTest::installedProgramFolderIsNeverWritten_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QByteArray>("installedColours"); // null: the folder has no Setting.Dll
    QTest::addColumn<bool>("withUserFolder");
    QTest::addColumn<QByteArray>("userFileAfter"); // null: no user's file

    // The folder stays writable for its owner: the superuser's run is no different.
    QTest::newRow("writable installed folder: an empty file of the user's")
        << QStringLiteral("file") << QByteArray() << true << QByteArray("");
    QTest::newRow("installation's colours: the user's copy starts from them")
        << QStringLiteral("file") << restoredFile << true << restoredFile;
    QTest::newRow("marker a folder: installed all the same")
        << QStringLiteral("folder") << QByteArray() << true << QByteArray("");
    QTest::newRow("marker a dangling link: installed all the same")
        << QStringLiteral("dangling link") << QByteArray() << true << QByteArray("");
    QTest::newRow("no user's folder: no settings file at all")
        << QStringLiteral("file") << QByteArray() << false << QByteArray();
    QTest::newRow("no user's folder, installation's colours: still none written")
        << QStringLiteral("file") << restoredFile << false << QByteArray();
}

void ColoursTest::installedProgramFolderIsNeverWritten()
{
    QFETCH(QString, marker);
    QFETCH(QByteArray, installedColours);
    QFETCH(bool, withUserFolder);
    QFETCH(QByteArray, userFileAfter);

    const QString markerPath = programFolder() + QStringLiteral("/.installed");
    QVERIFY(QDir().mkpath(programFolder()));
    if (marker == QStringLiteral("file"))
        QVERIFY(testsupport::writeFile(markerPath, "installed\n"));
    else if (marker == QStringLiteral("folder"))
        QVERIFY(QDir().mkpath(markerPath));
    else
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("gone")), markerPath));
    const QString installedFile = programFolder() + QStringLiteral("/Setting.Dll");
    if (!installedColours.isNull())
        QVERIFY(testsupport::writeFile(installedFile, installedColours));
    const QStringList before = testsupport::listTree(programFolder());

    const colours::SettingsFile file(
        colours::chooseSettingsPath(programFolder(), withUserFolder ? userFolder() : QString()));
    // What a run does with the file it was given: it makes it, and stores a colour.
    const bool made = file.ensureExists();
    if (made)
        QVERIFY(file.store(Setting::ListText, Qt::white));

    QCOMPARE(testsupport::listTree(programFolder()), before);
    if (!installedColours.isNull())
        QCOMPARE(testsupport::readFile(installedFile), installedColours);
    if (userFileAfter.isNull()) {
        QCOMPARE(file.path(), QString());
        QVERIFY(!made);
        QVERIFY(!QFileInfo::exists(userFile()));
    } else {
        QCOMPARE(file.path(), userFile());
        QVERIFY(made);
        QByteArray expected = userFileAfter.isEmpty() ? emptyRecord() : userFileAfter;
        expected.replace(0, 128, record("16777215"));
        QCOMPARE(testsupport::readFile(userFile()), expected);
    }
}

QTEST_APPLESS_MAIN(ColoursTest)
#include "tst_colours.moc"
