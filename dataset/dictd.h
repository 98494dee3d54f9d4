// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Reader of a dictd dictionary: the .index (one line per article: key, TAB, offset, TAB,
// length, both numbers in dictd's base-64 digits) and the data file, plain or gzip (a
// .dict.dz is gzip-readable).
namespace dataset::dictd {

struct Article
{
    QByteArray key;
    QByteArray text; // the article's bytes as stored (UTF-8 in FreeDict)
};

struct Dictionary
{
    std::optional<QString> error; // a clear message when the files cannot be read whole
    QByteArray data;              // the inflated data file; the articles' texts are views of it
    QList<Article> articles;      // in index order, the "00-database" ones included
};

// The most a data file may inflate to: 256 MiB, 68 times the 3.96 MB of the sample's
// freedict-eng-ara.dict.dz (the largest dictd dictionaries inflate to a few tens of MB). A
// guard against a compression bomb.
constexpr qint64 kInflateLimit = qint64(256) << 20;

// Reads the whole dictionary. A missing, truncated or corrupt data file, one that inflates
// past inflateLimit, an index line that is malformed or points past the end of the data
// gives an error and no articles.
Dictionary read(const QString &indexPath, const QString &dataPath,
                qint64 inflateLimit = kInflateLimit);

// A dictd base-64 number ("PHz4"); std::nullopt for an empty text or a foreign digit.
std::optional<qint64> base64Number(QByteArrayView digits);

} // namespace dataset::dictd
