// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/warnings.h"

#include "shell/form1.h"
#include "shell/searchbox.h"

#include "dataset/dataset.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Types text into the box, where "|" puts the cursor, "[" and "]" select what lies between
// them and a final "!" presses Enter.
void typeInto(QLineEdit *box, const QString &marked)
{
    QString typed = marked;
    typed.remove(u'|').remove(u'[').remove(u']').remove(u'!');
    QTest::keyClicks(box, typed);
    if (marked.endsWith(u'!'))
        QTest::keyClick(box, Qt::Key_Return);
    if (const qsizetype cursor = marked.indexOf(u'|'); cursor >= 0)
        box->setCursorPosition(int(cursor));
    if (const qsizetype start = marked.indexOf(u'['); start >= 0)
        box->setSelection(int(start), int(marked.indexOf(u']') - start - 1));
}

} // namespace

class TestSearchBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void pastedKey_data();
    void pastedKey();
    void pasteFindsTheWord_data();
    void pasteFindsTheWord();
    void undoTakesBackThePasteAlone_data();
    void undoTakesBackThePasteAlone();

private:
    QTemporaryDir m_dir;
};

void TestSearchBox::initTestCase()
{
    dataset::DataSet set;
    for (const char *word : {"abate", "abbey", "able", "abort", "absent"})
        set.letters[0].append(dataset::Entry{word, word});
    QCOMPARE(dataset::write(m_dir.path(), set), std::nullopt);
}

void TestSearchBox::init()
{
    // The context menu asks for the keyboard and to be raised, which the offscreen platform
    // cannot do; it takes the choice all the same.
    testsupport::failOnWarnings({QStringLiteral("raise"), QStringLiteral("grabbing the keyboard")});
}

void TestSearchBox::pastedKey_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("key");

    QTest::newRow("a word as it stands") << "absent"
                                         << "absent";
    QTest::newRow("with its line feed") << "absent\n"
                                        << "absent";
    QTest::newRow("with CR LF") << "absent\r\n"
                                << "absent";
    QTest::newRow("a lone CR ends the line") << "absent\rwater"
                                             << "absent";
    QTest::newRow("a paragraph separator ends the line") << u"water\u2029fire"_qs << "water";
    QTest::newRow("blanks around") << "  water  "
                                   << "water";
    QTest::newRow("tab and no-break space around") << "\twater\u00a0"
                                                   << "water";
    QTest::newRow("blanks inside the line stay") << " a bad  egg "
                                                 << "a bad  egg";
    QTest::newRow("several lines: the first") << "water\r\nfire\r\n"
                                              << "water";
    QTest::newRow("blank lines before the first with text") << "\r\n \t\r\n  water\nfire"
                                                            << "water";
    QTest::newRow("one character after a line break") << "\na"
                                                      << "a";
    QTest::newRow("only blanks and line breaks: nothing") << " \r\n\t\n "
                                                          << "";
    QTest::newRow("nothing") << ""
                             << "";
}

void TestSearchBox::pastedKey()
{
    QFETCH(QString, pasted);
    QFETCH(QString, key);
    QCOMPARE(searchbox::pastedKey(pasted), key);
}

void TestSearchBox::pasteFindsTheWord_data()
{
    QTest::addColumn<QString>("typed"); // marked as typeInto reads it
    QTest::addColumn<QString>("how");   // keys, menu, drop, or typing the text
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("changes"); // of the box's text, each running the search step

    QTest::newRow("CR LF, Ctrl+V") << ""
                                   << "Ctrl+V"
                                   << "absent\r\n"
                                   << "absent" << 1;
    QTest::newRow("LF, Shift+Insert") << ""
                                      << "Shift+Ins"
                                      << "absent\n"
                                      << "absent" << 1;
    QTest::newRow("blanks around") << ""
                                   << "Ctrl+V"
                                   << "  abate  "
                                   << "abate" << 1;
    QTest::newRow("several lines: the first") << ""
                                              << "Ctrl+V"
                                              << "able\r\nabort\r\n"
                                              << "able" << 1;
    QTest::newRow("into the middle of typed text") << "a|ey"
                                                   << "Ctrl+V"
                                                   << " bb\n"
                                                   << "abbey" << 1;
    QTest::newRow("over a selection") << "a[bor]t"
                                      << "Ctrl+V"
                                      << "bsen\r\n"
                                      << "absent" << 1;
    QTest::newRow("over the text a lookup left selected") << "abb!"
                                                          << "Ctrl+V"
                                                          << "abort\n"
                                                          << "abort" << 1;
    QTest::newRow("only blanks: nothing changes") << "ab[b]ey"
                                                  << "Ctrl+V"
                                                  << " \r\n "
                                                  << "abbey" << 0;
    // The focus that comes back from the menu leaves the typed text unselected.
    QTest::newRow("the context menu's Paste, into the middle") << "a|ey"
                                                               << "menu"
                                                               << " bb\n"
                                                               << "abbey" << 1;
    QTest::newRow("a drop") << ""
                            << "drop"
                            << "  absent\r\nfire"
                            << "absent" << 1;
    QTest::newRow("typed blanks stay as typed") << ""
                                                << "typing"
                                                << " ab "
                                                << " ab " << 4;
}

