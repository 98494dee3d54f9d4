// SPDX-License-Identifier: GPL-3.0-or-later
#include "indextext.h"

#include "platform/regularfile.h"
#include "platform/rtfreader.h"

#include <QFile>

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
    m_lineStarts.push_back(0);
    const char *data = m_text.constData();
    const qsizetype size = m_text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            m_lineStarts.push_back(i + 1);
        } else if (data[i] == '\r') {
            if (i + 1 < size && data[i + 1] == '\n')
                ++i;
            m_lineStarts.push_back(i + 1);
        }
    }
}

std::optional<IndexText> IndexText::load(const QString &path)
{
    const std::unique_ptr<QFile> file =
        platform::openRegularFile(path, platform::caps::kIndex.size);
    if (!file)
        return std::nullopt;
    const qint64 size = file->size();
    if (size > 0) {
        if (const uchar *mapped = file->map(0, size)) {
            return IndexText(platform::rtfPlainText(
                QByteArrayView(reinterpret_cast<const char *>(mapped), qsizetype(size))));
        }
    }
    return IndexText(platform::rtfPlainText(file->read(size)));
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
