// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dataset.h"
#include "dictd.h"
#include "store/letterbases.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// The builder of a data set from real dictionaries: English headwords with their
// translations from a dictd dictionary (FreeDict), idioms with English glosses from the
// multi-word lemmas of WordNet 3.0 data files.
namespace dataset {

struct BuildSources
{
    QString dictIndex;                        // freedict-xxx-yyy.index
    QString dictData;                         // freedict-xxx-yyy.dict.dz
    QStringList wordnetData;                  // data.verb, data.adj, data.adv
    int idioms = store::kWholeIdiomListLines; // how many idioms to choose, when there are more
    QString gplText;                          // optional: the GPL text to carry beside the notices
    // What ranks the words of a letter with more words than places; with none of them the
    // shorter words are kept.
    QString wordnetCounts;         // cntlist.rev
    QStringList wordnetIndexes;    // index.noun, index.verb, index.adj, index.adv
    QStringList wordnetExceptions; // noun.exc, verb.exc, adj.exc, adv.exc
    qint64 inflateLimit = dictd::kInflateLimit; // the most the dictd data may inflate to
};

struct LostCharacter
{
    char32_t character = 0;
    qint64 count = 0;
    bool notInCodePage = false; // Windows-1256 has no such character at all
};

struct BuildReport
{
    qint64 articles = 0;                 // articles read, the dictionary's own ones not counted
    qint64 withoutLetter = 0;            // headwords that begin with no letter a..z
    qint64 notWestern = 0;               // headwords that Windows-1252 cannot hold
    qint64 withoutDefinition = 0;        // articles that carry no translation
    qint64 merged = 0;                   // articles merged into an earlier one of the same headword
    std::array<qint64, 26> entries{};    // headwords written, per letter
    std::array<bool, 26> ownEntry{};     // the letter alone had an entry, written on line 0
    std::array<qint64, 26> dropped{};    // headwords over the letter's capacity, left out
    std::array<qint64, 26> knownDrops{}; // of the dropped ones, those that WordNet has
    qint64 idiomCandidates = 0;          // distinct multi-word lemmas
    qint64 idioms = 0;                   // idioms written
    QList<QByteArray> tags;              // the tags chosen
    qint64 definitionCharacters = 0;     // characters of all definitions, lost ones included
    QList<LostCharacter> lost;           // most frequent first
    // Per letter, the most useful of the dropped headwords (ten at most) with their sense
    // frequency.
    std::array<QList<std::pair<QByteArray, qint64>>, 26> mostFrequentDropped;
    qint64 lostTotal() const;
};

struct Build
{
    std::optional<QString> error;
    DataSet set;
    BuildReport report;
};

using Progress = std::function<void(const QString &)>;

Build build(const BuildSources &sources, const Progress &progress = {});

// The report as the builder prints it at the end of a run.
QString formatReport(const BuildReport &report);

// Definition text on its way to Windows-1256: Arabic punctuation becomes its ASCII twin,
// tatweel and direction marks go, presentation forms are decomposed, blanks are collapsed.
QString cleanDefinition(const QString &text);

} // namespace dataset
