// SPDX-License-Identifier: GPL-3.0-or-later
// Nothing lost: a long session of typing, lookups in both modes, list clicks, the whole
// idiom list and every colour operation leaves every data file as it was and the settings
// file holding exactly the last colours chosen; a run killed while it writes a colour
// leaves every other record as it was.
#include "support/scriptedwindow.h"
#include "support/testfiles.h"
#include "support/warnings.h"

#include "colours/colourvalue.h"
#include "colours/settingsfile.h"
#include "colours/settingslocation.h"
#include "dataset/dataset.h"
#include "platform/linereader.h"
#include "platform/recordfile.h"
#include "platform/testing/systemtesting.h"
#include "shell/form1.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QThread>

#include <array>
#include <memory>

using colours::Setting;

namespace {

dataset::DataSet fixture()
{
    dataset::DataSet set;
    const char *arabic = "\xc7\xc8\xca\xcb\xcc\xcd\xce\xcf";
    for (int letter : {0, 1, 9, 18, 25}) {
        for (int n = 0; n < 60; ++n) {
            const QByteArray word =
                QByteArray(1, char('a' + letter)) + QByteArray::number(n * 7 + 100, 36);
            const QByteArray definition = QByteArray(arabic + n % 8, 8 - n % 8) + " n. " + word +
                                          " (" + QByteArray::number(n) + ")";
            set.letters[size_t(letter)].append({word, definition});
        }
    }
    for (int n = 0; n < 3200; ++n)
        set.idioms.append({"go " + QByteArray::number(n).rightJustified(4, '0') + " on",
                           "gloss adv. " + QByteArray::number(n)});
    for (size_t k = 0; k < set.cells.size(); ++k)
        set.cells[k] = QByteArray(1, char(0xc7 + k));
    set.tags[0] = " n. ";
    set.tags[1] = "adv.";
    return set;
}

// Every file of the two data folders by its path, with the hash of its bytes.
QMap<QString, QByteArray> dataFiles(const QString &programFolder)
{
    QMap<QString, QByteArray> files;
    for (const QString &folder : {QStringLiteral("/source"), QStringLiteral("/source1")}) {
        QDirIterator it(programFolder + folder, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            files.insert(path, QCryptographicHash::hash(testsupport::readFile(path),
                                                        QCryptographicHash::Sha256));
        }
    }
    return files;
}

// A record as the settings file holds it: the length, the digits, zero filler.
QByteArray record(qint32 value)
{
    const QByteArray digits = colours::formatValue(value);
    QByteArray bytes(platform::RecordFile::RecordLength, '\0');
    bytes[0] = char(digits.size());
    bytes.replace(2, digits.size(), digits);
    return bytes;
}

QByteArray recordOf(const QByteArray &file, int number)
{
    return file.mid((number - 1) * platform::RecordFile::RecordLength,
                    platform::RecordFile::RecordLength);
}

struct Window : testsupport::ScriptedWindow
{
    using ScriptedWindow::ScriptedWindow;

