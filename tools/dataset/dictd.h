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
    QList<Article> articles;      // in index order, the "00-database" ones included
};

// Reads the whole dictionary. A missing, truncated or corrupt data file, an index line
// that is malformed or points past the end of the data gives an error and no articles.
Dictionary read(const QString &indexPath, const QString &dataPath);

// A dictd base-64 number ("PHz4"); std::nullopt for an empty text or a foreign digit.
std::optional<qint64> base64Number(QByteArrayView digits);

} // namespace dataset::dictd
