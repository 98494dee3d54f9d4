// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptedprompts.h"
#include "support/warnings.h"

#include "shell/closewordsline.h"
#include "shell/form1.h"

#include "dataset/dataset.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

namespace {

// Windows-1256: "kitab" (book) and "qalb" (heart) in Arabic letters.
const QByteArray kBook("\xdf\xca\xc7\xc8");
const QByteArray kHeart("\xde\xe1\xc8");

// Close words of "abandonmentz".
const QString kFirst = QStringLiteral("abandonment");
const QString kSecond = QStringLiteral("abandonments");

const QList<QByteArray> kAWords{"aardvark", "Abacus", "abandon", "abate", "abbey", "able", "abort"};

// The letter w, line by line: "w" itself, wa00 to wa39, "water" on line 41, then waters00
// to waters79 on lines 42 to 121.
QList<QByteArray> wLines()
{
    QList<QByteArray> lines{"w"};
    for (int n = 0; n < 40; ++n)
        lines << "wa" + QByteArray::number(n).rightJustified(2, '0');
    lines << "water";
    for (int n = 0; n < 80; ++n)
        lines << "waters" + QByteArray::number(n).rightJustified(2, '0');
    return lines;
}

QStringList itemTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// The two words as the definition box must show them, written out here rather than decoded
// with the code page the window itself uses.
const QString kBookShown = QStringLiteral("كتاب");
const QString kHeartShown = QStringLiteral("قلب");

bool writeDataSet(const QString &folder)
{
    dataset::DataSet set;
    for (const QByteArray &word : kAWords) {
        const QByteArray definition = word == "Abacus"  ? "n. " + kBook
                                      : word == "abort" ? "1. " + kBook + " 2. " + kHeart
                                                        : kHeart + " " + word;
        set.letters[0].append(dataset::Entry{word, definition});
    }
    for (const QByteArray &word : wLines().sliced(1))
        set.letters[22].append({word, kHeart});
    set.idioms.append(dataset::Entry{"a bad egg", "1. a rogue 2. a cad"});
    for (int i = 0; i < 4; ++i)
        set.cells[size_t(i)] = kBook.sliced(i, 1);
    set.cells[4] = kHeart.first(1);
    set.cells[5] = kHeart.sliced(1, 1);
    set.tags[0] = "n.";
    const std::optional<QString> error = dataset::write(folder, set);
    if (error)
        qWarning("%s", qPrintable(*error));
    return !error;
}

} // namespace

class TestShellLookup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typeAndPressEnter();
    void listClickKeepsTheList();
    void clickOnTheWindowEdgeRebuildsIt();
    void clickOnItemEqualToTheSearchText();
    void keysWalkTheList_data();
    void keysWalkTheList();
    void doubleClickLooksUp_data();
    void doubleClickLooksUp();
    void damagedEntryLeavesTheCaptions();
    void longDefinitionReadsBackWhole_data();
    void longDefinitionReadsBackWhole();
    void readingOrder_data();
    void readingOrder();
    void closeWordsLine_data();
    void closeWordsLine();
    void closeWordGoesIntoTheBox_data();
    void closeWordGoesIntoTheBox();
    void closeWordsLineKeepsToItsWidth_data();
    void closeWordsLineKeepsToItsWidth();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Form1> m_window;
    QLineEdit *rr = nullptr;
    QListWidget *l = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label12 = nullptr;
    QTextEdit *rr1 = nullptr;
};

void TestShellLookup::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeDataSet(m_dir.path()));
}

void TestShellLookup::init()
{
    testsupport::failOnWarnings();
    m_window = std::make_unique<Form1>(m_dir.path());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    rr = m_window->findChild<QLineEdit *>(QStringLiteral("rr"));
    l = m_window->findChild<QListWidget *>(QStringLiteral("l"));
    Label2 = m_window->findChild<QLabel *>(QStringLiteral("Label2"));
    Label12 = m_window->findChild<QLabel *>(QStringLiteral("Label12"));
    rr1 = m_window->findChild<QTextEdit *>(QStringLiteral("rr1"));
    QVERIFY(rr && l && Label2 && Label12 && rr1);
    rr->setFocus();
}

void TestShellLookup::cleanup()
{
    m_window.reset();
}

