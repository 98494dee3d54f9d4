// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dataset.h"
#include "sources.h"
#include "wordnet.h"

#include <QByteArrayView>
#include <QList>

// The second stage of the builder: the words of each letter.
namespace dataset {

struct ArabicConverter;
struct BuildReport;

// A string of a program's user interface that the dictionary took for a word ("HelpAbout",
// "GoBack"): a small letter followed by a capital, no blank or hyphen, and unknown to
// WordNet. Abbreviations in capitals (IBM) and the capital after a name's Mc or Mac stay.
bool isSoftwareString(QByteArrayView headword, const wordnet::Usage &usage);

// Files the words (in the order of their keys) under their initials, software strings left
// out. The headword that is the letter alone gives the letter's line 0; a letter with more
// headwords than places keeps the most useful ones, still in alphabetical order. Fills
// set.letters and set.letterDefinitions, their translations converted and numbered, and adds
// to report what each letter kept and dropped and how many software strings it left out.
void chooseWords(const QList<Word> &words, const wordnet::Usage &usage, ArabicConverter &converter,
                 DataSet &set, BuildReport &report);

// The translations as one definition: a single one as it stands, several numbered
// "1. ... 2. ...".
QString numbered(const QStringList &items);

} // namespace dataset
