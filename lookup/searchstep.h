// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lookup/mode.h"
#include "lookup/searchstate.h"
#include "store/datafolder.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

namespace lookup {

// The list never shows more lines than this around a match.
inline constexpr int kListWindow = 24;
// Lines of the window above the matched line.
inline constexpr int kLinesAboveMatch = 10;
// Characters of the index text that make the caption, from the match on.
inline constexpr int kWordCaptionLength = 30;
inline constexpr int kIdiomCaptionLength = 100;

// What one search step changes on the window besides the state: the handler hides Label12
// on every step and applies whatever is set here.
struct StepOutcome
{
    // The new caption of Label12 (Windows-1252), when a match was found.
    std::optional<QByteArray> caption;
    // The new items of the list, in order (Windows-1252), when the list is refilled; the list
    // then has no selected item.
    std::optional<QList<QByteArray>> list;
    // The row of that new list that stands for the matched line: ten lines above it, fewer
    // near the start of the list file, where the heading item stands for line 0. None when
    // the list file ends before it.
    std::optional<int> matchRow;
    // The search found the typed text in the index.
    bool matched = false;
};

// The search step, run on every change of the search text (typed, or set by the window
// itself: a list click, a mode switch), at once and to its end before whoever changed the
// text goes on.
//
// Words mode: the first character of the text is the initial. A new initial loads its
// letter index file program folder + "\source1\" + initial + ".hhh" into state.index; an
// initial without one (or one that cannot stand in a file name) is refused: the step ends at
// once and the earlier initial stays in force. Then the index is searched for two spaces and
// the text, ignoring case; on a match the entry index, the stem, the caption and, unless the
// keep-list flag is set, the 24-line window of "\source\" + initial + ".dll" around the
// matched line follow it. Idioms mode does the same on the idiom index already in
// state.index and the idiom list "\source\3.dll", and the whole idiom list, once shown,
// is never refilled. Every step but a refused one clears the keep-list flag.
//
// File names take the initial folded to lower case; the comparison with the loaded initial
// stays exact.
StepOutcome searchStep(SearchState &state, const store::DataFolder &data, Mode mode,
                       QByteArrayView searchText);

// The list click: the item at row (0-based; -1 when none is selected) with text itemText.
// Returns the text to put into the search box, trimmed of spaces, or std::nullopt when the
// click puts nothing there. A click on items 1 to 22 sets the keep-list flag, so that the
// search step the new text runs keeps the list; items 0 and 23 let the window be built anew
// around the clicked line. In the whole idiom list every item goes into the search box.
//
// The caller puts the text into the search box (running the search step, also when the box
// already holds that text) and then calls endListClick.
std::optional<QByteArray> listClick(SearchState &state, int row, QByteArrayView itemText);

// Ends a list click: the keep-list flag never outlives the click that set it, also when the
// search step it was meant for did not run or ended early.
void endListClick(SearchState &state);

// Spaces, and only spaces, removed at both ends.
QByteArrayView trimSpaces(QByteArrayView text);

} // namespace lookup
