// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine.h"

#include "lookup/closewords.h"
#include "lookup/modes.h"
#include "lookup/searchstep.h"

namespace lookup {

Engine::Engine(QString programFolder) : m_data(std::move(programFolder)) {}

void Engine::loadTables()
{
    store::loadTable(m_data.symbolTable(), m_symbols);
    store::loadTable(m_data.tagTable(), m_tags);
}

SearchView Engine::textChanged(QByteArrayView text)
{
    m_searchText = text.toByteArray();
    const StepOutcome step = searchStep(m_state, m_data, m_mode, m_searchText);
    SearchView view;
    view.matched = step.matched;
    if (!step.matched && m_mode == Mode::Words)
        view.closeWords = closeWordsOf(m_state, m_data, m_searchText);
    if (step.caption) {
        m_caption = *step.caption;
        view.caption = m_caption;
    }
    if (step.list) {
        m_list = *step.list;
        view.list = m_list;
        view.currentRow = step.matchRow;
    }
    // The whole idiom list holds every idiom on the line of its own number.
    if (step.matched && m_mode == Mode::Idioms && m_state.wholeListShown() && m_state.entryIndex &&
        *m_state.entryIndex < m_list.size()) {
        view.scrollTo = *m_state.entryIndex;
        view.currentRow = view.scrollTo;
    }
    return view;
}

ClickView Engine::rowClicked(int row)
{
    ClickView view;
    // May set the keep-list flag for the step that putting the text runs.
    view.searchText = listClick(m_state, row, row >= 0 ? m_list.value(row) : QByteArray());
    // The step runs also when the box already holds the text: a click on that item still
    // moves the entry and, on items 0 and 23, builds the window anew.
    if (view.searchText)
        view.step = textChanged(*view.searchText);
    endListClick(m_state);
    return view;
}

DefinitionView Engine::showDefinition()
{
    DefinitionView view;
    view.lookup = lookUpDefinition(m_state, m_data, m_mode, m_definition, m_symbols, m_tags);
    m_definition = view.lookup.definition;
    // A damaged entry leaves the captions as they are.
    if (view.lookup.finished)
        m_shownCaption = m_caption;
    view.caption = m_shownCaption;
    return view;
}

void Engine::clearShown()
{
    m_list.clear();
    m_definition.clear();
}

ModeView Engine::switched(std::optional<SearchView> step) const
{
    return ModeView{true, m_mode, std::move(step), m_caption, m_shownCaption};
}

ModeView Engine::enterIdioms()
{
    if (m_mode == Mode::Idioms)
        return {};
    m_mode = Mode::Idioms;
    clearShown();
    loadIdiomIndex(m_state, m_data);
    m_caption.clear();
    m_shownCaption.clear();
    // Emptying a box that held text runs the step on the idiom index: it finds the first
    // idiom, and its caption stands in Label12.
    std::optional<SearchView> step;
    if (!m_searchText.isEmpty())
        step = textChanged({});
    return switched(std::move(step));
}

std::optional<QList<QByteArray>> Engine::answerWholeList(WholeListAnswer answer)
{
    if (answer == WholeListAnswer::No) {
        m_state.wholeList = WholeList::Declined;
        return std::nullopt;
    }
    // The list holds exactly the idiom lines, not the window the search step put there.
    m_list = showWholeIdiomList(m_state, m_data);
    return m_list;
}

ModeView Engine::enterWords()
{
    if (m_mode == Mode::Words)
        return {};
    m_mode = Mode::Words;
    clearShown();
    // The letter index goes back in before the search box is emptied, so the step that
    // emptying runs searches words, not idioms.
    loadWordsIndex(m_state, m_data);
    std::optional<SearchView> step;
    if (!m_searchText.isEmpty())
        step = textChanged({});
    // The captions are emptied after that step: it leaves no caption behind.
    m_caption.clear();
    m_shownCaption.clear();
    return switched(std::move(step));
}

} // namespace lookup
