// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lookup/indextext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace lookup {

// How many close words the window and the terminal tool offer at most.
inline constexpr int kCloseWordsShown = 3;

// The headwords of a loaded index closest to a text that matches none of them, best first:
// by the fewest edits (a letter put in, left out or changed, or two neighbours swapped; case
// ignored), then in the index's order. Words more than two edits away are not offered.
QList<QByteArray> closeWords(const IndexText &index, QByteArrayView text,
                             int count = kCloseWordsShown);

} // namespace lookup
