// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/warnings.h"

#include "shell/form1.h"
#include "shell/searchbox.h"

#include "dataset/dataset.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSearchBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void pastedKey_data();
    void pastedKey();
    void paste_data();
    void paste();
    void undoTakesBackThePasteAlone_data();
    void undoTakesBackThePasteAlone();
    void pasteFindsTheWord_data();
    void pasteFindsTheWord();

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
    QTest::newRow("with a lone CR") << "absent\rwater"
                                    << "absent";
    QTest::newRow("blanks around") << "  water  "
                                   << "water";
    QTest::newRow("tab and no-break space around") << "\twater\u00a0"
                                                   << "water";
    QTest::newRow("blanks inside a line are kept") << " a bad  egg "
                                                   << "a bad  egg";
    QTest::newRow("several lines: the first") << "water\r\nfire\r\n"
                                              << "water";
    QTest::newRow("blank lines before the first with text") << "\r\n \t\r\n  water\nfire"
                                                            << "water";
    QTest::newRow("a paragraph separator ends the line") << u"water\u2029fire"_qs << "water";
    QTest::newRow("a line separator ends the line") << u"water\u2028fire"_qs << "water";
    QTest::newRow("only blanks and line breaks: nothing") << " \r\n\t\n "
                                                          << "";
    QTest::newRow("nothing") << ""
                             << "";
    QTest::newRow("one character") << "a"
                                   << "a";
    QTest::newRow("one character after a break") << "\na"
                                                 << "a";
}

void TestSearchBox::pastedKey()
{
    QFETCH(QString, pasted);
    QFETCH(QString, key);
    QCOMPARE(searchbox::pastedKey(pasted), key);
}

void TestSearchBox::paste_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("selectionStart"); // -1: the cursor stays at the end
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<QString>("how"); // keys, menu, drop, typing
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("changes"); // of the text, by the paste or the typing

    QTest::newRow("CR LF, Ctrl+V") << "" << -1 << 0 << "Ctrl+V"
                                   << "absent\r\n"
                                   << "absent" << 1;
    QTest::newRow("LF, Shift+Insert") << "" << -1 << 0 << "Shift+Ins"
                                      << "absent\n"
                                      << "absent" << 1;
    QTest::newRow("blanks around") << "" << -1 << 0 << "Ctrl+V"
                                   << "  water  "
                                   << "water" << 1;
    QTest::newRow("several lines") << "" << -1 << 0 << "Ctrl+V"
                                   << "water\nfire\nearth\n"
                                   << "water" << 1;
    QTest::newRow("after typed text") << "wa" << -1 << 0 << "Ctrl+V"
                                      << "ter\r\n"
                                      << "water" << 1;
    QTest::newRow("into the middle of typed text") << "wer" << 1 << 0 << "Ctrl+V"
                                                   << " at \n"
                                                   << "water" << 1;
    QTest::newRow("over a selection") << "wine" << 1 << 2 << "Ctrl+V"
                                      << "at\r\n"
                                      << "wate" << 1;
    QTest::newRow("over all of the text") << "wine" << 0 << 4 << "Ctrl+V"
                                          << " water\n"
                                          << "water" << 1;
    QTest::newRow("only blanks: nothing changes, the selection stays")
        << "wine" << 1 << 2 << "Ctrl+V"
        << " \r\n "
        << "wine" << 0;
    QTest::newRow("the context menu's Paste") << "" << -1 << 0 << "menu"
                                              << "absent\r\n"
                                              << "absent" << 1;
    QTest::newRow("a drop") << "" << -1 << 0 << "drop"
                            << "  absent\r\nfire"
                            << "absent" << 1;
    QTest::newRow("typed blanks stay as typed") << "" << -1 << 0 << "typing"
                                                << " wa "
                                                << " wa " << 4;
}

void TestSearchBox::paste()
{
    QFETCH(QString, typed);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(QString, how);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QFETCH(int, changes);

    SearchBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QTest::keyClicks(&box, typed);
    if (selectionStart >= 0)
        box.setSelection(selectionStart, selectionLength);
    QGuiApplication::clipboard()->setText(pasted);
    QSignalSpy changed(&box, &QLineEdit::textChanged);

    if (how == u"typing") {
        QTest::keyClicks(&box, pasted);
    } else if (how == u"menu") {
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2),
                                  box.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&box, &request);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction *paste = nullptr;
        for (QAction *item : menu->actions())
            if (item->text().startsWith(QStringLiteral("&Paste")))
                paste = item;
        QVERIFY(paste);
        paste->trigger();
        menu->close();
    } else if (how == u"drop") {
        QMimeData data;
        data.setText(pasted);
        QDropEvent drop(QPointF(box.width() - 2, box.height() / 2), Qt::CopyAction, &data,
                        Qt::LeftButton, {});
        // The application hands on a drop only while a drag is under way; the box takes this
        // one as it takes one from a drag.
        static_cast<QObject *>(&box)->event(&drop);
        QVERIFY(drop.isAccepted());
    } else {
        const QKeyCombination key = QKeySequence::fromString(how)[0];
        QTest::keyClick(&box, key.key(), key.keyboardModifiers());
    }

    QCOMPARE(box.text(), shown);
    QCOMPARE(changed.size(), changes);
    if (changes > 0)
        QCOMPARE(changed.last().front().toString(), shown);
    if (how != u"typing" && changes == 0)
        QCOMPARE(box.selectedText(), typed.mid(selectionStart, selectionLength));
}

