// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace lookup {

// The entry a caption names, as its one-line label shows it. A caption is index text from
// the match on (30 characters of a word index, 100 of the idiom index), so it may run past
// its entry's line into the next ones: the label shows it up to its first line break (CR or
// LF), or whole when it holds none, as when a headword of 28 characters fills the caption
// with the two blanks of the search key before it. Those blanks, and any after the entry,
// are not part of the entry. Windows-1252 in and out; the window, the terminal lookup and the
// benches all read the entry off a caption here.
QByteArray shownHeadword(QByteArrayView caption);

} // namespace lookup
