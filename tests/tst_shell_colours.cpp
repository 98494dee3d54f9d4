// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptedprompts.h"
#include "support/testfiles.h"
#include "support/warnings.h"

#include "shell/form1.h"
#include "shell/prompts.h"

#include "colours/settingslocation.h"

#include <QAction>
#include <QColorDialog>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <memory>

Q_DECLARE_METATYPE(Question)

namespace {

using testsupport::ScriptedPrompts;

// One whole record as the settings file holds it.
constexpr auto record = &testsupport::settingsRecord;

const QByteArray restoredFile = record("0") + record("9697533") + record("0") + record("16702203");

// The colours a user sees: text and background of the list and the definition box, and
// the background of the backdrop under the definition box.
struct Shown
{
    QColor listText, listBack, definitionText, definitionBack, backdrop;
    bool operator==(const Shown &) const = default;
};

char *toString(const Shown &shown)
{
    return qstrdup(QStringLiteral("list %1 on %2, definitions %3 on %4, backdrop %5")
                       .arg(shown.listText.name(), shown.listBack.name(),
                            shown.definitionText.name(), shown.definitionBack.name(),
                            shown.backdrop.name())
                       .toUtf8());
}

} // namespace

class TestShellColours : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void firstStartCreatesEmptyFile();
    void menuOperationAppliesAndStores_data();
    void menuOperationAppliesAndStores();
    void cancelledDialogChangesNothing_data();
    void cancelledDialogChangesNothing();
    void restoreYesWritesAndApplies();
    void restoreNoLeavesEmptyFile();
    void startUpReading_data();
    void startUpReading();
    void rightClickOnDefinitionBox_data();
    void rightClickOnDefinitionBox();
    void paletteChangeShows();
    void unwritableProgramFolderKeepsColourForNextStart();

    void realQuestionBoxes_data();
    void realQuestionBoxes();
    void realColourDialogRemembersLastColour();

private:
    std::unique_ptr<Form1> start();
    static Shown shownBy(const Form1 &window);
    Shown shown() const { return shownBy(*m_window); }
    QAction *action(const char *name) const { return m_window->findChild<QAction *>(name); }
    QString settingsPath() const { return m_dir->filePath(QStringLiteral("Setting.Dll")); }

    std::optional<QTemporaryDir> m_dir;
    std::unique_ptr<Form1> m_window;
    ScriptedPrompts *m_prompts = nullptr;
    Shown m_design;
};

void TestShellColours::initTestCase()
{
    // The user's configuration folder of a test run is a folder of its own.
    QStandardPaths::setTestModeEnabled(true);
}

void TestShellColours::init()
{
    testsupport::failOnWarnings();
    QDir(colours::userSettingsFolder()).removeRecursively();
    m_dir.emplace();
    QVERIFY(m_dir->isValid());

    // The design colours: what a window shows when nothing is stored.
    QTemporaryDir empty;
    m_design = shownBy(Form1(empty.path()));
    QCOMPARE(m_design.listBack, QColor(255, 255, 192));
}

void TestShellColours::cleanup()
{
    m_window.reset();
    m_prompts = nullptr;
}

std::unique_ptr<Form1> TestShellColours::start()
{
    auto window = std::make_unique<Form1>(m_dir->path());
    auto prompts = std::make_unique<ScriptedPrompts>();
    m_prompts = prompts.get();
    window->setPrompts(std::move(prompts));
    return window;
}

Shown TestShellColours::shownBy(const Form1 &window)
{
    const QPalette list = window.findChild<QListWidget *>("l")->palette();
    const QPalette box = window.findChild<QTextEdit *>("rr1")->palette();
    const QPalette backdrop = window.findChild<QTextEdit *>("rr3")->palette();
    return {list.color(QPalette::Text), list.color(QPalette::Base), box.color(QPalette::Text),
            box.color(QPalette::Base), backdrop.color(QPalette::Base)};
}

