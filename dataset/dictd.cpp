// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictd.h"

#include "platform/regularfile.h"

#include <QFile>

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace dataset::dictd {

namespace {

// The size a gzip file gives in its last four bytes: the inflated size modulo 2^32 of a
// file of one member (as a .dict.dz is). Only a hint for the reservation.
qint64 statedSize(QFile &file)
{
    unsigned char tail[4];
    if (file.size() < 4 || !file.seek(file.size() - 4) ||
        file.read(reinterpret_cast<char *>(tail), 4) != 4)
        return 0;
    return qint64(tail[0]) | qint64(tail[1]) << 8 | qint64(tail[2]) << 16 | qint64(tail[3]) << 24;
}

std::optional<QString> readData(const QString &path, qint64 limit, QByteArray &data)
{
    const qint64 cap = platform::caps::kDictData.size;
    const std::unique_ptr<QFile> opened = platform::openRegularFile(path, cap);
    if (!opened)
        return QStringLiteral("%1: %2").arg(path, platform::refusalReason(path, cap));
    // Read before zlib takes over: its descriptor shares this one's position, which the
    // reading leaves at the start again.
    const qint64 stated = statedSize(*opened);
    if (!opened->seek(0))
        return QStringLiteral("%1: cannot open").arg(path);
    // zlib reads through a descriptor of its own and closes it.
    const int descriptor = platform::duplicateDescriptor(*opened);
    gzFile file = descriptor >= 0 ? gzdopen(descriptor, "rb") : nullptr;
    if (!file) {
        if (descriptor >= 0)
            platform::closeDescriptor(descriptor);
        return QStringLiteral("%1: cannot open").arg(path);
    }
    if (path.endsWith(u".dz") && gzdirect(file)) {
        gzclose_r(file);
        return QStringLiteral("%1: not a gzip file").arg(path);
    }
    const auto pastLimit = [&] {
        gzclose_r(file);
        data = QByteArray();
        return QStringLiteral("%1: inflates to more than the limit of %2 bytes for a dictionary")
            .arg(path)
            .arg(limit);
    };
    // A truncated file states any size: the stated one is taken only when it is in bounds.
    if (stated > 0 && stated <= limit)
        data.reserve(stated);
    char buffer[1 << 16];
    int got = 0;
    while ((got = gzread(file, buffer, sizeof buffer)) > 0) {
        if (data.size() + got > limit)
            return pastLimit();
        // Grown by doubling, but never past the limit.
        if (data.size() + got > data.capacity())
            data.reserve(std::min(limit, std::max(2 * data.capacity(), data.size() + got)));
        data.append(buffer, got);
    }
    int code = Z_OK;
    const QString message = QString::fromUtf8(gzerror(file, &code));
    const int closed = gzclose_r(file);
    if (code == Z_ERRNO)
        return QStringLiteral("cannot read %1: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (code == Z_BUF_ERROR)
        return QStringLiteral("%1: truncated data (the file ends early)").arg(path);
    if (got < 0 || (code != Z_OK && code != Z_STREAM_END))
        return QStringLiteral("%1: damaged data (%2)").arg(path, message);
    if (closed != Z_OK)
        return QStringLiteral("%1: truncated data (the compressed stream ends early)").arg(path);
    return std::nullopt;
}

} // namespace

std::optional<qint64> base64Number(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    qint64 value = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= 'A' && c <= 'Z')
            digit = c - 'A';
        else if (c >= 'a' && c <= 'z')
            digit = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            digit = c - '0' + 52;
        else if (c == '+')
            digit = 62;
        else if (c == '/')
            digit = 63;
        else
            return std::nullopt;
        value = value * 64 + digit;
    }
    return value;
}

Dictionary read(const QString &indexPath, const QString &dataPath, qint64 inflateLimit)
{
    Dictionary dictionary;
    const qint64 indexCap = platform::caps::kDictIndex.size;
    const std::optional<QByteArray> indexFile = platform::readRegularFile(indexPath, indexCap);
    if (!indexFile) {
        dictionary.error = QStringLiteral("%1: cannot read: %2")
                               .arg(indexPath, platform::refusalReason(indexPath, indexCap));
        return dictionary;
    }
    const QByteArray &index = *indexFile;
    QByteArray &data = dictionary.data;
    if (auto error = readData(dataPath, inflateLimit, data)) {
        dictionary.error = error;
        return dictionary;
    }

    QList<Article> articles;
    qint64 lineNumber = 0;
    for (qsizetype start = 0, end = 0; start < index.size(); start = end + 1) {
        end = index.indexOf('\n', start);
        if (end < 0)
            end = index.size();
        QByteArrayView line = QByteArrayView(index).sliced(start, end - start);
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        // key TAB offset TAB length, and nothing else: a CR inside a line means line ends
        // this reader does not take (CR alone), and the whole file is one line.
        const qsizetype tab1 = line.indexOf('\t');
        const qsizetype tab2 = tab1 > 0 ? line.indexOf('\t', tab1 + 1) : -1;
        const bool fields = tab2 > 0 && line.indexOf('\t', tab2 + 1) < 0 && !line.contains('\r');
        const auto offset =
            fields ? base64Number(line.sliced(tab1 + 1, tab2 - tab1 - 1)) : std::nullopt;
        const auto length = fields ? base64Number(line.sliced(tab2 + 1)) : std::nullopt;
        if (!offset || !length) {
            dictionary.error =
                QStringLiteral("%1 line %2: not a dictd index line%3")
                    .arg(indexPath)
                    .arg(lineNumber)
                    .arg(line.contains('\r') ? u" (its lines end in CR alone)"_qs : QString());
            dictionary.data.clear();
            return dictionary;
        }
        if (*offset + *length > data.size()) {
            dictionary.error =
                QStringLiteral("%1 line %2: the article at %3 (+%4) lies past the end of "
                               "the data (%5 bytes)")
                    .arg(indexPath)
                    .arg(lineNumber)
                    .arg(*offset)
                    .arg(*length)
                    .arg(data.size());
            dictionary.data.clear();
            return dictionary;
        }
        // The article's text is a view of the data, which the dictionary keeps.
        articles << Article{line.first(tab1).toByteArray(),
                            QByteArray::fromRawData(data.constData() + *offset, *length)};
    }
    dictionary.articles = std::move(articles);
    return dictionary;
}

} // namespace dataset::dictd
