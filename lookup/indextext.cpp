// SPDX-License-Identifier: GPL-3.0-or-later
#include "indextext.h"

#include "platform/regularfile.h"
#include "platform/rtfreader.h"

#include <QFile>

#include <sys/stat.h>

#include <algorithm>
#include <array>

namespace lookup {

namespace {

// Windows-1252 lower case of every byte: ASCII letters, the Latin-1 letters, and the few
// letters that Windows-1252 keeps in 0x80..0x9F.
constexpr std::array<uchar, 256> makeFoldTable()
{
    std::array<uchar, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[size_t(i)] = uchar(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[size_t(c)] = uchar(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) // the multiplication sign has no lower case
            table[size_t(c)] = uchar(c + 32);
    }
    table[0x8A] = 0x9A; // S caron
    table[0x8C] = 0x9C; // OE
    table[0x8E] = 0x9E; // Z caron
    table[0x9F] = 0xFF; // Y diaeresis
    return table;
}

constexpr std::array<uchar, 256> kFold = makeFoldTable();

} // namespace

IndexText::IndexText(QByteArray plainText) : m_text(std::move(plainText))
{
    m_folded = fold(m_text);
    m_lineStarts.append(0);
    const char *data = m_text.constData();
    const qsizetype size = m_text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            m_lineStarts.append(i + 1);
        } else if (data[i] == '\r') {
            if (i + 1 < size && data[i + 1] == '\n')
                ++i;
            m_lineStarts.append(i + 1);
        }
    }
}

namespace {

IndexText parse(QFile &file)
{
    const qint64 size = file.size();
    if (size > 0) {
        if (const uchar *mapped = file.map(0, size)) {
            return IndexText(platform::rtfPlainText(
                QByteArrayView(reinterpret_cast<const char *>(mapped), qsizetype(size))));
        }
    }
    return IndexText(platform::rtfPlainText(file.read(size)));
}

} // namespace

std::optional<IndexText> IndexText::load(const QString &path)
{
    const std::unique_ptr<QFile> file =
        platform::openRegularFile(path, platform::caps::kIndex.size);
    if (!file)
        return std::nullopt;
    return parse(*file);
}

IndexCache::Identity IndexCache::identityOf(const struct stat &status)
{
    return {quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
            qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec};
}

std::optional<IndexText> IndexCache::load(const QString &path)
{
    const std::unique_ptr<QFile> file =
        platform::openRegularFile(path, platform::caps::kIndex.size);
    struct stat status
    {
    };
    if (const auto kept = m_kept.constFind(path); kept != m_kept.constEnd()) {
        if (file && ::fstat(file->handle(), &status) == 0 && kept->identity == identityOf(status))
            return kept->index;
        m_bytes -= kept->index.text().size();
        m_kept.erase(kept);
    }
    if (!file)
        return std::nullopt;
    if (::fstat(file->handle(), &status) != 0)
        return parse(*file);
    IndexText index = parse(*file);
    const qsizetype bytes = index.text().size();
    if (bytes <= kBytes) {
        // When the new one does not fit beside them, all that is kept goes.
        if (m_bytes + bytes > kBytes) {
            m_kept.clear();
            m_bytes = 0;
        }
        m_kept.insert(path, Kept{identityOf(status), index});
        m_bytes += bytes;
    }
    return index;
}

QByteArray IndexText::fold(QByteArrayView text)
{
    QByteArray folded(text.size(), Qt::Uninitialized);
    char *out = folded.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        out[i] = char(kFold[uchar(text[i])]);
    return folded;
}

qsizetype IndexText::find(QByteArrayView key) const
{
    if (key.size() > m_folded.size())
        return -1;
    return QByteArrayView(m_folded).indexOf(fold(key));
}

qsizetype IndexText::lineOf(qsizetype position) const
{
    // The last line start at or before position.
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position);
    return qsizetype(after - m_lineStarts.begin()) - 1;
}

} // namespace lookup
