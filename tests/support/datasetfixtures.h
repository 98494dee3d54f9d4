// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dataset/builder.h"
#include "dataset/dataset.h"
#include "store/tables.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// The fixtures of the data-set tests: a small set for the writer, the checker and the swap;
// a dictd dictionary and WordNet files for the builder; the terminal lookup run on a set.
namespace testsupport {

// The lines of a file as the lookup reads them; none when it cannot be read.
QList<QByteArray> readLines(const QString &path);

// The plain text of an index file, split at its line breaks (CR LF).
QList<QByteArray> indexLines(const QString &path);

// The 36 Windows-1256 bytes from 0xC1 on as symbol cells.
store::SymbolCells arabicCells();

int letterIndex(char letter); // 0 for a

// A set with words around both ends of the definitions files and every letter's bounds.
dataset::DataSet smallSet();

// folder/source/name.
QString sourceFile(const QString &folder, const QString &name);

// A number in dictd's base-64 digits.
QByteArray base64Number(qint64 value);

// Writes data gzip-compressed to path and gives the bytes written.
QByteArray gzip(const QByteArray &data, const QString &path);

struct DictFixture
{
    QString index;
    QString data;
};

// Writes articles (UTF-8 text, first line "Headword /ipa/") as folder/test.index and
// folder/test.dict.dz.
DictFixture writeDict(const QString &folder, const QList<QByteArray> &articles);

// A synset line of a WordNet data file; the count of its words in two hexadecimal digits.
QByteArray wordnetLine(int offset, char type, const QList<QByteArray> &lemmas,
                       const QByteArray &gloss);

// data.verb, data.adj and data.adv with a licence header and six multi-word lemmas, one of
// whose glosses says "verb".
QStringList writeWordNet(const QString &folder);

// The articles of the builder tests: words around the first/second boundary, a duplicate
// in other case, an initial that is no letter, a character Windows-1256 lacks.
QList<QByteArray> fixtureArticles();

// A file's lines split at CR LF, and written back.
QList<QByteArray> fileLines(const QString &path);

void writeLines(const QString &path, const QList<QByteArray> &lines);

// The set that replaces smallSet() in the kill tests: one more idiom before "by and large",
// so that a list of one set read with the definitions of the other gives a wrong answer.
dataset::DataSet replacingSet();

// The terminal lookup, built beside the tests.
QString lookupTool();

struct LookupRun
{
    int status = -1;
    QString definition;
    QString error;
};

// vellumstack-lookup --idioms --json on the set in folder.
LookupRun lookUpIdiom(const QString &folder, const QString &idiom);

// Every name in folder, hidden ones included.
QStringList entriesOf(const QString &folder);

// The headwords of entries, in order.
QList<QByteArray> headwords(const QList<dataset::Entry> &entries);

// A dictionary of the given articles (fixtureArticles() unless told) and the WordNet files of
// writeWordNet(), in a folder of its own, as the builder's sources.
struct Fixture
{
    QTemporaryDir dir;
    dataset::BuildSources sources;
    explicit Fixture(const QList<QByteArray> &articles = fixtureArticles());
};

} // namespace testsupport