void TestShellLookup::typeAndPressEnter()
{
    QTest::keyClicks(rr, QStringLiteral("ab"));
    // The list: the heading item of a, then lines 1 to 23 (here all there are).
    QStringList expected{QStringLiteral("  a")};
    for (const QByteArray &word : kAWords)
        expected << QString::fromLatin1(word);
    QCOMPARE(itemTexts(l), expected);
    QCOMPARE(l->selectedItems().size(), 0);
    QVERIFY(Label12->isHidden());
    QVERIFY(Label2->text().isEmpty());

    QTest::keyClick(rr, Qt::Key_Return);
    // "ab" found "Abacus", ignoring case; the caption is the index text from the match on.
    QVERIFY(Label2->text().startsWith(QStringLiteral("  Abacus\r\n  abandon")));
    QCOMPARE(Label2->text().size(), 30);
    QCOMPARE(Label2->text(), Label12->text());
    QVERIFY(Label12->isVisible());
    // The label draws the first line whole and nothing of the next one.
    const QImage drawn = Label12->grab().toImage();
    const int firstLine = Label12->fontMetrics().height() * drawn.height() / Label12->height();
    const auto inkInRows = [&drawn](int top, int bottom) {
        const QRgb paper = drawn.pixel(drawn.width() - 1, drawn.height() - 1);
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < drawn.width(); ++x)
                if (drawn.pixel(x, y) != paper)
                    return true;
        return false;
    };
    QVERIFY(inkInRows(0, firstLine));
    QVERIFY(!inkInRows(firstLine, drawn.height()));
    QVERIFY(rr1->isVisible());
    QCOMPARE(rr1->toPlainText(), QStringLiteral("(n.)  ") + kBookShown);
    // Ready for the next word: the search box has the focus and all its text selected.
    QVERIFY(rr->hasFocus());
    QCOMPARE(rr->selectedText(), QStringLiteral("ab"));

    // The next character replaces the selected text and hides the caption again.
    QTest::keyClicks(rr, QStringLiteral("abl"));
    QCOMPARE(rr->text(), QStringLiteral("abl"));
    QVERIFY(Label12->isHidden());
    QVERIFY(Label2->text().startsWith(QStringLiteral("  Abacus")));
}

void TestShellLookup::listClickKeepsTheList()
{
    QTest::keyClicks(rr, QStringLiteral("aba"));
    const QStringList before = itemTexts(l);
    l->setCurrentRow(4); // "abate", by the mouse or the arrow keys
    QCOMPARE(rr->text(), QStringLiteral("abate"));
    QCOMPARE(itemTexts(l), before);
    QCOMPARE(l->currentRow(), 4);
    QTest::keyClick(l, Qt::Key_Down); // "abbey"
    QCOMPARE(rr->text(), QStringLiteral("abbey"));
    QCOMPARE(itemTexts(l), before);

    QTest::keyClick(m_window.get(), Qt::Key_Return);
    QCOMPARE(rr1->toPlainText(), kHeartShown + QStringLiteral(" abbey"));
    QVERIFY(Label2->text().startsWith(QStringLiteral("  abbey")));

    // The flag lived for that click only: the next keystroke builds the window anew, with no
    // item selected.
    QTest::keyClicks(rr, QStringLiteral("abl"));
    QCOMPARE(itemTexts(l), before);
    QCOMPARE(l->selectedItems().size(), 0);
}

void TestShellLookup::clickOnTheWindowEdgeRebuildsIt()
{
    QTest::keyClicks(rr, QStringLiteral("abl"));
    l->setCurrentRow(0); // the heading item: the bare initial goes into the search box
    QCOMPARE(rr->text(), QStringLiteral("a"));
    QCOMPARE(l->count(), int(kAWords.size()) + 1);
    QCOMPARE(l->selectedItems().size(), 0); // built anew
}

void TestShellLookup::clickOnItemEqualToTheSearchText()
{
    QTest::keyClicks(rr, QStringLiteral("abate"));
    l->setCurrentRow(4); // "abate" again: the text does not change
    QCOMPARE(rr->text(), QStringLiteral("abate"));
    QCOMPARE(l->currentRow(), 4);
    // Had the keep-list flag stayed set, this keystroke would keep the selected window.
    QTest::keyClick(rr, Qt::Key_Backspace);
    QCOMPARE(l->selectedItems().size(), 0);
}