void TestSearchBox::undoTakesBackThePasteAlone_data()
{
    QTest::addColumn<QString>("before");     // typed; "|" marks the cursor, "[...]" a selection
    QTest::addColumn<QString>("after");      // typed after the paste
    QTest::addColumn<QStringList>("undone"); // the text after each Ctrl+Z

    QTest::newRow("into the empty box") << "|"
                                        << "" << QStringList{""};
    QTest::newRow("after typed text") << "wa|"
                                      << "" << QStringList{"wa", ""};
    QTest::newRow("at the start of typed text") << "|er"
                                                << "" << QStringList{"er", ""};
    QTest::newRow("over a selection") << "w[in]e"
                                      << "" << QStringList{"wine", ""};
    QTest::newRow("typing after the paste is a step of its own")
        << "wa|"
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
    QString typed = before;
    typed.remove(u'|').remove(u'[').remove(u']');
    QTest::keyClicks(&box, typed);
    if (before.contains(u'['))
        box.setSelection(int(before.indexOf(u'[')),
                         int(before.indexOf(u']') - before.indexOf(u'[') - 1));
    else
        box.setCursorPosition(int(before.indexOf(u'|')));
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

void TestSearchBox::pasteFindsTheWord_data()
{
    QTest::addColumn<QString>("typed"); // "|" marks the cursor; "!" ends with Enter
    QTest::addColumn<QString>("how");   // keys or menu
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("found");

    QTest::newRow("a word with its line feed") << ""
                                               << "Ctrl+V"
                                               << "absent\n"
                                               << "absent";
    QTest::newRow("blanks and CR LF") << ""
                                      << "Ctrl+V"
                                      << "  abate \r\n"
                                      << "abate";
    QTest::newRow("several lines: the first") << ""
                                              << "Ctrl+V"
                                              << "able\r\nabort\r\n"
                                              << "able";
    QTest::newRow("over the text a lookup left selected") << "abb!"
                                                          << "Ctrl+V"
                                                          << "abort\n"
                                                          << "abort";
    QTest::newRow("into the middle of typed text, by the context menu") << "a|ey"
                                                                        << "menu"
                                                                        << " bb\n"
                                                                        << "abbey";
    QTest::newRow("after typed text, by the context menu") << "ab|"
                                                           << "menu"
                                                           << "le\n"
                                                           << "able";
}

void TestSearchBox::pasteFindsTheWord()
{
    QFETCH(QString, typed);
    QFETCH(QString, how);
    QFETCH(QString, pasted);
    QFETCH(QString, found);

    Form1 window(m_dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *rr = window.findChild<QLineEdit *>(QStringLiteral("rr"));
    auto *caption = window.findChild<QLabel *>(QStringLiteral("Label12"));
    rr->setFocus();
    const qsizetype cursor = typed.indexOf(u'|');
    QTest::keyClicks(rr, QString(typed).remove(u'|').remove(u'!'));
    if (typed.endsWith(u'!'))
        QTest::keyClick(rr, Qt::Key_Return);
    if (cursor >= 0)
        rr->setCursorPosition(int(cursor));
    QGuiApplication::clipboard()->setText(pasted);

    // Every change of the text runs the search step: the paste makes one, with the key.
    QSignalSpy changed(rr, &QLineEdit::textChanged);
    if (how == u"menu") {
        const QPoint at(2, rr->height() / 2);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, rr->mapToGlobal(at));
        QApplication::sendEvent(rr, &request);
        QWidget *menu = QApplication::activePopupWidget();
        QVERIFY(menu);
        // The menu closes, the focus comes back to the box, and then the paste runs.
        QTest::keyPress(menu, Qt::Key_P);
        QVERIFY(!QApplication::activePopupWidget());
    } else {
        const QKeyCombination key = QKeySequence::fromString(how)[0];
        QTest::keyClick(rr, key.key(), key.keyboardModifiers());
    }
    QCOMPARE(rr->text(), found);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.front().front().toString(), found);
    // The search step found the word: the caption's first line is its index line.
    QCOMPARE(caption->text().section(u'\r', 0, 0), QStringLiteral("  ") + found);
}

QTEST_MAIN(TestSearchBox)
#include "tst_searchbox.moc"
