// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// Reader of WordNet 3.0 database files (data.verb, data.adj, data.adv, ...): one synset per
// line, "offset lexfile type count word lexid ... | gloss"; the licence header lines begin
// with two spaces.
namespace dataset::wordnet {

struct Sense
{
    QByteArray lemma; // as stored: words joined by '_', adjective markers such as "(a)" removed
    char type = 0;    // 'n', 'v', 'a', 's' (adjective satellite), 'r' (adverb)
    QByteArray gloss; // the definition and its examples
};

struct Database
{
    std::optional<QString> error;
    QList<Sense> senses; // every word of every synset, in file order
    QByteArray licence;  // the licence header of the file, as plain lines
};

Database read(const QString &dataPath);

// How much the words of the language are used, as WordNet knows it: the tag counts of the
// senses (cntlist.rev, "lemma%sense-key sense-number count"), the lemmas of the index files
// (index.noun, ...) and the inflected forms of the exception lists (noun.exc, ...).
struct Usage
{
    std::optional<QString> error;
    QHash<QByteArray, qint64> frequency; // lemma -> summed tag counts of its senses
    QSet<QByteArray> lemmas;             // every lemma and inflected form WordNet has

    // Headwords are looked up case-insensitively, with blanks read as WordNet's '_'.
    qint64 frequencyOf(QByteArrayView headword) const;
    bool knows(QByteArrayView headword) const;
};

// Reads the sense counts (none for an empty path) and the word lists; a file that cannot be
// read or is not of its kind is an error.
Usage readUsage(const QString &senseCounts, const QStringList &indexes,
                const QStringList &exceptions);

// The lemma a headword is filed under: lower case, blanks as '_'.
QByteArray lemmaOf(QByteArrayView headword);

} // namespace dataset::wordnet