void TestShellLookup::keysWalkTheList_data()
{
    QTest::addColumn<QString>("typed");
    // Keys pressed in the list after Tab has taken the focus there: "Down 60" is Down sixty
    // times; "click 23" is a mouse click on row 23.
    QTest::addColumn<QStringList>("keys");
    // The word in the search box at the end, and the list's current item there (spaces
    // removed at both ends, as the heading item goes into the box): the row it is on.
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("currentRow");

    // Tab lands on the word found, which is not selected.
    QTest::newRow("Tab: the match, line 41") << "water" << QStringList{} << "water" << 10;
    QTest::newRow("Tab: line 0, the heading item") << "w" << QStringList{} << "w" << 0;

    // Every Down one line on, every Up one line back, across the windows built anew.
    QTest::newRow("Down 13 onto row 23: the window is built around it")
        << "water" << QStringList{"Down 13"} << "waters12" << 10;
    QTest::newRow("Down 14: one past row 23 goes on")
        << "water" << QStringList{"Down 14"} << "waters13" << 11;
    QTest::newRow("Down through 60 words from water")
        << "water" << QStringList{"Down 60"} << "waters59" << 18;
    QTest::newRow("Down 60, then Up 60 back to water")
        << "water" << QStringList{"Down 60", "Up 60"} << "water" << 8;
    QTest::newRow("Up 10 onto row 0: the window is built around it")
        << "water" << QStringList{"Up 10"} << "wa30" << 10;
    QTest::newRow("Up 11: one past row 0 goes on")
        << "water" << QStringList{"Up 11"} << "wa29" << 9;
    QTest::newRow("Up 41 to the heading item") << "water" << QStringList{"Up 41"} << "w" << 0;
    QTest::newRow("Up past the heading item stays there")
        << "water" << QStringList{"Up 43"} << "w" << 0;
    QTest::newRow("Down to the end of the letter stays there")
        << "waters70" << QStringList{"Down 11"} << "waters79" << 19;

    // End and Home take the edge of the window, which is then built around it.
    QTest::newRow("End, then Down") << "water" << QStringList{"End", "Down"} << "waters13" << 11;
    QTest::newRow("Home, then Up") << "water" << QStringList{"Home", "Up"} << "wa29" << 9;
    QTest::newRow("Home at the start of the letter, then Up")
        << "wa05" << QStringList{"Home", "Up"} << "w" << 0;
    QTest::newRow("End at the end of the letter, then Down")
        << "waters70" << QStringList{"End", "Down"} << "waters79" << 19;

    // The mouse on the edge of the window: built around the clicked word, which is current.
    QTest::newRow("click on row 23, then Down")
        << "water" << QStringList{"click 23", "Down"} << "waters13" << 11;
}

void TestShellLookup::keysWalkTheList()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, keys);
    QFETCH(QString, word);
    QFETCH(int, currentRow);

    const QList<QByteArray> lines = wLines();
    const auto lineInBox = [&] { return lines.indexOf(rr->text().toLatin1()); };

    QTest::keyClicks(rr, typed);
    QTest::keyClick(rr, Qt::Key_Tab);
    QVERIFY(l->hasFocus());
    QVERIFY(l->selectedItems().isEmpty());
    for (const QString &key : keys) {
        const QString name = key.section(u' ', 0, 0);
        if (name == u"click") {
            const QRect item = l->visualItemRect(l->item(key.section(u' ', 1).toInt()));
            QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, item.center());
            continue;
        }
        const int times = key.contains(u' ') ? key.section(u' ', 1).toInt() : 1;
        const Qt::Key code = name == u"Down"  ? Qt::Key_Down
                             : name == u"Up"  ? Qt::Key_Up
                             : name == u"End" ? Qt::Key_End
                                              : Qt::Key_Home;
        for (int i = 0; i < times; ++i) {
            const int before = lineInBox();
            QTest::keyClick(QApplication::focusWidget(), code);
            // One line on in the direction pressed; at the ends of the letter none.
            if (code == Qt::Key_Down)
                QCOMPARE(lineInBox(), std::min(before + 1, int(lines.size()) - 1));
            else if (code == Qt::Key_Up)
                QCOMPARE(lineInBox(), std::max(before - 1, 0));
        }
    }
    QCOMPARE(rr->text(), word);
    QVERIFY(l->currentItem());
    QCOMPARE(l->currentItem()->text().trimmed(), word);
    QCOMPARE(l->currentRow(), currentRow);
    QVERIFY(l->hasFocus());
}

void TestShellLookup::doubleClickLooksUp_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QString>("definition");

    QTest::newRow("item inside the window keeps the list")
        << 3 << QStringLiteral("abandon") << kHeartShown + QStringLiteral(" abandon");
    // The first click builds the window anew; the second press still makes a double click.
    QTest::newRow("heading item rebuilds the window first")
        << 0 << QStringLiteral("a") << QString();
}

