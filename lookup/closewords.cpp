// SPDX-License-Identifier: GPL-3.0-or-later
#include "closewords.h"

#include <algorithm>
#include <vector>

namespace lookup {

namespace {

constexpr int kMostEdits = 2;

// The edits from a to b (both folded), counting a swap of neighbours as one; any number above
// limit once it is certain to be more than limit.
int editDistance(QByteArrayView a, QByteArrayView b, int limit)
{
    if (std::abs(a.size() - b.size()) > limit)
        return limit + 1;
    const qsizetype n = b.size();
    std::vector<int> before(size_t(n + 1)), previous(size_t(n + 1)), current(size_t(n + 1));
    for (qsizetype j = 0; j <= n; ++j)
        previous[size_t(j)] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = int(i);
        int rowBest = current[0];
        for (qsizetype j = 1; j <= n; ++j) {
            const int change = a[i - 1] == b[j - 1] ? 0 : 1;
            int d = std::min({previous[size_t(j)] + 1, current[size_t(j - 1)] + 1,
                              previous[size_t(j - 1)] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d = std::min(d, before[size_t(j - 2)] + 1);
            current[size_t(j)] = d;
            rowBest = std::min(rowBest, d);
        }
        if (rowBest > limit)
            return limit + 1;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[size_t(n)];
}

} // namespace

QList<QByteArray> closeWords(const IndexText &index, QByteArrayView text, int count)
{
    const QByteArray key = IndexText::fold(text);
    struct Candidate
    {
        int edits;
        qsizetype order;
        QByteArray word;
    };
    std::vector<Candidate> found;
    const QByteArray &all = index.text();
    qsizetype order = 0;
    for (qsizetype start = 0; start < all.size(); ++order) {
        qsizetype end = start;
        while (end < all.size() && all[end] != '\n' && all[end] != '\r')
            ++end;
        QByteArrayView line = QByteArrayView(all).sliced(start, end - start);
        start = end + 1;
        if (end < all.size() && all[end] == '\r' && start < all.size() && all[start] == '\n')
            ++start;
        while (line.startsWith(' '))
            line = line.sliced(1);
        if (line.isEmpty())
            continue;
        const int edits = editDistance(key, IndexText::fold(line), kMostEdits);
        if (edits <= kMostEdits && edits > 0)
            found.push_back({edits, order, line.toByteArray()});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Candidate &a, const Candidate &b) { return a.edits < b.edits; });
    QList<QByteArray> words;
    for (const Candidate &candidate : found) {
        if (words.size() >= count)
            break;
        words.append(candidate.word);
    }
    return words;
}

} // namespace lookup
