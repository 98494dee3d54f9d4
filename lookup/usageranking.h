// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>

#include <limits>

class QFile;

namespace lookup {

// How common the headwords of a data set are: their places in its usage ranking
// (store::datafiles::usageRanking()), 0 for the most used. Headwords it does not name, and
// all of them when a set has no ranking, come after every ranked one.
class UsageRanking
{
public:
    UsageRanking() = default;
    // Headwords in any case, most used first; a headword named twice keeps its first place.
    explicit UsageRanking(const QList<QByteArray> &mostUsedFirst);
    // The ranking file: one headword a line, within platform::caps::kList.
    static UsageRanking read(QFile &file);

    static constexpr int kUnranked = std::numeric_limits<int>::max();
    // The place of a folded headword (IndexText::fold), or kUnranked.
    int placeOf(QByteArrayView folded) const;
    qsizetype size() const { return m_places.size(); }

private:
    QHash<QByteArray, int> m_places;
    qsizetype m_bytes = 0;
    friend qsizetype keptBytes(const UsageRanking &ranking);
};

// The memory a kept ranking holds, for KeptFiles.
qsizetype keptBytes(const UsageRanking &ranking);

} // namespace lookup
