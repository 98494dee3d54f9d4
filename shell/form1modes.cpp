// SPDX-License-Identifier: GPL-3.0-or-later
// The two lookup modes of the main window: the "Search" menu's Words and Idioms and
// Expressions. Each switch rearranges the window for its mode, empties the search box and
// the definition box, and puts the mode's index in place; entering idioms mode offers the
// whole idiom list.

#include "form1.h"

#include "lookup/engine.h"
#include "platform/codepage.h"
#include "shell/prompts.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTextEdit>

namespace {

// The layout of each mode, in the design's pixels.
struct ModeLayout
{
    int listHeight;
    int listWidth;
    int definitionWidth;
    int captionLeft; // of Label2 and Label12
    // The definition box: the side its paragraphs stand at and the direction they read in.
    Qt::Alignment definitionAlignment;
    Qt::LayoutDirection definitionDirection;
    bool headingShown; // Label1, "  Definitions for:"
};

// Arabic word definitions read right to left from the right edge; English idiom
// definitions left to right from the left edge. The sides are absolute, whatever the
// direction.
constexpr ModeLayout kWordsLayout{
    800, 217, 800, 368, Qt::AlignRight | Qt::AlignAbsolute, Qt::RightToLeft, true};
constexpr ModeLayout kIdiomsLayout{
    670, 450, 590, 450, Qt::AlignLeft | Qt::AlignAbsolute, Qt::LeftToRight, false};

void setReadingOrder(QTextEdit *box, Qt::Alignment alignment, Qt::LayoutDirection direction)
{
    QTextOption option = box->document()->defaultTextOption();
    option.setAlignment(alignment);
    option.setTextDirection(direction);
    box->document()->setDefaultTextOption(option);
}

} // namespace

void Form1::clearList()
{
    // Emptying the list is no click on it.
    const QSignalBlocker noClick(l);
    l->clear();
}

void Form1::connectModes()
{
    // The two items act as radio items: the handlers keep exactly one checked, and a click
    // on the one already checked changes nothing at all.
    connect(words, &QAction::triggered, this, &Form1::wordsClick);
    connect(IdiomsandExpressions, &QAction::triggered, this, &Form1::idiomsClick);
}

void Form1::applyModeLayout(lookup::Mode mode)
{
    // In the design's pixels; the zoom scales them as it does the rest of the design.
    const ModeLayout &layout = mode == lookup::Mode::Idioms ? kIdiomsLayout : kWordsLayout;
    QRect list = designGeometry(l);
    list.setSize({layout.listWidth, layout.listHeight});
    setDesignGeometry(l, list);
    // The definition box and its backdrop start where the list ends.
    for (QTextEdit *box : {rr1, rr3}) {
        const QRect design = designGeometry(box);
        setDesignGeometry(box, {list.width(), design.y(), layout.definitionWidth, design.height()});
    }
    for (QLabel *caption : {Label2, Label12}) {
        QRect design = designGeometry(caption);
        design.moveLeft(layout.captionLeft);
        setDesignGeometry(caption, design);
    }
    Label1->setVisible(layout.headingShown);
    setReadingOrder(rr1, layout.definitionAlignment, layout.definitionDirection);
}

void Form1::checkModeItem()
{
    // A click toggles a checkable item before its handler runs; the engine's mode decides.
    const bool idioms = m_engine.mode() == lookup::Mode::Idioms;
    IdiomsandExpressions->setChecked(idioms);
    words->setChecked(!idioms);
}

void Form1::emptySearchBox(const lookup::ModeView &view)
{
    {
        const QSignalBlocker stepAlreadyRun(rr);
        rr->clear();
    }
    if (view.step)
        applySearch(*view.step);
}

bool Form1::applyModeSwitch(const lookup::ModeView &view)
{
    checkModeItem();
    if (!view.switched)
        return false;
    clearList();
    rr1->clear();
    applyModeLayout(view.mode);
    emptySearchBox(view);
    Label12->setText(platform::codepage::fromWestern(view.caption));
    Label2->setText(platform::codepage::fromWestern(view.shownCaption));
    rr->setFocus();
    return true;
}

void Form1::idiomsClick()
{
    if (!applyModeSwitch(m_engine.enterIdioms()))
        return;

    const lookup::WholeListAnswer answer = prompts().ask(Question::SeeWholeList)
                                               ? lookup::WholeListAnswer::Yes
                                               : lookup::WholeListAnswer::No;
    if (const std::optional<QList<QByteArray>> idioms = m_engine.answerWholeList(answer))
        fillList(*idioms);
}

void Form1::wordsClick()
{
    applyModeSwitch(m_engine.enterWords());
}
