// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lookup/searchstate.h"
#include "store/datafolder.h"

#include <QByteArray>
#include <QList>

// The state side of the two lookup modes; the window rearranges itself around these.
namespace lookup {

// Entering idioms mode puts the idiom index "\source1\idioms.hhh" into the loaded index.
// A missing idiom index leaves the index as it was. Nothing has been found in the new mode yet.
void loadIdiomIndex(SearchState &state, const store::DataFolder &data);

// On the way back to words mode the letter index of the typed initial is loaded again; the
// loaded initial is not changed, since it is that initial's file again. With no initial typed
// yet, or when that file has gone, the index is emptied and the loaded initial forgotten, so
// that words are never searched in the idiom index. The whole-list flag is cleared, and
// nothing has been found in the new mode yet.
void loadWordsIndex(SearchState &state, const store::DataFolder &data);

// The whole idiom list: lines 0 to 3133 of "\source\3.dll" in file order (fewer when the file
// is shorter, none when it is missing). Marks the whole list as shown; the entry index is
// left as the last search step set it (when that was before the switch, the definition
// lookup shows nothing).
QList<QByteArray> showWholeIdiomList(SearchState &state, const store::DataFolder &data);

} // namespace lookup