void TestShellColours::firstStartCreatesEmptyFile()
{
    QVERIFY(!QFile::exists(settingsPath()));
    m_window = start();
    QVERIFY(QFile::exists(settingsPath()));
    QCOMPARE(testsupport::readFile(settingsPath()), QByteArray());
    QCOMPARE(m_window->settingsFile().path(), settingsPath());
    QCOMPARE(shown(), m_design);
}

void TestShellColours::menuOperationAppliesAndStores_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("file");

    const QByteArray none(128, '\0');
    QTest::newRow("vocabcolor: list text, record 1") << "vocabcolor" << record("1971210");
    QTest::newRow("vocabbackcolor: list background, 256 bytes, record 1 empty")
        << "vocabbackcolor" << none + record("1971210");
    QTest::newRow("defincolor: definitions text, record 3")
        << "defincolor" << none + none + record("1971210");
    QTest::newRow("definbackcolor: definitions background, record 4, backdrop kept")
        << "definbackcolor" << none + none + none + record("1971210");
}

void TestShellColours::menuOperationAppliesAndStores()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, file);

    m_window = start();
    const QColor chosen(10, 20, 30); // 0x001E140A = 1971210
    m_prompts->colours = {chosen};
    action(item.toLatin1())->trigger();

    Shown expected = m_design;
    if (item == QStringLiteral("vocabcolor"))
        expected.listText = chosen;
    else if (item == QStringLiteral("vocabbackcolor"))
        expected.listBack = chosen;
    else if (item == QStringLiteral("defincolor"))
        expected.definitionText = chosen;
    else
        expected.definitionBack = chosen;
    QCOMPARE(shown(), expected);
    QCOMPARE(m_prompts->dialogsShown, 1);
    QVERIFY2(m_prompts->asked.isEmpty(), "a menu colour operation asks nothing");
    QCOMPARE(testsupport::readFile(settingsPath()), file);

    // The next start shows that colour, and only that one.
    m_window.reset();
    m_window = start();
    if (item == QStringLiteral("definbackcolor"))
        expected.backdrop = chosen;
    QCOMPARE(shown(), expected);
}

void TestShellColours::cancelledDialogChangesNothing_data()
{
    QTest::addColumn<QString>("item");
    for (const char *item : {"vocabcolor", "vocabbackcolor", "defincolor", "definbackcolor"})
        QTest::newRow(item) << QString::fromLatin1(item);
}

void TestShellColours::cancelledDialogChangesNothing()
{
    QFETCH(QString, item);

    QVERIFY(testsupport::writeFile(settingsPath(), restoredFile));
    m_window = start();
    const Shown before = shown();
    m_prompts->colours = {std::nullopt};
    action(item.toLatin1())->trigger();
    QCOMPARE(m_prompts->dialogsShown, 1);
    QCOMPARE(shown(), before);
    QCOMPARE(testsupport::readFile(settingsPath()), restoredFile);
}

void TestShellColours::restoreYesWritesAndApplies()
{
    m_window = start();
    m_prompts->answers = {true};
    action("restore")->trigger();

    QCOMPARE(m_prompts->asked, QList<Question>{Question::RestoreSettings});
    QCOMPARE(m_prompts->dialogsShown, 0);
    QCOMPARE(testsupport::readFile(settingsPath()), restoredFile);
    const Shown restored{Qt::black, QColor(253, 248, 147), Qt::black, QColor(251, 218, 254),
                         m_design.backdrop};
    QCOMPARE(shown(), restored);

    // The backdrop takes the restored background at the next start.
    m_window.reset();
    m_window = start();
    QCOMPARE(shown().backdrop, QColor(251, 218, 254));
}

void TestShellColours::restoreNoLeavesEmptyFile()
{
    m_window = start();
    QVERIFY(QFile::remove(settingsPath())); // missing again when Restore runs
    m_prompts->answers = {false};
    action("restore")->trigger();

    QCOMPARE(m_prompts->asked, QList<Question>{Question::RestoreSettings});
    QVERIFY(QFile::exists(settingsPath()));
    QCOMPARE(testsupport::readFile(settingsPath()), QByteArray());
    QCOMPARE(shown(), m_design);
}