void TestShellLookup::doubleClickLooksUp()
{
    QFETCH(int, row);
    QFETCH(QString, searchText);
    QFETCH(QString, definition);

    QTest::keyClicks(rr, QStringLiteral("abl"));
    const QRect item = l->visualItemRect(l->item(row));
    // A double click: the first click, then the second press that makes it double.
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(rr->text(), searchText);
    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(rr->text(), searchText);
    QVERIFY(rr1->isVisible());
    QCOMPARE(rr1->toPlainText(), definition);
    QVERIFY(Label2->text().startsWith(QStringLiteral("  ") + searchText));
    QVERIFY(rr->hasFocus());
}

void TestShellLookup::damagedEntryLeavesTheCaptions()
{
    // A data set of its own, whose line for "able" (entry 6, line 7 of first.dll) is damaged.
    QTemporaryDir dir;
    QVERIFY(writeDataSet(dir.path()));
    QFile first(dir.path() + "/source/first.dll");
    QVERIFY(first.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = first.readAll().split('\n');
    first.close();
    lines[6] = "123\r";
    QVERIFY(first.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QVERIFY(first.write(lines.join('\n')) > 0);
    first.close();

    Form1 window(dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("rr"));
    auto *caption = window.findChild<QLabel *>(QStringLiteral("Label2"));
    auto *definition = window.findChild<QTextEdit *>(QStringLiteral("rr1"));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("abb"));
    QTest::keyClick(box, Qt::Key_Return);
    const QString shown = caption->text();
    QVERIFY(shown.startsWith(QStringLiteral("  abbey")));

    QTest::keyClicks(box, QStringLiteral("abl"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(definition->isVisible());
    QVERIFY(definition->toPlainText().isEmpty());
    QCOMPARE(caption->text(), shown);
    QVERIFY(window.findChild<QLabel *>(QStringLiteral("Label12"))->isHidden());
}

void TestShellLookup::longDefinitionReadsBackWhole_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("paragraphs");

    // Words of four letters and a space, without a line break.
    QTest::newRow("8,399 characters") << 8399 << 1;
    QTest::newRow("64 KiB: whole") << 65536 << 1;
    QTest::newRow("one past 64 KiB: broken for display") << 65537 << 2;
}

void TestShellLookup::longDefinitionReadsBackWhole()
{
    QFETCH(int, length);
    QFETCH(int, paragraphs);
    QByteArray definition;
    QString expected;
    while (definition.size() < length) {
        definition += kBook + ' ';
        expected += kBookShown + u' ';
    }
    definition.truncate(length);
    expected.truncate(length);

    QTemporaryDir dir;
    dataset::DataSet set;
    set.letters[0].append({"along", definition});
    for (int i = 0; i < 4; ++i)
        set.cells[size_t(i)] = kBook.sliced(i, 1);
    QCOMPARE(dataset::write(dir.path(), set), std::nullopt);
    Form1 window(dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("rr"));
    auto *shown = window.findChild<QTextEdit *>(QStringLiteral("rr1"));
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("along"));
    QTest::keyClick(box, Qt::Key_Return);

    // The box, a copy of all of it, and what a screen reader reads: the text as decoded.
    QCOMPARE(shown->document()->blockCount(), paragraphs);
    if (paragraphs > 1) {
        // Only a longer paragraph, which no real definition holds, is broken, after a space.
        QCOMPARE(shown->toPlainText().remove(u'\n'), expected);
        return;
    }
    QCOMPARE(shown->toPlainText(), expected);
    shown->selectAll();
    shown->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(shown);
    QVERIFY(reader && reader->textInterface());
    QCOMPARE(reader->textInterface()->characterCount(), length);
    QCOMPARE(reader->textInterface()->text(0, length), expected);
}

void TestShellLookup::readingOrder_data()
{
    QTest::addColumn<bool>("idioms");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("definition"); // as decoded: the logical order
    QTest::addColumn<QString>("first");      // a piece of it
    QTest::addColumn<QString>("later");      // a piece further on
    QTest::addColumn<bool>("fromTheRight");

    const QString numbered =
        QStringLiteral("1. ") + kBookShown + QStringLiteral(" 2. ") + kHeartShown;
    QTest::newRow("words: numbered senses, the first at the right edge")
        << false << "abort" << numbered << "1."
        << "2." << true;
    QTest::newRow("words: Arabic, then a Latin word to its left")
        << false << "abbey" << kHeartShown + QStringLiteral(" abbey") << kHeartShown << "abbey"
        << true;
    QTest::newRow("words: a tag in front of Arabic stands at the right edge")
        << false << "abac" << QStringLiteral("(n.)  ") + kBookShown << "(n.)" << kBookShown << true;
    QTest::newRow("idioms: numbered senses, the first at the left edge") << true << "a b"
                                                                         << "1. a rogue 2. a cad"
                                                                         << "1."
                                                                         << "2." << false;
}

void TestShellLookup::readingOrder()
{
    QFETCH(bool, idioms);
    QFETCH(QString, typed);
    QFETCH(QString, definition);
    QFETCH(QString, first);
    QFETCH(QString, later);
    QFETCH(bool, fromTheRight);

    if (idioms) {
        m_window->setPrompts(std::make_unique<testsupport::ScriptedPrompts>()); // No
        m_window->findChild<QAction *>(QStringLiteral("IdiomsandExpressions"))->trigger();
    }
    QTest::keyClicks(rr, typed);
    QTest::keyClick(rr, Qt::Key_Return);
    QCOMPARE(rr1->toPlainText(), definition);

    // The reader meets the pieces in the text's order, starting at the edge the box's
    // paragraphs stand at.
    const QTextLine line = rr1->document()->firstBlock().layout()->lineAt(0);
    QVERIFY(line.isValid());
    const qreal firstX = line.cursorToX(int(definition.indexOf(first)));
    const qreal laterX = line.cursorToX(int(definition.indexOf(later)));
    QVERIFY2(fromTheRight ? firstX > laterX : firstX < laterX,
             qPrintable(QStringLiteral("\"%1\" at %2, \"%3\" at %4")
                            .arg(first)
                            .arg(firstX)
                            .arg(later)
                            .arg(laterX)));
    const QRectF inked = line.naturalTextRect();
    if (fromTheRight)
        QVERIFY(inked.right() > line.width() - 2 && inked.left() > line.width() / 2);
    else
        QVERIFY(inked.left() < 2 && inked.right() < line.width() / 2);

    // All of it selected and copied with the keys, and read out: the text as decoded.
    rr1->setFocus();
    QTest::keyClick(rr1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(rr1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), definition);
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(rr1);
    QVERIFY(reader && reader->textInterface());
    QCOMPARE(reader->textInterface()->text(0, int(definition.size())), definition);
}

void TestShellLookup::closeWordsLine_data()
{
    QTest::addColumn<QString>("typed"); // \b: Backspace
    QTest::addColumn<QString>("line");  // empty: no line

    QTest::newRow("a text that matches: no line") << "aba" << QString();
    QTest::newRow("nothing matches: the close word offered")
        << "abnadon" << QStringLiteral("No entry for \u201cabnadon\u201d \u2014 abandon");
    QTest::newRow("nothing matches and nothing is close: said alone")
        << "abqqqqq" << QStringLiteral("No entry for \u201cabqqqqq\u201d");
    QTest::newRow("matching again takes the line away") << "abnadon\b\b\b\b\b" << QString();
    QTest::newRow("an emptied box: no line") << "abq\b\b\b" << QString();
}

void TestShellLookup::closeWordsLine()
{
    QFETCH(QString, typed);
    QFETCH(QString, line);
    auto *closeWords = m_window->findChild<CloseWordsLine *>(QStringLiteral("closeWords"));
    QVERIFY(closeWords);

    const qsizetype erased = typed.count(u'\b');
    QTest::keyClicks(rr, typed.first(typed.size() - erased));
    for (qsizetype k = 0; k < erased; ++k)
        QTest::keyClick(rr, Qt::Key_Backspace);

    QCOMPARE(closeWords->isVisible(), !line.isEmpty());
    if (line.isEmpty())
        return;
    QCOMPARE(closeWords->accessibleName(), line);
    // The line only adds: what the last match showed stays.
    QVERIFY(Label12->text().startsWith(QStringLiteral("  Abacus")));
    QVERIFY(Label12->isHidden());
    QCOMPARE(l->count(), kAWords.size() + 1);
    // Beside Search, clear of every designed control, and wide enough for all it says.
    for (const char *name : {"rr", "Command1", "l", "Label1", "Label2", "Label12", "rr1"}) {
        const auto *control = m_window->findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(!closeWords->geometry().intersects(control->geometry()), name);
    }
    QVERIFY(closeWords->sizeHint().width() <= closeWords->width());
}

void TestShellLookup::closeWordGoesIntoTheBox_data()
{
    QTest::addColumn<bool>("keyboard");

    QTest::newRow("a click on the word") << false;
    QTest::newRow("Tab to the word, Enter") << true;
}

void TestShellLookup::closeWordGoesIntoTheBox()
{
    QFETCH(bool, keyboard);
    auto *closeWords = m_window->findChild<CloseWordsLine *>(QStringLiteral("closeWords"));
    QVERIFY(closeWords);

    QTest::keyClicks(rr, QStringLiteral("abnadon"));
    QVERIFY(closeWords->isVisible());
    QCOMPARE(closeWords->words(), QStringList{QStringLiteral("abandon")});
    if (keyboard) {
        // The search box, the list, Search, then the word.
        for (int k = 0; k < 3; ++k)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), closeWords);
        QTest::keyClick(closeWords, Qt::Key_Return);
    } else {
        const QFontMetrics metrics(closeWords->font());
        const QString before = QStringLiteral("No entry for \u201cabnadon\u201d \u2014 ");
        const QPoint word(closeWords->contentsRect().left() + metrics.horizontalAdvance(before) +
                              metrics.horizontalAdvance(QStringLiteral("abandon")) / 2,
                          closeWords->height() / 2);
        QTest::mouseClick(closeWords, Qt::LeftButton, {}, word);
    }

    // As if the word had been typed: the step ran, the line is gone, and the box has the
    // focus with the cursor after the word, so Enter shows it.
    QCOMPARE(rr->text(), QStringLiteral("abandon"));
    QVERIFY(closeWords->isHidden());
    QVERIFY(rr->hasFocus());
    QVERIFY(!rr->hasSelectedText());
    QCOMPARE(rr->cursorPosition(), 7);
    const QStringList list = itemTexts(l);
    const QString caption = Label12->text();
    QVERIFY(caption.startsWith(QStringLiteral("  abandon")));
    QTest::keyClick(rr, Qt::Key_Return);
    QCOMPARE(rr1->toPlainText(), kHeartShown + QStringLiteral(" abandon"));
    QCOMPARE(Label2->text(), caption);

    // The same as typing it.
    rr->clear();
    QTest::keyClicks(rr, QStringLiteral("abandon"));
    QCOMPARE(itemTexts(l), list);
    QCOMPARE(Label12->text(), caption);
}

