// SPDX-License-Identifier: GPL-3.0-or-later
#include "closewords.h"

#include "lookup/searchstep.h"
#include "platform/regularfile.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace lookup {

namespace {

// The longest text whose close words are sought: the edits are counted one bit a character
// in a 64-bit word. No misspelt word comes near it.
constexpr qsizetype kLongestText = 64;

// The edits from a text to a word (the text's characters as bit masks: bit i of
// masks[c] set where character i of the text is c), counting a swap of neighbours as one,
// as the bit-vector form of the restricted Damerau distance computes them a column of the
// table at a time; any number above limit once the distance is certain to exceed it.
int editsTo(const std::array<std::uint64_t, 256> &masks, qsizetype textSize, QByteArrayView word,
            int limit)
{
    const std::uint64_t last = std::uint64_t(1) << (textSize - 1);
    std::uint64_t vp = ~std::uint64_t(0);
    std::uint64_t vn = 0;
    std::uint64_t d0 = 0;
    std::uint64_t previousMatch = 0;
    qsizetype edits = textSize;
    for (qsizetype j = 0; j < word.size(); ++j) {
        const std::uint64_t match = masks[uchar(word[j])];
        const std::uint64_t swapped = ((~d0 & match) << 1) & previousMatch;
        d0 = (((match & vp) + vp) ^ vp) | match | vn | swapped;
        std::uint64_t hp = vn | ~(d0 | vp);
        std::uint64_t hn = d0 & vp;
        edits += (hp & last) ? 1 : 0;
        edits -= (hn & last) ? 1 : 0;
        // Each character left can take one edit off at most.
        if (edits - (word.size() - j - 1) > limit)
            return limit + 1;
        hp = (hp << 1) | 1;
        hn = hn << 1;
        vp = hn | ~(d0 | hp);
        vn = hp & d0;
        previousMatch = match;
    }
    return int(std::min<qsizetype>(edits, limit + 1));
}

struct Candidate
{
    int edits;
    int place;
    int source;
    qint32 start;
    QByteArrayView word;
    QByteArrayView folded;
};

// The headwords of one source within limit edits of its text.
void collect(const CloseWordsSource &source, int sourceOrder, int limit,
             const store::UsageRanking &ranking, std::vector<Candidate> &found)
{
    const QByteArray text = store::IndexText::fold(source.text);
    if (text.isEmpty() || text.size() > kLongestText)
        return;
    std::array<std::uint64_t, 256> masks{};
    for (qsizetype i = 0; i < text.size(); ++i)
        masks[uchar(text[i])] |= std::uint64_t(1) << i;

    const store::IndexText &index = *source.index;
    const QList<store::IndexText::Line> &lines = index.linesByLength();
    // A word more than limit characters longer or shorter is more than limit edits away.
    auto line = std::lower_bound(
        lines.begin(), lines.end(), text.size() - limit,
        [](const store::IndexText::Line &l, qsizetype size) { return l.size < size; });
    for (; line != lines.end() && line->size <= text.size() + limit; ++line) {
        const QByteArrayView folded = index.foldedLine(*line);
        const int edits = editsTo(masks, text.size(), folded, limit);
        if (edits > limit || edits + source.spent == 0)
            continue;
        found.push_back(Candidate{edits + source.spent, ranking.placeOf(folded), sourceOrder,
                                  line->start, index.line(*line), folded});
    }
}

// Beginnings of English words that sound like a beginning spelt with another initial: what
// was typed, what may have been meant.
struct Respelling
{
    const char *typed;
    const char *meant;
};
constexpr Respelling kRespellings[] = {
    {"f", "ph"},  {"n", "kn"},  {"n", "gn"}, {"n", "pn"}, {"n", "mn"},  {"r", "wr"},
    {"s", "c"},   {"s", "ps"},  {"c", "k"},  {"c", "sc"}, {"k", "c"},   {"k", "ch"},
    {"kw", "qu"}, {"cw", "qu"}, {"j", "g"},  {"g", "j"},  {"h", "wh"},  {"o", "ho"},
    {"z", "x"},   {"x", "ex"},  {"t", "pt"}, {"e", "he"}, {"ei", "ai"},
};

} // namespace

int mostEdits(QByteArrayView text)
{
    return text.size() <= 3 ? 1 : 2;
}

QList<QByteArray> closeWords(const QList<CloseWordsSource> &sources, QByteArrayView typed,
                             const store::UsageRanking &ranking, int count)
{
    const int limit = mostEdits(typed);
    std::vector<Candidate> found;
    for (qsizetype s = 0; s < sources.size(); ++s)
        collect(sources[s], int(s), limit, ranking, found);
    std::sort(found.begin(), found.end(), [](const Candidate &a, const Candidate &b) {
        return std::tie(a.edits, a.place, a.source, a.start) <
               std::tie(b.edits, b.place, b.source, b.start);
    });
    QList<QByteArray> words;
    QSet<QByteArrayView> offered;
    for (const Candidate &candidate : found) {
        if (words.size() >= count)
            break;
        if (offered.contains(candidate.folded))
            continue;
        offered.insert(candidate.folded);
        words.append(candidate.word.toByteArray());
    }
    return words;
}

QList<QByteArray> closeWords(const store::IndexText &index, QByteArrayView text,
                             const store::UsageRanking &ranking, int count)
{
    return closeWords({CloseWordsSource{&index, text.toByteArray(), 0}}, text, ranking, count);
}

QList<QByteArray> otherInitialSpellings(QByteArrayView text)
{
    const QByteArray folded = store::IndexText::fold(text);
    QList<QByteArray> spellings;
    for (const Respelling &respelling : kRespellings) {
        const QByteArrayView typed(respelling.typed);
        if (folded.size() > typed.size() && folded.startsWith(typed))
            spellings.append(QByteArray(respelling.meant) + folded.mid(typed.size()));
    }
    return spellings;
}

QList<QByteArray> closeWordsOf(SearchState &state, const store::DataFolder &data,
                               QByteArrayView searchText)
{
    if (searchText.isEmpty() || state.loadedInitial != searchText.first(1))
        return {};
    const store::UsageRanking ranking = data.ranking();

    const QList<QByteArray> spellings = otherInitialSpellings(searchText);
    // The sources point into it: it holds every index it will hold from the start.
    std::vector<store::IndexText> others;
    others.reserve(size_t(spellings.size()));
    QList<CloseWordsSource> sources{{&state.index, searchText.toByteArray(), 0}};
    for (const QByteArray &spelling : spellings) {
        const std::optional<QString> path = data.letterIndex(spelling);
        std::optional<store::IndexText> index = path ? data.index(*path) : std::nullopt;
        if (!index)
            continue;
        others.push_back(std::move(*index));
        sources.append({&others.back(), spelling, 1});
    }
    return closeWords(sources, searchText, ranking);
}

} // namespace lookup