void TestShellColours::startUpReading_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("applied"); // records expected to take effect
    QTest::addColumn<Shown>("stored");       // what those records hold

    const QColor red(255, 0, 0);
    const QColor two(2, 0, 0);
    const QColor back(251, 218, 254);
    QTest::newRow("restored file applies all four, record 4 also to the backdrop")
        << restoredFile << QList<int>{1, 2, 3, 4}
        << Shown{Qt::black, QColor(253, 248, 147), Qt::black, back, back};
    QTest::newRow("records 1 and 2 only change the list")
        << record("255") + record("2") << QList<int>{1, 2} << Shown{red, two, {}, {}, {}};
    QTest::newRow("letters in record 2 leave only the list background")
        << record("255") + record("yellow") + record("255") + record("16702203")
        << QList<int>{1, 3, 4} << Shown{red, {}, red, back, back};
    QTest::newRow("out of range and never written leave their own colours")
        << record("16777216") + QByteArray(128, '\0') + record("-1") + record("16702203")
        << QList<int>{4} << Shown{{}, {}, {}, back, back};
    QTest::newRow("blanks around apply, 2.5 applies 2")
        << record(" 255 ") + record("2.5") << QList<int>{1, 2} << Shown{red, two, {}, {}, {}};
}

void TestShellColours::startUpReading()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, applied);
    QFETCH(Shown, stored);

    QVERIFY(testsupport::writeFile(settingsPath(), file));
    m_window = start();

    Shown expected = m_design;
    if (applied.contains(1))
        expected.listText = stored.listText;
    if (applied.contains(2))
        expected.listBack = stored.listBack;
    if (applied.contains(3))
        expected.definitionText = stored.definitionText;
    if (applied.contains(4)) {
        expected.definitionBack = stored.definitionBack;
        expected.backdrop = stored.backdrop;
    }
    QCOMPARE(shown(), expected);
    QCOMPARE(testsupport::readFile(settingsPath()), file);
}

void TestShellColours::rightClickOnDefinitionBox_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<bool>("changes");

    QTest::newRow("right button, Yes changes the text colour")
        << Qt::RightButton << true << true << true;
    QTest::newRow("right button, No changes nothing") << Qt::RightButton << false << true << false;
    QTest::newRow("left button asks nothing") << Qt::LeftButton << true << false << false;
    QTest::newRow("middle button asks nothing") << Qt::MiddleButton << true << false << false;
}

void TestShellColours::rightClickOnDefinitionBox()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, answer);
    QFETCH(bool, asks);
    QFETCH(bool, changes);

    m_window = start();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_prompts->answers = {answer};
    m_prompts->colours = {QColor(10, 20, 30)};

    auto *box = m_window->findChild<QTextEdit *>("rr1");
    QTest::mousePress(box->viewport(), button, {}, QPoint(20, 20));
    QTest::mouseRelease(box->viewport(), button, {}, QPoint(20, 20));

    QCOMPARE(m_prompts->asked, asks ? QList<Question>{Question::ChangeColour} : QList<Question>{});
    QCOMPARE(m_prompts->dialogsShown, changes ? 1 : 0);
    Shown expected = m_design;
    if (changes)
        expected.definitionText = QColor(10, 20, 30);
    QCOMPARE(shown(), expected);
    QCOMPARE(testsupport::readFile(settingsPath()),
             changes ? QByteArray(256, '\0') + record("1971210") : QByteArray());
}

void TestShellColours::paletteChangeShows()
{
    m_window = start();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_prompts->answers = {true};
    action("restore")->trigger();

    // An empty spot of each box, as painted on the screen.
    auto *list = m_window->findChild<QListWidget *>("l");
    auto *box = m_window->findChild<QTextEdit *>("rr1");
    const QImage listImage = list->viewport()->grab().toImage();
    const QImage boxImage = box->viewport()->grab().toImage();
    QCOMPARE(listImage.pixelColor(listImage.rect().center()), QColor(253, 248, 147));
    QCOMPARE(boxImage.pixelColor(boxImage.rect().center()), QColor(251, 218, 254));
}

