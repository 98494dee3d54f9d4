// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lookup/definitionlookup.h"
#include "lookup/mode.h"
#include "lookup/searchstate.h"
#include "store/datafolder.h"
#include "store/tables.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace lookup {

// What the window shows after a search step. Label12 is hidden on every step.
struct SearchView
{
    // Label12's new caption (Windows-1252), when the text was found.
    std::optional<QByteArray> caption;
    // The list's new items (Windows-1252), when it is refilled; nothing is then selected.
    std::optional<QList<QByteArray>> list;
    // The whole idiom list is never refilled: the row of the idiom found, to scroll to the
    // top of the list without selecting it.
    std::optional<int> scrollTo;
    // The row the list's current item goes to, still without selecting it: the matched
    // line's in a refilled list (the heading item for line 0 of a letter), the idiom found
    // in the whole idiom list. The keys walk the list on from there, and a window built
    // anew around the item at its edge keeps them on that item.
    std::optional<int> currentRow;
    // The step found the search text.
    bool matched = false;
    // When it did not, in words mode: the headwords closest to the text, best first
    // (Windows-1252); empty when none is close.
    QList<QByteArray> closeWords;
};

// What the window shows after a click on a row of the list.
struct ClickView
{
    // The search box's new text, when the click puts one there; the step it runs is `step`.
    std::optional<QByteArray> searchText;
    SearchView step;
};

// What the window shows after Search.
struct DefinitionView
{
    // The definition box's text, visibility and whether the lookup ran to its end.
    LookupOutcome lookup;
    // Label2's caption beside "  Definitions for:" when the lookup ran to its end; Label12
    // is then shown with that same caption, and the focus returns to the search box.
    QByteArray caption;
};

// What the window does after a click on a mode's menu item. A switch empties the list and
// the definition box, lays the window out for the new mode, empties the search box (the
// step that runs, when the box held text, applied as any other), and then shows the
// captions given here.
struct ModeView
{
    // false when that mode was already on: nothing changes at all.
    bool switched = false;
    // The mode now on.
    Mode mode = Mode::Words;
    // The search step that emptying the search box ran, when the box held text.
    std::optional<SearchView> step;
    // Label12's and Label2's captions once the switch is done (Windows-1252).
    QByteArray caption;
    QByteArray shownCaption;
};

// The answer to the question of idioms mode, "Do you want to see all the list?".
enum class WholeListAnswer { Yes, No };

// The lookup as the main window and the terminal tool drive it: the window's events come in
// as calls, in the order the user makes them, and each call returns what the window must
// show. It owns the search state, the mode, the start-up tables, the search text, the list,
// Label12's caption, Label2's caption and the definition shown; the window only applies
// what comes back.
class Engine
{
public:
    // programFolder: the folder that holds "source" and "source1".
    explicit Engine(QString programFolder);

    const store::DataFolder &dataFolder() const { return m_data; }

    // The start-up tables, the symbol cells and the tag cells; a missing or short table
    // leaves the cells it does not reach empty.
    void loadTables();

    // Every change of the search text, typed or set by the window, runs the search step.
    SearchView textChanged(QByteArrayView text);
    // A click on row `row` of the list (-1: nothing selected). The clicked item may go into
    // the search box, which runs the search step; a click on rows 1 to 22 keeps the list.
    ClickView rowClicked(int row);
    // Search, Enter, and the double click on the list: the definition of the entry found.
    DefinitionView showDefinition();

    // The two items of the "Search" menu. Both empty the definition, the captions and the
    // list, and then the search box.
    ModeView enterIdioms();
    ModeView enterWords();
    // Asked after idioms mode is entered; on Yes the list becomes the whole idiom list,
    // which is returned.
    std::optional<QList<QByteArray>> answerWholeList(WholeListAnswer answer);

    Mode mode() const { return m_mode; }
    const SearchState &state() const { return m_state; }
    const store::SymbolCells &symbolCells() const { return m_symbols; }
    const store::TagCells &tagCells() const { return m_tags; }
    const QByteArray &searchText() const { return m_searchText; }
    const QList<QByteArray> &list() const { return m_list; }
    // Label12's caption: the index text at the last match; Label2's caption: the entry shown.
    const QByteArray &caption() const { return m_caption; }
    const QByteArray &shownCaption() const { return m_shownCaption; }
    // The decoded, bracketed text of the definition box (Windows-1256).
    const QByteArray &definition() const { return m_definition; }

private:
    void clearShown();
    ModeView switched(std::optional<SearchView> step) const;

    store::DataFolder m_data;
    Mode m_mode = Mode::Words;
    SearchState m_state;
    store::SymbolCells m_symbols;
    store::TagCells m_tags;
    QByteArray m_searchText;
    QList<QByteArray> m_list;
    QByteArray m_caption;
    QByteArray m_shownCaption;
    QByteArray m_definition;
};

} // namespace lookup
