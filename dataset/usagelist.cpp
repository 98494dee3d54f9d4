// SPDX-License-Identifier: GPL-3.0-or-later
#include "usagelist.h"

#include <algorithm>

namespace dataset {

QList<QByteArray> usageList(const DataSet &set, const wordnet::Usage &usage)
{
    struct Ranked
    {
        qint64 frequency;
        qsizetype length;
        qsizetype order;
        QByteArray headword;
    };
    QList<Ranked> ranked;
    qsizetype order = 0;
    for (const QList<Entry> &letter : set.letters) {
        for (const Entry &entry : letter) {
            const qint64 frequency = usage.frequencyOf(entry.headword);
            if (frequency > 0)
                ranked << Ranked{frequency, entry.headword.size(), order, entry.headword};
            ++order;
        }
    }
    std::sort(ranked.begin(), ranked.end(), [](const Ranked &a, const Ranked &b) {
        return std::tie(b.frequency, a.length, a.order) < std::tie(a.frequency, b.length, b.order);
    });
    QList<QByteArray> list;
    list.reserve(ranked.size());
    for (const Ranked &r : ranked)
        list << r.headword;
    return list;
}

} // namespace dataset