void TestShellColours::unwritableProgramFolderKeepsColourForNextStart()
{
    // A name that cannot become a file stands for a folder the program may not write to;
    // unlike permissions it holds for every user, the superuser too.
    QVERIFY(QDir().mkpath(settingsPath()));
    m_window = start();
    const QString userFile = colours::userSettingsFolder() + QStringLiteral("/Setting.Dll");
    QCOMPARE(m_window->settingsFile().path(), userFile);

    m_prompts->colours = {QColor(10, 20, 30)};
    action("vocabbackcolor")->trigger();
    QCOMPARE(shown().listBack, QColor(10, 20, 30));

    m_window.reset();
    m_window = start();
    QCOMPARE(shown().listBack, QColor(10, 20, 30));
    QCOMPARE(testsupport::readFile(userFile), QByteArray(128, '\0') + record("1971210"));
}

void TestShellColours::realQuestionBoxes_data()
{
    QTest::addColumn<Question>("question");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<bool>("yes");

    QTest::newRow("restore, Yes") << Question::RestoreSettings << "Restore"
                                  << "Are you sure you want to restore all the settings?"
                                  << QMessageBox::Question << true;
    QTest::newRow("colour, No") << Question::ChangeColour << "Color"
                                << "Do you want to change the color?" << QMessageBox::NoIcon
                                << false;
    QTest::newRow("whole list, Yes")
        << Question::SeeWholeList << "Idioms"
        << "Do you want to see all the list?\r\nIt might take a minute!" << QMessageBox::NoIcon
        << true;
}

void TestShellColours::realQuestionBoxes()
{
    QFETCH(Question, question);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(bool, yes);

    QWidget parent;
    MessageBoxPrompts prompts(&parent);
    // What the box showed, read while it is open; it is answered before anything is
    // compared, so a wrong box cannot leave the test waiting.
    struct Seen
    {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QList<QMessageBox::StandardButton> buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    std::optional<Seen> seen;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = Seen{box->windowTitle(), box->text(), box->icon(), {}, QMessageBox::NoButton};
        for (QAbstractButton *button : box->buttons())
            seen->buttons.append(box->standardButton(button));
        if (box->defaultButton())
            seen->defaultButton = box->standardButton(box->defaultButton());
        if (QAbstractButton *answer = box->button(yes ? QMessageBox::Yes : QMessageBox::No))
            answer->click();
        else
            box->reject();
    });
    QCOMPARE(prompts.ask(question), yes);
    QVERIFY(seen);
    QCOMPARE(seen->title, title);
    QCOMPARE(seen->text, text);
    QCOMPARE(seen->icon, icon);
    std::sort(seen->buttons.begin(), seen->buttons.end());
    QCOMPARE(seen->buttons,
             (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
    QCOMPARE(seen->defaultButton, QMessageBox::Yes);
}

void TestShellColours::realColourDialogRemembersLastColour()
{
    QWidget parent;
    MessageBoxPrompts prompts(&parent);
    QColor opened;
    auto answer = [&](const QColor &choose, bool accept) {
        QTimer::singleShot(0, this, [&, choose, accept] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            opened = dialog->currentColor();
            dialog->setCurrentColor(choose);
            accept ? dialog->accept() : dialog->reject();
        });
    };

    answer(QColor(10, 20, 30), true);
    QCOMPARE(prompts.chooseColour(), std::optional<QColor>(QColor(10, 20, 30)));
    answer(QColor(200, 100, 50), false);
    QCOMPARE(prompts.chooseColour(), std::nullopt);
    QCOMPARE(opened, QColor(10, 20, 30));
    answer(QColor(1, 2, 3), true);
    QCOMPARE(prompts.chooseColour(), std::optional<QColor>(QColor(1, 2, 3)));
    QCOMPARE(opened, QColor(10, 20, 30)); // the cancelled colour was not kept
}

QTEST_MAIN(TestShellColours)
#include "tst_shell_colours.moc"
