// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dictd.h"
#include "store/letterbases.h"
#include "wordnet.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The first stage of the builder: reading the words of a dictd dictionary (FreeDict) and the
// idioms of WordNet 3.0, each source whole or not at all.
namespace dataset {

struct BuildReport;

struct BuildSources
{
    QString dictIndex;                        // freedict-xxx-yyy.index
    QString dictData;                         // freedict-xxx-yyy.dict.dz
    QStringList wordnetData;                  // data.verb, data.adj, data.adv
    int idioms = store::kWholeIdiomListLines; // how many idioms to choose, when there are more
    QString gplText;                          // optional: the GPL text to carry beside the notices
    // What ranks the words of a letter with more words than places; with none of them the
    // shorter words are kept.
    QString wordnetCounts;                      // cntlist.rev
    QStringList wordnetIndexes;                 // index.noun, index.verb, index.adj, index.adv
    QStringList wordnetExceptions;              // noun.exc, verb.exc, adj.exc, adv.exc
    qint64 inflateLimit = dictd::kInflateLimit; // the most the dictd data may inflate to
};

using Progress = std::function<void(const QString &)>;

struct Word
{
    QByteArray headword; // Windows-1252
    QString key;         // case-folded headword
    QStringList translations;
};

struct Words
{
    std::optional<QString> error;
    QList<Word> words; // one per headword regardless of case, in the order of their keys
    QByteArray notice; // the dictionary's own notice (its "00-database-info" article)
};

// The headwords of the dictionary with their cleaned translations, duplicates in other case
// merged. Adds to report what it reads and what it leaves out. A dictionary that gives no
// headword with a translation is an error: it must not replace a set that is one.
Words readWords(const BuildSources &sources, BuildReport &report, const Progress &say);

// WordNet's sense counts and word lists, when the sources name any; an empty usage ranks
// by length alone.
wordnet::Usage readUsage(const BuildSources &sources, const Progress &say);

// The parts of speech of the idioms, in the order of their tags.
enum PartOfSpeech { Verb, Adjective, Adverb, PartsOfSpeech };

struct IdiomSense
{
    PartOfSpeech partOfSpeech;
    QString gloss;
    QByteArray bytes = {}; // the gloss in Windows-1256, once the idiom is chosen
};

struct Idiom
{
    QByteArray text; // Windows-1252
    QString key;
    QList<IdiomSense> senses;
};

struct Idioms
{
    std::optional<QString> error;
    QList<Idiom> idioms; // the multi-word verbs, adjectives and adverbs, in the order of keys
    QByteArray licence;  // WordNet's licence, from the first data file
};

// The multi-word lemmas of the data files, one idiom per lemma regardless of case, with
// every distinct sense of it.
Idioms readIdioms(const QStringList &dataFiles, const Progress &say);

} // namespace dataset
