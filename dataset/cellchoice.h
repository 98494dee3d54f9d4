// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dataset.h"
#include "idiomchoice.h"

#include <QList>

#include <array>
#include <optional>

// The fourth stage of the builder: the 36 symbol cells and the tags of the parts of speech.
namespace dataset {

// How often each byte stands in the definitions.
using ByteCounts = std::array<qint64, 256>;
// Which bytes the text code holds: the fixed alphabet and the chosen cells.
using HeldBytes = std::array<bool, 256>;

// The bytes of the set's word definitions and of the idioms' glosses (their tags, plain
// ASCII, left out: the glosses alone decide the cells).
ByteCounts countBytes(const DataSet &set, const QList<Idiom> &idioms);

// Fills set.cells with the most frequent bytes outside the fixed alphabet, the earlier byte
// first among equals, and says which bytes the text code then holds.
HeldBytes chooseCells(const ByteCounts &frequency, DataSet &set);

// The first combination of tag spellings, the preferred ones first, that the tag bracketing
// of the window brackets exactly where the builder puts a tag and nowhere else in the
// definitions as the text code keeps them; none when every combination occurs elsewhere.
std::optional<PartTags> chooseTags(const DataSet &set, const QList<Idiom> &idioms,
                                   const HeldBytes &held);

// The spellings of the tags in order of preference.
const std::array<std::array<const char *, 3>, PartsOfSpeech> &tagSpellings();

} // namespace dataset
