// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "wordnet.h"

#include <QByteArray>
#include <QList>

// The choice of the headwords a letter keeps, or the idioms the idiom list keeps, when there
// are more than places.
namespace dataset::ranking {

struct Choice
{
    QList<qsizetype> kept;    // positions in the given list, in the list's order
    QList<qsizetype> dropped; // positions of the words left out, the most useful first
};

// Of headwords (in alphabetical order), keeps the places most useful ones: the higher
// WordNet sense frequency first, then one that begins with a letter before one that begins
// with a digit or a mark (".22 caliber" stays only when it is used), then a word WordNet
// has before one it lacks, then the shorter, then the earlier in the list. With places to
// spare every word stays.
Choice choose(const QList<QByteArray> &headwords, qsizetype places, const wordnet::Usage &usage);

} // namespace dataset::ranking
