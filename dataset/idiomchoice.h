// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sources.h"
#include "wordnet.h"

#include <QByteArray>
#include <QList>

#include <array>

// The third stage of the builder: the idioms the set keeps, and their definitions.
namespace dataset {

struct ArabicConverter;

// At most wanted of the idioms (in the order of their keys), in the list's order, their
// glosses converted. With fewer places than idioms the most used ones stay, ranked as the
// words of a letter are (ranking.h).
QList<Idiom> chooseIdioms(const QList<Idiom> &idioms, int wanted, const wordnet::Usage &usage,
                          ArabicConverter &converter);

// One spelling of each part of speech's tag.
using PartTags = std::array<QByteArray, PartsOfSpeech>;

// An idiom definition: its senses in order, each its part-of-speech tag and its gloss,
// numbered when there are several. bracketed gives the text as the tag bracketing should
// turn it out: each tag in parentheses and a space.
QByteArray idiomDefinition(const Idiom &idiom, const PartTags &tags, bool bracketed);

} // namespace dataset