void TestShellLookup::closeWordsLineKeepsToItsWidth_data()
{
    QTest::addColumn<QString>("room"); // the width of this text, at the line's font
    QTest::addColumn<int>("spare");
    QTest::addColumn<bool>("textWhole");
    QTest::addColumn<int>("wordsShown");

    const QString text = QStringLiteral("abandonmentz");
    const QString one = CloseWordsLine::lineText(QStringLiteral("\u2026"), {kFirst});
    QTest::newRow("room for all") << CloseWordsLine::lineText(text, {kFirst, kSecond}) << 4 << true
                                  << 2;
    QTest::newRow("a little less: the text gives way")
        << CloseWordsLine::lineText(text, {kFirst, kSecond}) << -10 << false << 2;
    QTest::newRow("room for the text cut to nothing and one word") << one << 4 << false << 1;
    QTest::newRow("a little less: no word, and the text has room again") << one << -4 << true << 0;
}

void TestShellLookup::closeWordsLineKeepsToItsWidth()
{
    QFETCH(QString, room);
    QFETCH(int, spare);
    QFETCH(bool, textWhole);
    QFETCH(int, wordsShown);

    const QString text = QStringLiteral("abandonmentz");
    CloseWordsLine line;
    line.resize(line.fontMetrics().horizontalAdvance(room) + spare, 30);
    line.offer(text, {kFirst, kSecond});
    QVERIFY(line.sizeHint().width() <= line.width());
    QCOMPARE(line.text().contains(u'\u201c' + text + u'\u201d'), textWhole);
    QCOMPARE(line.text().count(QStringLiteral("</a>")), wordsShown);
    // Whatever is shown, what a screen reader reads is the whole line.
    QCOMPARE(line.accessibleName(), CloseWordsLine::lineText(text, {kFirst, kSecond}));
}

QTEST_MAIN(TestShellLookup)
#include "tst_shell_lookup.moc"
