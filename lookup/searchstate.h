// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/indextext.h"

#include <QByteArray>

#include <optional>

namespace lookup {

// Where the whole idiom list stands: idioms mode asks whether to show it, and once it is
// shown the search step leaves the list alone. Entering words mode puts it back to NotAsked.
enum class WholeList { NotAsked, Declined, Shown };

// The logical state of the lookup, owned by the engine for the whole run: plain values, cheap
// to copy (the index shares its text). The search step writes it, the definition lookup and
// the mode switches read it; every value is empty or 0 at start.
struct SearchState
{
    // Where the last match stands: for words its index over the whole dictionary (its line in
    // the letter list plus the letter's base), for idioms its line in the idiom list. Empty
    // until the first match.
    std::optional<qint32> entryIndex;
    // "first" or "second": the definitions file of the last word matched; empty until then.
    QByteArray stem;

    // Set by a list click just before it changes the search text, so that the search step
    // that change runs keeps the list as it stands; it never outlives that click.
    bool keepList = false;
    // Whether the search step has found the search text since the lookup mode last changed.
    bool matchedSinceSwitch = false;
    WholeList wholeList = WholeList::NotAsked;
    bool wholeListShown() const { return wholeList == WholeList::Shown; }

    // The initial whose letter index words mode loads again on its way back from idioms.
    // Only an accepted initial is recorded.
    QByteArray typedInitial;
    // The first character of the search text as last accepted, case as typed.
    QByteArray currentInitial;
    // The initial whose letter index file `index` holds; compared with the current initial
    // exactly, so "A" after "a" loads the file again.
    QByteArray loadedInitial;

    // The loaded index: a letter index file in words mode, the idiom index in idioms mode.
    store::IndexText index;
};

} // namespace lookup
