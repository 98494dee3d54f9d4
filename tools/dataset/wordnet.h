#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

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

} // namespace dataset::wordnet
