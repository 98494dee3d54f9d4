// SPDX-License-Identifier: GPL-3.0-or-later
#include "cellchoice.h"

#include "lookup/tagbracketing.h"
#include "store/textcode.h"

#include <algorithm>

namespace dataset {

namespace {

// What a definition turns into on the screen: the bytes the text code cannot hold are gone.
QByteArray encodable(const QByteArray &text, const HeldBytes &held)
{
    QByteArray kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (held[uchar(c)])
            kept.append(c);
    }
    return kept;
}

// Every combination of spellings in order, the preferred ones first: the last part of
// speech changes fastest.
PartTags combination(int n)
{
    PartTags tags;
    for (int p = PartsOfSpeech - 1; p >= 0; --p, n /= 3)
        tags[p] = tagSpellings()[p][n % 3];
    return tags;
}

store::TagCells tagCells(const PartTags &tags)
{
    store::TagCells cells;
    std::copy(tags.cbegin(), tags.cend(), cells.begin());
    return cells;
}

// The idioms are bracketed where the builder put their tags, and only there.
bool bracketsIdioms(const QList<Idiom> &idioms, const PartTags &tags, const HeldBytes &held)
{
    const store::TagCells cells = tagCells(tags);
    return std::all_of(idioms.cbegin(), idioms.cend(), [&](const Idiom &idiom) {
        const QByteArray raw = encodable(idiomDefinition(idiom, tags, false), held);
        const QByteArray shown = encodable(idiomDefinition(idiom, tags, true), held);
        return lookup::bracketTags(raw, cells) == shown;
    });
}

// No word definition holds a tag.
bool leavesWordsAlone(const DataSet &set, const PartTags &tags, const HeldBytes &held)
{
    const store::TagCells cells = tagCells(tags);
    const auto untouched = [&](const QByteArray &definition) {
        const QByteArray shown = encodable(definition, held);
        return lookup::bracketTags(shown, cells) == shown;
    };
    for (int l = 0; l < 26; ++l) {
        if (!untouched(set.letterDefinitions[l]))
            return false;
        for (const Entry &entry : set.letters[l]) {
            if (!untouched(entry.definition))
                return false;
        }
    }
    return true;
}

} // namespace

const std::array<std::array<const char *, 3>, PartsOfSpeech> &tagSpellings()
{
    static const std::array<std::array<const char *, 3>, PartsOfSpeech> spellings{{
        {"verb", "verb.", "vb."},
        {"adj.", "adj:", "<adj>"},
        {"adv.", "adv:", "<adv>"},
    }};
    return spellings;
}

ByteCounts countBytes(const DataSet &set, const QList<Idiom> &idioms)
{
    ByteCounts frequency{};
    auto count = [&](const QByteArray &bytes) {
        for (char c : bytes)
            ++frequency[uchar(c)];
    };
    for (const auto &letter : set.letters) {
        for (const Entry &entry : letter)
            count(entry.definition);
    }
    for (const QByteArray &definition : set.letterDefinitions)
        count(definition);
    const PartTags noTags{};
    for (const Idiom &idiom : idioms)
        count(idiomDefinition(idiom, noTags, false));
    return frequency;
}

HeldBytes chooseCells(const ByteCounts &frequency, DataSet &set)
{
    std::array<int, 256> order;
    for (int b = 0; b < 256; ++b)
        order[b] = b;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return frequency[a] > frequency[b]; });
    HeldBytes held{};
    int cells = 0;
    for (int b : order) {
        if (store::isFixedCharacter(char(b))) {
            held[b] = true;
            continue;
        }
        if (cells < int(set.cells.size()) && frequency[b] > 0) {
            set.cells[cells++] = QByteArray(1, char(b));
            held[b] = true;
        }
    }
    return held;
}

std::optional<PartTags> chooseTags(const DataSet &set, const QList<Idiom> &idioms,
                                   const HeldBytes &held)
{
    for (int n = 0; n < 27; ++n) {
        const PartTags tags = combination(n);
        if (bracketsIdioms(idioms, tags, held) && leavesWordsAlone(set, tags, held))
            return tags;
    }
    return std::nullopt;
}

} // namespace dataset
