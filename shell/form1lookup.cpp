// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup handlers of the main window: the search box, the word list and Search. Each
// reads the controls, calls lookup/ and applies what comes back, in the order of its steps.

#include "form1.h"

#include "lookup/definitionlookup.h"
#include "lookup/searchstep.h"
#include "platform/codepage.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

#include <functional>

namespace {

// Selects the whole text of the search box whenever it gains the focus, so that the next
// typed character replaces it.
class SelectAllOnFocus : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
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

// The longest paragraph the definition box is given. The box lays a paragraph out in one
// piece, in time that grows faster than its length (a paragraph of 250,000 characters held
// the window for ten seconds); paragraphs of this length it lays out a few at a time
// between events. No real definition comes near it.
constexpr qsizetype kLongestShownParagraph = 4096;

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

    // The definition box reads left to right like the classic box it stands for: a
    // definition that begins with Arabic still stands at the right edge in words mode, and
    // its tags stay in front of the text they mark.
    QTextOption option = rr1->document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    rr1->document()->setDefaultTextOption(option);
}

lookup::Mode Form1::lookupMode() const
{
    return words->isChecked() ? lookup::Mode::Words : lookup::Mode::Idioms;
}

void Form1::rrChange()
{
    Label12->hide();
    const lookup::StepOutcome outcome = lookup::searchStep(
        m_search, m_programFolder, lookupMode(), platform::codepage::toWestern(rr->text()));
    if (outcome.caption)
        Label12->setText(platform::codepage::fromWestern(*outcome.caption));
    if (outcome.list) {
        const QSignalBlocker refillIsNoClick(l);
        l->clear();
        for (const QByteArray &item : *outcome.list)
            l->addItem(platform::codepage::fromWestern(item));
    }
    // The whole idiom list is never refilled; it scrolls to the matched idiom instead, which
    // it holds on the line of the same number. Nothing is selected, so nothing is clicked.
    if (outcome.matched && lookupMode() == lookup::Mode::Idioms && m_search.wholeListShown() &&
        m_search.entryIndex) {
        if (QListWidgetItem *match = l->item(*m_search.entryIndex))
            l->scrollToItem(match, QAbstractItemView::PositionAtTop);
    }
}

void Form1::putSearchText(const QString &text)
{
    // The step runs also when the box already holds the text: a click on that item still
    // moves the entry and, on items 0 and 23, builds the window anew.
    if (rr->text() == text)
        rrChange();
    else
        rr->setText(text);
}

void Form1::lClick()
{
    const QList<QListWidgetItem *> selected = l->selectedItems();
    const int row = selected.isEmpty() ? -1 : l->row(selected.front());
    const QByteArray item =
        row < 0 ? QByteArray() : platform::codepage::toWestern(selected.front()->text());
    // May set the keep-list flag for the search step that putting the text runs.
    if (const std::optional<QByteArray> text = lookup::listClick(m_search, row, item))
        putSearchText(platform::codepage::fromWestern(*text));
    lookup::endListClick(m_search);
}

void Form1::lDblClick()
{
    // The first click has already selected the item and run its search step.
    Command1->click();
}

void Form1::Command1Click()
{
    const lookup::LookupOutcome outcome = lookup::lookUpDefinition(
        m_search, m_programFolder, lookupMode(), platform::codepage::toArabic(rr1->toPlainText()),
        m_symbolCells, m_tagCells);
    rr1->hide();
    rr1->setPlainText(withShortParagraphs(platform::codepage::fromArabic(outcome.definition)));
    rr1->setVisible(outcome.definitionShown);
    if (!outcome.finished)
        return; // a damaged entry: the captions and the focus stay as they are
    Label12->show();
    Label2->setText(Label12->text());
    // Through Search to the search box, whose focus selects its text for the next word.
    Command1->setFocus();
    rr->setFocus();
}
