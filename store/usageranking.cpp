// SPDX-License-Identifier: GPL-3.0-or-later
#include "usageranking.h"

#include "platform/regularfile.h"
#include "store/indextext.h"

#include <QFile>

#include <bit>
#include <cstdint>

namespace store {

namespace {

std::uint64_t hashOf(QByteArrayView text)
{
    // FNV-1a: headwords are short, and the table is half empty.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= uchar(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace

UsageRanking::UsageRanking(QByteArrayView text)
{
    auto table = std::make_shared<Table>();
    table->folded = IndexText::fold(text);
    const QByteArray &folded = table->folded;
    constexpr platform::FileCap cap = platform::caps::kUsageRanking;
    const qsizetype lines =
        std::min<qsizetype>(folded.count('\n') + folded.count('\r') + 1, cap.lines);
    table->buckets.resize(std::bit_ceil(size_t(lines) * 2));
    const size_t mask = table->buckets.size() - 1;
    const char *data = folded.constData();
    qsizetype start = 0;
    for (qsizetype read = 0; start < folded.size() && read < cap.lines; ++read) {
        qsizetype end = start;
        while (end < folded.size() && data[end] != '\n' && data[end] != '\r')
            ++end;
        const QByteArrayView line(data + start, end - start);
        const qsizetype lineStart = start;
        start =
            end + (end + 1 < folded.size() && data[end] == '\r' && data[end + 1] == '\n' ? 2 : 1);
        if (line.isEmpty() || line.size() > cap.line)
            continue;
        for (size_t s = hashOf(line) & mask;; s = (s + 1) & mask) {
            Slot &slot = table->buckets[s];
            if (slot.size == 0) {
                slot = Slot{qint32(lineStart), qint32(line.size()), qint32(table->size++)};
                break;
            }
            // A headword named again keeps its first place.
            if (QByteArrayView(data + slot.start, slot.size) == line)
                break;
        }
    }
    m_table = std::move(table);
}

UsageRanking::UsageRanking(const QList<QByteArray> &mostUsedFirst)
    : UsageRanking(QByteArrayView(mostUsedFirst.join('\n')))
{
}

UsageRanking UsageRanking::read(QFile &file)
{
    return UsageRanking(QByteArrayView(file.read(file.size())));
}

int UsageRanking::placeOf(QByteArrayView folded) const
{
    if (!m_table || folded.isEmpty())
        return kUnranked;
    const std::vector<Slot> &buckets = m_table->buckets;
    const size_t mask = buckets.size() - 1;
    const char *data = m_table->folded.constData();
    for (size_t s = hashOf(folded) & mask; buckets[s].size != 0; s = (s + 1) & mask) {
        if (QByteArrayView(data + buckets[s].start, buckets[s].size) == folded)
            return buckets[s].place;
    }
    return kUnranked;
}

qsizetype keptBytes(const UsageRanking &ranking)
{
    if (!ranking.m_table)
        return 0;
    return ranking.m_table->folded.size() +
           qsizetype(ranking.m_table->buckets.size() * sizeof(UsageRanking::Slot));
}

} // namespace store
