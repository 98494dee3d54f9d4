// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lookup/mode.h"
#include "lookup/searchstate.h"
#include "store/datafolder.h"
#include "store/tables.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace lookup {

// What a lookup leaves on the window. The definition box is hidden while the lookup runs.
struct LookupOutcome
{
    // The new text of the definition box (Windows-1256).
    QByteArray definition;
    // Whether the definition box is shown again; it stays hidden only when a words-mode
    // lookup finds no word recorded yet.
    bool definitionShown = false;
    // Whether the lookup ran to its end: Label12 is shown, its caption goes to Label2 beside
    // "  Definitions for:", and the focus returns to the search box with its text selected.
    // false when the entry line was damaged (its trimmed length is not a multiple of four):
    // the box is then emptied and the captions and the focus are left as they are.
    bool finished = false;
    // The line was read and decoded (false for a missing file, a line past the end of the
    // file, a damaged line, or no word recorded yet).
    bool entryRead = false;
    // The entry line was longer than the definitions files' line cap: what was read of it
    // is shown, followed by kCutNote.
    bool cut = false;
};

// What ends a definition cut at the line cap.
inline constexpr char kCutNote[] = "\r\n[... the definition goes on: it is cut at 32 MiB]";

// The line of its definitions file that holds an entry, counted from 0: words from the
// file boundary (the base of j) on live in "second.dll" from its first line on.
qint64 definitionLine(qint32 entryIndex, Mode mode);

// The definition lookup for the entry the search step recorded last. The line is read afresh
// from the definitions file on every call ("\source\" + stem + ".dll" for words,
// "\source\5.dll" for idioms), decoded with the symbol cells and its tags bracketed. A missing
// file or a line past its end reads as an empty line, so an empty definition is shown. The
// file is opened with platform::caps::kDefinitions: a file it refuses is a missing one.
//
// With the whole idiom list shown and no idiom found since the switch to idioms mode, nothing
// is read and the definition is empty.
//
// shownText is what the definition box holds now: a words-mode lookup before any word has
// been found reads nothing, and brackets the tags of that text again.
LookupOutcome lookUpDefinition(const SearchState &state, const store::DataFolder &data, Mode mode,
                               QByteArrayView shownText, const store::SymbolCells &symbols,
                               const store::TagCells &tags);

} // namespace lookup
