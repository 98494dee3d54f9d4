// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lookup/searchstate.h"
#include "store/datafolder.h"
#include "store/indextext.h"
#include "store/usageranking.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace lookup {

// How many close words the window and the terminal tool offer at most.
inline constexpr int kCloseWordsShown = 3;

// A text is offered headwords this many edits away at most: one for texts of up to three
// characters, where two edits reach almost any short word, two for longer ones.
int mostEdits(QByteArrayView text);

// One index searched for close words: the text as sought there, and the edits it took to
// get it from the typed text (another initial's spelling of its beginning counts as one).
// Those edits count in the order of the words offered, not against the bound: a word meant
// with another initial may be as far from that spelling as any other word is from the text.
struct CloseWordsSource
{
    const store::IndexText *index = nullptr;
    QByteArray text;
    int spent = 0;
};

// The headwords of the sources closest to the typed text, best first: by the fewest edits (a
// character put in, left out or changed, or two neighbours swapped; case ignored) from the
// text of their source, within mostEdits of the typed text, and the edits spent on that
// text; then the more commonly used by the ranking; then the source given first; then the
// earlier in its index. A headword equal to the text, or spelt like
// one offered already, is not offered.
QList<QByteArray> closeWords(const QList<CloseWordsSource> &sources, QByteArrayView typed,
                             const store::UsageRanking &ranking, int count = kCloseWordsShown);
// The same, for one index.
QList<QByteArray> closeWords(const store::IndexText &index, QByteArrayView text,
                             const store::UsageRanking &ranking = {}, int count = kCloseWordsShown);

// Where the first letter of a text may itself be wrong: the beginnings that sound like its
// own and are spelt with another initial ("fone" -> "phone", "nife" -> "knife"), as the texts
// to seek in that initial's index. Empty for a text whose beginning has no such spelling.
QList<QByteArray> otherInitialSpellings(QByteArrayView text);

// The close words of a search text that words mode did not find: sought in the letter index
// of its initial (state.index, loaded by the search step) and in those of the other
// initials that may have been meant, ranked by the set's usage ranking when it has one.
// Nothing when the initial was refused (a digit, a character no file name takes): there is
// no way to tell which letter was meant.
QList<QByteArray> closeWordsOf(SearchState &state, const store::DataFolder &data,
                               QByteArrayView searchText);

} // namespace lookup
