// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordchoice.h"

#include "ranking.h"
#include "report.h"
#include "sourcetext.h"

#include <QChar>

#include <algorithm>

namespace dataset {

namespace {

// How many of the dropped headwords of a letter the report names.
constexpr qsizetype kNamedDrops = 10;

} // namespace

bool isSoftwareString(QByteArrayView headword, const wordnet::Usage &usage)
{
    if (headword.contains(' ') || headword.contains('-'))
        return false;
    const auto isUpper = [](char c) { return QChar(western().charOf(c)).isUpper(); };
    const auto isLower = [](char c) { return QChar(western().charOf(c)).isLower(); };
    for (qsizetype i = 1; i < headword.size(); ++i) {
        if (!isLower(headword[i - 1]) || !isUpper(headword[i]))
            continue;
        // The capital of a name's Mc or Mac: McDonald, MacMillan.
        const QByteArrayView before = headword.first(i);
        if (before == "Mc" || before == "Mac")
            continue;
        return !usage.knows(headword);
    }
    return false;
}

QString numbered(const QStringList &items)
{
    if (items.size() == 1)
        return items.first();
    QStringList parts;
    for (qsizetype i = 0; i < items.size(); ++i)
        parts << QString::number(i + 1) + u". "_qs + items[i];
    return parts.join(u' ');
}

void chooseWords(const QList<Word> &words, const wordnet::Usage &usage, ArabicConverter &converter,
                 DataSet &set, BuildReport &report)
{
    std::array<QList<const Word *>, 26> byLetter;
    for (const Word &word : words) {
        if (isSoftwareString(word.headword, usage)) {
            ++report.softwareStrings;
            continue;
        }
        const int letter = (word.headword[0] | 0x20) - 'a';
        if (word.headword.size() == 1) {
            set.letterDefinitions[letter] = converter.convert(numbered(word.translations));
            report.ownEntry[letter] = true;
        } else {
            byLetter[letter] << &word;
        }
    }
    for (int letter = 0; letter < 26; ++letter) {
        QList<QByteArray> candidates;
        for (const Word *word : byLetter[letter])
            candidates << word->headword;
        const auto capacity = headwordCapacity(letter);
        const ranking::Choice choice =
            ranking::choose(candidates, capacity.value_or(candidates.size()), usage);
        for (qsizetype n : choice.kept) {
            const Word &word = *byLetter[letter][n];
            set.letters[letter] << Entry{word.headword,
                                         converter.convert(numbered(word.translations))};
        }
        report.entries[letter] = choice.kept.size();
        report.dropped[letter] = choice.dropped.size();
        for (qsizetype n : choice.dropped) {
            report.knownDrops[letter] += usage.knows(candidates[n]) ? 1 : 0;
            if (report.mostFrequentDropped[letter].size() < kNamedDrops)
                report.mostFrequentDropped[letter]
                    << std::pair{candidates[n], usage.frequencyOf(candidates[n])};
        }
    }
}

} // namespace dataset
