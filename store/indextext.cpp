// SPDX-License-Identifier: GPL-3.0-or-later
#include "indextext.h"

#include "platform/regularfile.h"
#include "platform/rtfreader.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>

namespace store {

namespace {

// The first place at or after from where needle stands in text, or -1. glibc's memmem is
// the fastest search there is for a short needle in a long text; elsewhere the standard
// library's.
qsizetype findBytes(const QByteArray &text, const QByteArray &needle, qsizetype from)
{
#ifdef __GLIBC__
    const void *at = ::memmem(text.constData() + from, size_t(text.size() - from),
                              needle.constData(), size_t(needle.size()));
    return at ? static_cast<const char *>(at) - text.constData() : -1;
#else
    const std::string_view haystack(text.constData(), size_t(text.size()));
    const size_t at =
        haystack.find(std::string_view(needle.constData(), size_t(needle.size())), size_t(from));
    return at == std::string_view::npos ? -1 : qsizetype(at);
#endif
}

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
    // The index cap keeps every position within 32 bits. The lines are sorted by a count of
    // their lengths: one pass over them, and another to place them.
    QList<Line> lines;
    lines.reserve(m_lineStarts.size());
    std::array<qsizetype, kLongLine + 1> firstOfLength{};
    for (qsizetype n = 0; n < m_lineStarts.size(); ++n) {
        qsizetype start = m_lineStarts[n];
        qsizetype end = n + 1 < m_lineStarts.size() ? m_lineStarts[n + 1] : size;
        while (end > start && (data[end - 1] == '\n' || data[end - 1] == '\r'))
            --end;
        while (start < end && data[start] == ' ')
            ++start;
        if (end > start) {
            lines.append(Line{qint32(start), qint32(end - start)});
            ++firstOfLength[size_t(std::min<qsizetype>(end - start, kLongLine))];
        }
    }
    qsizetype place = 0;
    for (qsizetype &first : firstOfLength)
        place += std::exchange(first, place);
    m_linesByLength.resize(lines.size());
    for (const Line &line : lines)
        m_linesByLength[firstOfLength[size_t(std::min<qsizetype>(line.size, kLongLine))]++] = line;
}

IndexText IndexText::read(QFile &file)
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

std::optional<IndexText> IndexText::load(const QString &path)
{
    const std::unique_ptr<QFile> file =
        platform::openRegularFile(path, platform::caps::kIndex.size);
    if (!file)
        return std::nullopt;
    return read(*file);
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
    const QByteArray folded = fold(key);
    // Every occurrence of a key stands where one of its beginning does, so a key that goes
    // on from the one searched last is searched from where that one was found, and is found
    // nowhere when that one was not. Typing a word searches the text once.
    qsizetype from = 0;
    if (m_lastSearch && folded.startsWith(m_lastSearch->key)) {
        if (m_lastSearch->found < 0)
            return -1;
        from = m_lastSearch->found;
    }
    qsizetype found = -1;
    if (folded.isEmpty()) {
        found = 0;
    } else {
        found = findBytes(m_folded, folded, from);
    }
    m_lastSearch = LastSearch{folded, found};
    return found;
}

qsizetype IndexText::lineOf(qsizetype position) const
{
    // The last line start at or before position.
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position);
    return qsizetype(after - m_lineStarts.begin()) - 1;
}

} // namespace store
