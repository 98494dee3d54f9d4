// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wordnet.h"

#include <QByteArray>
#include <QList>

// The choice of the headwords a letter keeps when it has more than its places.
namespace dataset::ranking {

struct Choice
{
    QList<qsizetype> kept;    // positions in the given list, in the list's order
    QList<qsizetype> dropped; // positions of the words left out, the most useful first
};

// Of headwords (one letter's, in alphabetical order), keeps the places most useful ones:
// the higher WordNet sense frequency first, then a word WordNet has before one it lacks,
// then the shorter, then the earlier in the list. With places to spare every word stays.
Choice choose(const QList<QByteArray> &headwords, qsizetype places, const wordnet::Usage &usage);

} // namespace dataset::ranking