void TestSearchBox::pasteFindsTheWord()
{
    QFETCH(QString, typed);
    QFETCH(QString, how);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(int, changes);

    Form1 window(m_dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *rr = window.findChild<QLineEdit *>(QStringLiteral("rr"));
    auto *caption = window.findChild<QLabel *>(QStringLiteral("Label12"));
    rr->setFocus();
    typeInto(rr, typed);
    const QString selected = rr->selectedText();
    QGuiApplication::clipboard()->setText(pasted);

    QSignalSpy changed(rr, &QLineEdit::textChanged);
    if (how == u"typing") {
        QTest::keyClicks(rr, pasted);
    } else if (how == u"menu") {
        const QPoint at(2, rr->height() / 2);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, rr->mapToGlobal(at));
        QApplication::sendEvent(rr, &request);
        QWidget *menu = QApplication::activePopupWidget();
        QVERIFY(menu);
        // The menu closes, the focus comes back to the box, and then the paste runs.
        QTest::keyPress(menu, Qt::Key_P);
        QVERIFY(!QApplication::activePopupWidget());
    } else if (how == u"drop") {
        QMimeData data;
        data.setText(pasted);
        QDropEvent drop(QPointF(rr->width() - 2, rr->height() / 2), Qt::CopyAction, &data,
                        Qt::LeftButton, {});
        // The application hands on a drop only while a drag is under way; the box takes this
        // one as it takes one from a drag.
        static_cast<QObject *>(rr)->event(&drop);
        QVERIFY(drop.isAccepted());
    } else {
        const QKeyCombination key = QKeySequence::fromString(how)[0];
        QTest::keyClick(rr, key.key(), key.keyboardModifiers());
    }

    QCOMPARE(rr->text(), shown);
    QCOMPARE(changed.size(), changes);
    if (changes == 0) {
        QCOMPARE(rr->selectedText(), selected);
        return;
    }
    QCOMPARE(changed.last().front().toString(), shown);
    // The search step ran on the key: the caption's first line is the index line it found.
    if (how != u"typing")
        QCOMPARE(caption->text().section(u'\r', 0, 0), QStringLiteral("  ") + shown);
}

void TestSearchBox::undoTakesBackThePasteAlone_data()
{
    QTest::addColumn<QString>("before");     // marked as typeInto reads it
    QTest::addColumn<QString>("after");      // typed after the paste
    QTest::addColumn<QStringList>("undone"); // the text after each Ctrl+Z

    QTest::newRow("into the empty box") << ""
                                        << "" << QStringList{""};
    QTest::newRow("after typed text") << "wa"
                                      << "" << QStringList{"wa", ""};
    QTest::newRow("over a selection") << "w[in]e"
                                      << "" << QStringList{"wine", ""};
    QTest::newRow("typing after the paste is a step of its own")
        << "wa"
        << "s" << QStringList{"water", "wa", ""};
}

void TestSearchBox::undoTakesBackThePasteAlone()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QStringList, undone);

    SearchBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    typeInto(&box, before);
    QGuiApplication::clipboard()->setText(QStringLiteral(" ter\r\n"));
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClicks(&box, after);

    QStringList seen;
    for (qsizetype k = 0; k < undone.size(); ++k) {
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
        seen << box.text();
    }
    QCOMPARE(seen, undone);
}

QTEST_MAIN(TestSearchBox)
#include "tst_searchbox.moc"
