// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup handlers of the main window: the search box, the word list and Search. Each
// hands its event to the lookup engine and applies what comes back to the controls.

#include "form1.h"

#include "shell/closewordsline.h"

#include "lookup/engine.h"
#include "platform/codepage.h"

#include <QAction>
#include <QEvent>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

#include <algorithm>
#include <functional>

namespace {

// Selects the whole text of the search box whenever it gains the focus, so that the next
// typed character replaces it. The focus that comes back from a menu (the box's context
// menu, the menu bar and its menus) was never gained anew: the text stays as it was, and
// the context menu's Paste goes where the cursor stands.
class SelectAllOnFocus : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto comesBack = [](const QEvent *focus) {
            const Qt::FocusReason reason = static_cast<const QFocusEvent *>(focus)->reason();
            return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
        };
        if (event->type() == QEvent::FocusIn && !comesBack(event)) {
            if (auto *box = qobject_cast<QLineEdit *>(watched))
                box->selectAll();
        }
        return false;
    }
};

// Runs an action on a left double click in the list, wherever the list then stands. The
// list's own double-click signal is not enough: when the first click has built the window
// anew (items 0 and 23), the item view takes the second press for a new press on whatever
// item now lies there, selects it and reports no double click at all.
class DoubleClickWatcher : public QObject
{
public:
    DoubleClickWatcher(QObject *parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonDblClick ||
            static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            return false;
        m_action();
        return true;
    }

private:
    std::function<void()> m_action;
};

// Runs an action whenever the watched widget has been resized.
class ResizeWatcher : public QObject
{
public:
    ResizeWatcher(QObject *parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            m_action();
        return false;
    }

private:
    std::function<void()> m_action;
};

// The longest paragraph the definition box is given as it stands, far above any real
// definition (the sample set's longest is 1,580 characters), so the box holds, copies and
// reads out exactly the decoded text. The box lays a paragraph out in one piece, in time
// that grows faster than its length (a paragraph of 250,000 characters held the window for
// ten seconds); paragraphs of this length it lays out a few at a time between events. Only
// damaged or hostile data holds a longer one, and only that is broken for display.
constexpr qsizetype kLongestShownParagraph = 64 * 1024;

// The text with every paragraph longer than kLongestShownParagraph broken, at its last
// space within that length where it has one, into paragraphs that are not.
QString withShortParagraphs(const QString &text)
{
    QString shown;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        end = end < 0 ? text.size() : end;
        while (end - start > kLongestShownParagraph) {
            const qsizetype space =
                QStringView(text).sliced(start, kLongestShownParagraph).lastIndexOf(u' ');
            const qsizetype cut = start + (space > 0 ? space + 1 : kLongestShownParagraph);
            shown += QStringView(text).sliced(start, cut - start);
            shown += u'\n';
            start = cut;
        }
        shown += QStringView(text).sliced(start, std::min(end + 1, text.size()) - start);
        start = end + 1;
    }
    return shown;
}

// A word longer than this is no word of a real definition.
constexpr qsizetype kLongestWord = 1024;

bool holdsOverlongWord(const QString &text)
{
    qsizetype run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestWord)
            return true;
    }
    return false;
}

// Lines break between words; a text with an overlong word breaks anywhere. Looking for the
// end of a word as long as a paragraph on every line would take the box longer than the
// paragraph's length squared, and the line would break inside the word all the same.
void setWrapping(QTextEdit *box, const QString &text)
{
    QTextOption option = box->document()->defaultTextOption();
    option.setWrapMode(holdsOverlongWord(text) ? QTextOption::WrapAnywhere
                                               : QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->document()->setDefaultTextOption(option);
}

} // namespace

void Form1::connectLookup()
{
    // Every change of the text, typed or set by the window itself, runs the search step at
    // once, nested inside whatever changed it.
    connect(rr, &QLineEdit::textChanged, this, &Form1::rrChange);
    rr->installEventFilter(new SelectAllOnFocus(rr));
    // A changed selection, by the mouse or the arrow keys; a refill of the list selects
    // nothing and is not a click.
    connect(l, &QListWidget::itemSelectionChanged, this, &Form1::lClick);
    l->viewport()->installEventFilter(new DoubleClickWatcher(l, [this] { lDblClick(); }));
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1Click);
    connect(m_closeWords, &CloseWordsLine::wordChosen, this, &Form1::closeWordChosen);
    centralWidget()->installEventFilter(
        new ResizeWatcher(centralWidget(), [this] { fitCloseWordsLine(); }));
}

