// SPDX-License-Identifier: GPL-3.0-or-later
#include "report.h"

#include "dataset.h"
#include "nearestletter.h"
#include "sourcetext.h"

#include <algorithm>

namespace dataset {

qint64 BuildReport::replacedTotal() const
{
    qint64 total = 0;
    for (const ReplacedCharacter &c : replaced)
        total += c.count;
    return total;
}

qint64 BuildReport::lostTotal() const
{
    qint64 total = 0;
    for (const LostCharacter &c : lost)
        total += c.count;
    return total;
}

QList<ReplacedCharacter> replacedCharacters(const ArabicConverter &converter,
                                            const NearestLetters &nearest)
{
    QList<ReplacedCharacter> replaced;
    for (const QMap<char32_t, qint64> *counts : {&converter.replaced, &nearest.replaced()}) {
        for (auto it = counts->cbegin(); it != counts->cend(); ++it)
            replaced << ReplacedCharacter{it.key(), *nearestLetter(char16_t(it.key())), it.value()};
    }
    std::stable_sort(
        replaced.begin(), replaced.end(),
        [](const ReplacedCharacter &a, const ReplacedCharacter &b) { return a.count > b.count; });
    return replaced;
}

QList<LostCharacter> lostCharacters(const ArabicConverter &converter, const ByteCounts &frequency,
                                    const NearestLetters &nearest)
{
    QList<LostCharacter> lost;
    for (auto it = converter.notInCodePage.cbegin(); it != converter.notInCodePage.cend(); ++it)
        lost << LostCharacter{it.key(), it.value(), true};
    for (int b = 0; b < 256; ++b) {
        if (!nearest.held(char(b)) && !nearest.replaces(char(b)) && frequency[b] > 0)
            lost << LostCharacter{arabic().charOf(char(b)), frequency[b], false};
    }
    std::stable_sort(lost.begin(), lost.end(), [](const LostCharacter &a, const LostCharacter &b) {
        return a.count > b.count;
    });
    return lost;
}

QString formatReport(const BuildReport &report)
{
    QString text;
    text += QStringLiteral("articles read: %1 (no letter initial: %2, not Windows-1252: %3, "
                           "no translation: %4, merged duplicates: %5)\n")
                .arg(report.articles)
                .arg(report.withoutLetter)
                .arg(report.notWestern)
                .arg(report.withoutDefinition)
                .arg(report.merged);
    text += u"entries per letter (* the letter's own entry on line 0):\n"_qs;
    qint64 total = 0;
    for (int l = 0; l < 26; ++l) {
        const auto capacity = headwordCapacity(l);
        text += QStringLiteral("  %1%2 %3 of %4")
                    .arg(QChar(u'a' + l))
                    .arg(QChar(report.ownEntry[l] ? u'*' : u' '))
                    .arg(report.entries[l], 6)
                    .arg(capacity ? QString::number(*capacity) : u"(no bound)"_qs);
        if (report.dropped[l] > 0) {
            QStringList most;
            for (const auto &[headword, frequency] : report.mostFrequentDropped[l])
                most << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(headword)).arg(frequency);
            text += QStringLiteral("  dropped %1, %2 of them known to WordNet; the most "
                                   "frequent: %3")
                        .arg(report.dropped[l])
                        .arg(report.knownDrops[l])
                        .arg(most.join(u", "_qs));
        }
        text += u'\n';
        total += report.entries[l];
    }
    text += QStringLiteral("words: %1\n").arg(total);
    text += QStringLiteral("software strings left out (a small letter, then a capital, no "
                           "blank or hyphen, unknown to WordNet): %1\n")
                .arg(report.softwareStrings);
    text += QStringLiteral("idioms: %1 (of %2 multi-word lemmas)\n")
                .arg(report.idioms)
                .arg(report.idiomCandidates);
    QStringList tags;
    for (const QByteArray &tag : report.tags)
        tags << QString::fromLatin1(tag);
    text += QStringLiteral("tags: %1\n").arg(tags.isEmpty() ? u"none"_qs : tags.join(u", "_qs));
    const double characters = std::max<double>(1, report.definitionCharacters);
    text += QStringLiteral("characters replaced by the nearest letter: %1 of %2 (%3 %)\n")
                .arg(report.replacedTotal())
                .arg(report.definitionCharacters)
                .arg(100.0 * report.replacedTotal() / characters, 0, 'f', 3);
    for (const ReplacedCharacter &replaced : report.replaced) {
        text += QStringLiteral("  U+%1 %2 as U+%3 %4 %5 (%6 %)\n")
                    .arg(qulonglong(replaced.character), 4, 16, QChar(u'0'))
                    .arg(QString::fromUcs4(&replaced.character, 1))
                    .arg(qulonglong(replaced.letter), 4, 16, QChar(u'0'))
                    .arg(QChar(replaced.letter))
                    .arg(replaced.count)
                    .arg(100.0 * replaced.count / characters, 0, 'f', 4);
    }
    text += QStringLiteral("characters dropped: %1 of %2 (%3 %)\n")
                .arg(report.lostTotal())
                .arg(report.definitionCharacters)
                .arg(100.0 * report.lostTotal() / characters, 0, 'f', 3);
    for (const LostCharacter &lost : report.lost) {
        text += QStringLiteral("  U+%1 %2 %3 (%4 %)%5\n")
                    .arg(qulonglong(lost.character), 4, 16, QChar(u'0'))
                    .arg(QString::fromUcs4(&lost.character, 1))
                    .arg(lost.count)
                    .arg(100.0 * lost.count / characters, 0, 'f', 4)
                    .arg(lost.notInCodePage ? u", not in Windows-1256"_qs : QString());
    }
    return text;
}

} // namespace dataset
