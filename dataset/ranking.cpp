// SPDX-License-Identifier: GPL-3.0-or-later
#include "ranking.h"

#include "sourcetext.h"

#include <QChar>

#include <algorithm>
#include <numeric>

namespace dataset::ranking {

Choice choose(const QList<QByteArray> &headwords, qsizetype places, const wordnet::Usage &usage)
{
    Choice choice;
    places = std::max<qsizetype>(places, 0);
    if (headwords.size() <= places) {
        choice.kept.resize(headwords.size());
        std::iota(choice.kept.begin(), choice.kept.end(), 0);
        return choice;
    }
    struct Rank
    {
        qint64 frequency;
        bool letterInitial;
        bool known;
        qsizetype length;
        qsizetype position;
    };
    QList<Rank> ranks;
    ranks.reserve(headwords.size());
    for (qsizetype n = 0; n < headwords.size(); ++n) {
        const QByteArray &headword = headwords[n];
        const bool letterInitial =
            !headword.isEmpty() && QChar(western().charOf(headword[0])).isLetter();
        ranks << Rank{usage.frequencyOf(headword), letterInitial, usage.knows(headword),
                      headword.size(), n};
    }
    std::sort(ranks.begin(), ranks.end(), [](const Rank &a, const Rank &b) {
        if (a.frequency != b.frequency)
            return a.frequency > b.frequency;
        if (a.letterInitial != b.letterInitial)
            return a.letterInitial;
        if (a.known != b.known)
            return a.known;
        if (a.length != b.length)
            return a.length < b.length;
        return a.position < b.position;
    });
    for (qsizetype r = 0; r < ranks.size(); ++r)
        (r < places ? choice.kept : choice.dropped) << ranks[r].position;
    std::sort(choice.kept.begin(), choice.kept.end());
    return choice;
}

} // namespace dataset::ranking