void Form1::fitCloseWordsLine()
{
    // The margin the search box keeps from the left edge, kept from the right one.
    QRect shown = zoom::scaled(designGeometry(m_closeWords), m_zoom);
    shown.setRight(std::max(shown.right(), centralWidget()->width() - 1 - zoom::scaled(8, m_zoom)));
    m_closeWords->setGeometry(shown);
}

void Form1::fillList(const QList<QByteArray> &items)
{
    QStringList texts;
    texts.reserve(items.size());
    for (const QByteArray &item : items)
        texts.append(platform::codepage::fromWestern(item));
    const QSignalBlocker refillIsNoClick(l);
    l->clear();
    l->addItems(texts);
}

void Form1::applySearch(const lookup::SearchView &view)
{
    Label12->hide();
    if (view.caption)
        Label12->setText(platform::codepage::fromWestern(*view.caption));
    if (view.list)
        fillList(*view.list);
    // The current item stands on the match, still unselected: nothing is clicked, the focus
    // that Tab gives the list lands there, and the arrow keys go on from there. An arrow key
    // onto the edge of the window builds the window anew around that item; the next key then
    // walks on from it, not from the top of the new window.
    if (view.currentRow) {
        if (const QModelIndex current = l->model()->index(*view.currentRow, 0); current.isValid())
            l->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    }
    // Scrolled to, not selected: nothing is clicked.
    if (view.scrollTo) {
        if (QListWidgetItem *match = l->item(*view.scrollTo))
            l->scrollToItem(match, QAbstractItemView::PositionAtTop);
    }
    offerCloseWords(view);
}

void Form1::offerCloseWords(const lookup::SearchView &view)
{
    // Only adds to what the step showed; gone as soon as the text matches again, and never
    // for an empty box.
    const QByteArray &text = m_engine.searchText();
    if (view.matched || text.isEmpty()) {
        m_closeWords->hide();
        return;
    }
    QStringList words;
    for (const QByteArray &word : view.closeWords)
        words << platform::codepage::fromWestern(word);
    m_closeWords->offer(platform::codepage::fromWestern(text), words);
}

void Form1::closeWordChosen(const QString &word)
{
    // The change of text runs the search step, as typing does. The box then has the focus and
    // the cursor at the end of the word, as after typing it: Enter shows the word, and the
    // keys go on from there.
    rr->setText(word);
    rr->setFocus(Qt::OtherFocusReason);
    rr->end(false);
}

void Form1::setSearchText(const QByteArray &text)
{
    // The engine has already run the search step this change stands for.
    const QSignalBlocker stepAlreadyRun(rr);
    rr->setText(platform::codepage::fromWestern(text));
}

void Form1::rrChange()
{
    applySearch(m_engine.textChanged(platform::codepage::toWestern(rr->text())));
}

void Form1::lClick()
{
    const QList<QListWidgetItem *> selected = l->selectedItems();
    const lookup::ClickView view =
        m_engine.rowClicked(selected.isEmpty() ? -1 : l->row(selected.front()));
    if (!view.searchText)
        return;
    setSearchText(*view.searchText);
    applySearch(view.step);
}

void Form1::lDblClick()
{
    // The first click has already selected the item and run its search step.
    Command1->click();
}

void Form1::Command1Click()
{
    const lookup::DefinitionView view = m_engine.showDefinition();
    rr1->hide();
    const QString definition =
        withShortParagraphs(platform::codepage::fromArabic(view.lookup.definition));
    setWrapping(rr1, definition);
    rr1->setPlainText(definition);
    rr1->setVisible(view.lookup.definitionShown);
    if (!view.lookup.finished)
        return; // a damaged entry: the captions and the focus stay as they are
    Label12->setText(platform::codepage::fromWestern(view.caption));
    Label12->show();
    Label2->setText(Label12->text());
    // Through Search to the search box, whose focus selects its text for the next word.
    Command1->setFocus();
    rr->setFocus();
}
