// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <limits>
#include <memory>
#include <vector>

class QFile;

namespace store {

// How common the headwords of a data set are: their places in its usage ranking
// (store::datafiles::usageRanking()), 0 for the most used. Headwords it does not name, and
// all of them when a set has no ranking, come after every ranked one.
class UsageRanking
{
public:
    UsageRanking() = default;
    // Headwords in any case, most used first; a headword named twice keeps its first place.
    explicit UsageRanking(const QList<QByteArray> &mostUsedFirst);
    // The ranking file: one headword a line, within platform::caps::kUsageRanking (a line
    // beyond its line cap names no headword, and lines beyond its line count are not read).
    static UsageRanking read(QFile &file);

    static constexpr int kUnranked = std::numeric_limits<int>::max();
    // The place of a folded headword (IndexText::fold), or kUnranked.
    int placeOf(QByteArrayView folded) const;
    // How many headwords it ranks.
    qsizetype size() const { return m_table ? m_table->size : 0; }

private:
    explicit UsageRanking(QByteArrayView text);

    // An open-addressed hash table over the folded text of the file: a file of tens of
    // thousands of lines is made into one at the first close words sought, within the time
    // of a keystroke, with no allocation a headword.
    struct Slot
    {
        qint32 start = 0;
        qint32 size = 0; // 0: an empty slot
        qint32 place = 0;
    };
    struct Table
    {
        QByteArray folded;
        std::vector<Slot> buckets; // a power of two of them, at most half used
        qsizetype size = 0;
    };
    // Shared between copies: a copy costs nothing.
    std::shared_ptr<const Table> m_table;
    friend qsizetype keptBytes(const UsageRanking &ranking);
};

// The memory a kept ranking holds, for KeptFiles.
qsizetype keptBytes(const UsageRanking &ranking);

} // namespace store
