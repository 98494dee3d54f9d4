// SPDX-License-Identifier: GPL-3.0-or-later
#include "builder.h"

#include "cellchoice.h"
#include "idiomchoice.h"
#include "nearestletter.h"
#include "platform/regularfile.h"
#include "sourcetext.h"
#include "usagelist.h"
#include "wordchoice.h"

namespace dataset {

namespace {

// Both licence notices, with CR LF line ends.
QByteArray noticeText(const QByteArray &freeDictNotice, const QByteArray &wordNetLicence)
{
    QByteArray notice =
        "This data set is made from two dictionaries.\n\n"
        "The words and their translations come from the English-Arabic FreeDict dictionary,\n"
        "available under the GNU General Public License, version 2 or (at your option) any\n"
        "later version. Its own notice follows.\n\n" +
        freeDictNotice +
        "\n\nThe idioms and their glosses come from WordNet 3.0, under the following licence.\n\n" +
        wordNetLicence;
    notice.replace("\r\n", "\n");
    notice.replace('\n', "\r\n");
    return notice;
}

// The notice says the GPL text is carried: a set without it when one was asked for is not
// written.
std::optional<QString> addGplText(const QString &path, DataSet &set)
{
    if (path.isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> gpl =
        platform::readRegularFile(path, platform::caps::kLicenceText.size);
    if (!gpl)
        return QStringLiteral("%1: cannot read: %2")
            .arg(path, platform::refusalReason(path, platform::caps::kLicenceText.size));
    set.extraFiles << std::pair{u"GPL-2.txt"_qs, *gpl};
    return std::nullopt;
}

// The idioms' entries: without sound tags the parts of speech stand in the text already in
// parentheses.
void addIdioms(const QList<Idiom> &idioms, const std::optional<PartTags> &tags, DataSet &set,
               BuildReport &report)
{
    const PartTags written = tags ? *tags
                                  : PartTags{tagSpellings()[Verb][0], tagSpellings()[Adjective][0],
                                             tagSpellings()[Adverb][0]};
    if (tags) {
        std::copy(tags->cbegin(), tags->cend(), set.tags.begin());
        report.tags = QList<QByteArray>(tags->cbegin(), tags->cend());
    }
    for (const Idiom &idiom : idioms)
        set.idioms << Entry{idiom.text, idiomDefinition(idiom, written, !tags)};
}

} // namespace

Build build(const BuildSources &sources, const Progress &progress)
{
    const Progress say = [&](const QString &message) {
        if (progress)
            progress(message);
    };
    Build result;
    BuildReport &report = result.report;
    DataSet &set = result.set;

    const Words words = readWords(sources, report, say);
    if (words.error) {
        result.error = words.error;
        return result;
    }
    const wordnet::Usage usage = readUsage(sources, say);
    if (usage.error) {
        result.error = usage.error;
        return result;
    }
    ArabicConverter converter;
    chooseWords(words.words, usage, converter, set, report);
    set.usage = usageList(set, usage);

    const Idioms idioms = readIdioms(sources.wordnetData, say);
    if (idioms.error) {
        result.error = idioms.error;
        return result;
    }
    if (idioms.idioms.isEmpty() && sources.idioms > 0) {
        result.error = QStringLiteral("%1: no multi-word lemma to take idioms from")
                           .arg(sources.wordnetData.join(u", "_qs));
        return result;
    }
    QList<Idiom> chosen = chooseIdioms(idioms.idioms, sources.idioms, usage, converter);
    report.idiomCandidates = idioms.idioms.size();
    report.idioms = chosen.size();
    say(QStringLiteral("%1 multi-word lemmas, %2 idioms chosen")
            .arg(report.idiomCandidates)
            .arg(report.idioms));

    say(QStringLiteral("choosing the symbol cells"));
    const ByteCounts frequency = countBytes(set, chosen);
    const HeldBytes held = chooseCells(frequency, set);
    // What the cells do not hold becomes its nearest letter before the tags are checked
    // against the text as it is shown.
    NearestLetters nearest(held);
    nearest.replaceIn(set, chosen);
    say(QStringLiteral("choosing the tags"));
    addIdioms(chosen, chooseTags(set, chosen, held), set, report);

    report.definitionCharacters = converter.characters;
    report.replaced = replacedCharacters(converter, nearest);
    report.lost = lostCharacters(converter, frequency, nearest);
    set.extraFiles << std::pair{u"NOTICE.txt"_qs, noticeText(words.notice, idioms.licence)};
    if (auto error = addGplText(sources.gplText, set))
        result.error = error;
    return result;
}

} // namespace dataset
