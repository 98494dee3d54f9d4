// SPDX-License-Identifier: GPL-3.0-or-later
#include "usageranking.h"

#include "lookup/indextext.h"
#include "platform/linereader.h"
#include "platform/regularfile.h"

#include <QFile>

namespace lookup {

UsageRanking::UsageRanking(const QList<QByteArray> &mostUsedFirst)
{
    m_places.reserve(mostUsedFirst.size());
    for (const QByteArray &headword : mostUsedFirst) {
        if (headword.isEmpty())
            continue;
        const QByteArray folded = IndexText::fold(headword);
        if (m_places.contains(folded))
            continue;
        m_places.insert(folded, int(m_places.size()));
        m_bytes += folded.size() + qsizetype(sizeof(int)) + 32; // the hash's own share
    }
}

UsageRanking UsageRanking::read(QFile &file)
{
    auto reader = platform::LineReader::overText(file.read(file.size()), platform::caps::kList);
    QList<QByteArray> lines;
    while (std::optional<QByteArray> line = reader.readLine())
        lines.append(*line);
    return UsageRanking(lines);
}

int UsageRanking::placeOf(QByteArrayView folded) const
{
    return m_places.value(folded.toByteArray(), kUnranked);
}

qsizetype keptBytes(const UsageRanking &ranking)
{
    return ranking.m_bytes;
}

} // namespace lookup