    void type(const QString &text)
    {
        auto *rr = child<QLineEdit>("rr");
        rr->selectAll();
        QTest::keyClicks(rr, text);
    }
    void search() { QTest::keyClick(child<QLineEdit>("rr"), Qt::Key_Return); }
    void clickRow(int row)
    {
        if (row < child<QListWidget>("l")->count())
            child<QListWidget>("l")->setCurrentRow(row);
    }
    void doubleClickRow(int row)
    {
        auto *list = child<QListWidget>("l");
        if (row >= list->count())
            return;
        // A double click: the first click, then the second press that makes it double.
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    void pressDefinitionBox(Qt::MouseButton button)
    {
        auto *box = child<QTextEdit>("rr1")->viewport();
        QTest::mousePress(box, button, {}, QPoint(10, 10));
        QTest::mouseRelease(box, button, {}, QPoint(10, 10));
    }
    QString definition() { return child<QTextEdit>("rr1")->toPlainText(); }
};

// The record each colour operation writes, in menu order.
constexpr std::array<const char *, 4> kColourItems = {"vocabcolor", "vocabbackcolor", "defincolor",
                                                      "definbackcolor"};

// Keeps writing one colour, or Restore, until it is killed.
[[noreturn]] void writeForever(const QString &path, bool restoring)
{
    const colours::SettingsFile settings(path);
    for (qint32 round = 0;; ++round) {
        if (restoring && round % 2 == 0)
            settings.storeRestoreValues();
        else
            settings.store(Setting::DefinitionText, colours::toColor(round % 2 ? 16777215 : 7));
    }
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void longSessionLosesNothing_data();
    void longSessionLosesNothing();
    void killedColourWriteKeepsOtherRecords_data();
    void killedColourWriteKeepsOtherRecords();
};

void TestSession::initTestCase()
{
    // The user's configuration folder of a test run is a folder of its own.
    QStandardPaths::setTestModeEnabled(true);
}

void TestSession::init()
{
    testsupport::failOnWarnings();
    QDir(colours::userSettingsFolder()).removeRecursively();
}

void TestSession::longSessionLosesNothing_data()
{
    QTest::addColumn<bool>("sample");

    QTest::newRow("data set written by the test") << false;
    QTest::newRow("sample dictionary of the program folder") << true;
}

void TestSession::longSessionLosesNothing()
{
    QFETCH(bool, sample);

    // The session runs on a copy, so that its settings file stays out of the program folder.
    QTemporaryDir folder;
    if (sample) {
        const QString programFolder = QCoreApplication::applicationDirPath();
        if (!QFileInfo::exists(programFolder + QStringLiteral("/source1/idioms.hhh")))
            QSKIP("no sample dictionary in the program folder (target sample-data)");
        for (const QString &data : {QStringLiteral("/source"), QStringLiteral("/source1")}) {
            QDir().mkpath(folder.path() + data);
            for (const QString &name : QDir(programFolder + data).entryList(QDir::Files)) {
                QVERIFY(QFile::copy(programFolder + data + u'/' + name,
                                    folder.path() + data + u'/' + name));
            }
        }
    } else {
        QCOMPARE(dataset::write(folder.path(), fixture()), std::nullopt);
    }
    const QMap<QString, QByteArray> before = dataFiles(folder.path());
    // What is typed in idioms mode: the start of an idiom of the list.
    auto idioms = platform::LineReader::open(folder.path() + QStringLiteral("/source/3.dll"), {});
    QVERIFY(idioms && idioms->skipLines(40) == 40);
    const QString idiomPrefix = QString::fromLatin1(idioms->readLine().value_or("").left(5));
    QVERIFY(!idiomPrefix.isEmpty());
    QVERIFY(before.size() > 50);

    // The last value chosen for each record; none at first, when the file is missing.
    std::array<std::optional<qint32>, 4> last;
    QRandomGenerator random(7);
    const auto nextColour = [&] { return qint32(random.bounded(0x1000000)); };

    {
        Window window(folder.path());
        const auto chooseColour = [&](int record, bool cancel) {
            const qint32 value = nextColour();
            window.prompts->colours = {cancel ? std::nullopt
                                              : std::optional(colours::toColor(value))};
            window.child<QAction>(kColourItems[size_t(record - 1)])->trigger();
            if (!cancel)
                last[size_t(record - 1)] = value;
        };

        for (int round = 0; round < 3; ++round) {
            // Words: typing across initials, a refused initial, lookups and list clicks.
            for (const char *text : {"a", "ab", "b2", "jz", "s3", "z", "1", "s"}) {
                window.type(QString::fromLatin1(text));
                window.search();
            }
            window.type(QStringLiteral("b"));
            for (int row : {0, 1, 5, 22, 23, 11})
                window.clickRow(row);
            window.doubleClickRow(4);
            QVERIFY(!window.definition().isEmpty());

            for (int record = 1; record <= 4; ++record)
                chooseColour(record, record == round + 1);

            // Idioms, answering No: windows of 24 lines around what is typed.
            window.prompts->answers = {false};
            window.child<QAction>("IdiomsandExpressions")->trigger();
            window.type(idiomPrefix);
            window.search();
            window.clickRow(3);
            window.doubleClickRow(12);
            QVERIFY(!window.definition().isEmpty());
            window.child<QAction>("words")->trigger();
            window.type(QStringLiteral("ja"));
            window.search();

            // The right click on the definitions: left and middle ask nothing, No changes
            // nothing, Yes chooses the definitions text colour.
            window.pressDefinitionBox(Qt::LeftButton);
            window.pressDefinitionBox(Qt::MiddleButton);
            window.prompts->answers = {false};
            window.pressDefinitionBox(Qt::RightButton);
            const qint32 value = nextColour();
            window.prompts->answers = {true};
            window.prompts->colours = {colours::toColor(value)};
            window.pressDefinitionBox(Qt::RightButton);
            last[2] = value;

            // The whole idiom list: clicks far down it, and Search on what they found.
            window.prompts->answers = {true};
            window.child<QAction>("IdiomsandExpressions")->trigger();
            QCOMPARE(window.child<QListWidget>("l")->count(), 3134);
            for (int row : {100, 3133, 0, 2500})
                window.clickRow(row);
            window.child<QPushButton>("Command1")->click();
            QVERIFY(!window.definition().isEmpty());
            window.type(idiomPrefix.left(2));
            window.search();
            window.child<QAction>("words")->trigger();

            // Restore: No keeps everything, Yes writes all four; then one colour more.
            window.prompts->answers = {false};
            window.child<QAction>("restore")->trigger();
            window.prompts->answers = {true};
            window.child<QAction>("restore")->trigger();
            for (Setting setting : colours::AllSettings) {
                last[size_t(colours::recordNumber(setting) - 1)] = colours::restoreValue(setting);
            }
            chooseColour(2 + round % 3, false);
        }
    }

    QCOMPARE(dataFiles(folder.path()), before);

    QByteArray expected;
    for (const std::optional<qint32> &value : last)
        expected += record(*value);
    const QString settingsPath = folder.filePath(QStringLiteral("Setting.Dll"));
    QCOMPARE(testsupport::readFile(settingsPath), expected);

    // The next start shows exactly those colours.
    Window next(folder.path());
    const QPalette list = next.child<QListWidget>("l")->palette();
    const QPalette box = next.child<QTextEdit>("rr1")->palette();
    QCOMPARE(list.color(QPalette::Text), colours::toColor(*last[0]));
    QCOMPARE(list.color(QPalette::Base), colours::toColor(*last[1]));
    QCOMPARE(box.color(QPalette::Text), colours::toColor(*last[2]));
    QCOMPARE(box.color(QPalette::Base), colours::toColor(*last[3]));
    QCOMPARE(testsupport::readFile(settingsPath), expected);
}

void TestSession::killedColourWriteKeepsOtherRecords_data()
{
    QTest::addColumn<bool>("restoring");

    QTest::newRow("killed while storing the definitions text colour") << false;
    QTest::newRow("killed while storing it or restoring all four") << true;
}

void TestSession::killedColourWriteKeepsOtherRecords()
{
    QFETCH(bool, restoring);
    if (!platform::testing::childrenAvailable())
        QSKIP("no process can be killed in the middle of its writing on this system");

    // Records 1, 2 and 4 hold colours that neither writer ever writes; record 5 lies
    // beyond what any writer touches.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Setting.Dll"));
    const QByteArray original =
        record(1234) + record(56789) + record(7) + record(42) + QByteArray(100, 'x');
    QRandomGenerator random(11);
    int kills = 0;
    for (int attempt = 0; attempt < 40; ++attempt) {
        QVERIFY(testsupport::writeFile(path, original));
        const qint64 child = platform::testing::startChild([&] { writeForever(path, restoring); });
        QVERIFY(child > 0);
        // A moment picked at random inside the child's writing; never a measure of it.
        QThread::usleep(500 + random.bounded(4000));
        kills += platform::testing::killChild(child) ? 1 : 0;

        const QByteArray file = testsupport::readFile(path);
        QCOMPARE(file.size(), original.size());
        QCOMPARE(file.mid(4 * 128), original.mid(4 * 128));
        // Every record holds one whole value: the one it held, or one a writer wrote.
        QList<QByteArray> definitionText{record(7), record(16777215)};
        if (restoring)
            definitionText.append(record(0));
        QVERIFY2(definitionText.contains(recordOf(file, 3)), recordOf(file, 3).toHex());
        const std::array<qint32, 4> kept = {1234, 56789, 0, 42};
        const std::array<qint32, 4> restored = {0, 9697533, 0, 16702203};
        for (int number : {1, 2, 4}) {
            const QByteArray now = recordOf(file, number);
            QVERIFY2(now == record(kept[size_t(number - 1)]) ||
                         (restoring && now == record(restored[size_t(number - 1)])),
                     now.toHex());
        }
    }
    QCOMPARE(kills, 40);
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
