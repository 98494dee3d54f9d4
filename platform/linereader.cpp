// SPDX-License-Identifier: GPL-3.0-or-later
#include "linereader.h"

#include <QFile>

#include <cstring>

namespace platform {

std::optional<LineReader> LineReader::open(const QString &path, const FileCap &cap)
{
    std::unique_ptr<QFile> file = openRegularFile(path, cap.size);
    if (!file)
        return std::nullopt;

    LineReader reader;
    reader.m_lineCap = cap.line;
    const qint64 fileSize = file->size();
    reader.m_size = fileSize;
    if (cap.lines >= 0 && cap.line >= 0) {
        // The most that many lines of the line cap can take, with a CR LF after each.
        reader.m_size = std::min(fileSize, cap.lines * (cap.line + 2));
        reader.m_partial = reader.m_size < fileSize;
    }
    if (reader.m_size > 0) {
        uchar *mapped = file->map(0, reader.m_size);
        if (mapped) {
            reader.m_data = reinterpret_cast<const char *>(mapped);
        } else {
            reader.m_copy = file->read(reader.m_size);
            reader.m_data = reader.m_copy.constData();
            reader.m_partial = reader.m_partial || reader.m_copy.size() < reader.m_size;
            reader.m_size = reader.m_copy.size();
        }
    }
    reader.m_file = std::move(file);
    return reader;
}

LineReader::LineReader(LineReader &&) noexcept = default;
LineReader &LineReader::operator=(LineReader &&) noexcept = default;
LineReader::~LineReader() = default;

qint64 LineReader::lineLength(qint64 &breakLength) const
{
    const char *start = m_data + m_pos;
    const qint64 rest = m_size - m_pos;
    // The nearest LF and the nearest CR; whichever comes first ends the line.
    const void *lf = std::memchr(start, '\n', size_t(rest));
    const qint64 lfAt = lf ? static_cast<const char *>(lf) - start : rest;
    const void *cr = std::memchr(start, '\r', size_t(lfAt));
    if (cr) {
        const qint64 crAt = static_cast<const char *>(cr) - start;
        breakLength = (crAt + 1 < rest && start[crAt + 1] == '\n') ? 2 : 1;
        return crAt;
    }
    breakLength = lf ? 1 : 0;
    return lfAt;
}

void LineReader::passLine(qint64 length, qint64 breakLength)
{
    // A line that runs into the end of a partial view may go on past it: nothing after it
    // can be told apart from its rest.
    if (breakLength == 0 && m_partial)
        m_pos = m_size;
    else
        m_pos += length + breakLength;
}

bool LineReader::skipLine()
{
    if (atEnd())
        return false;
    qint64 breakLength = 0;
    const qint64 length = lineLength(breakLength);
    passLine(length, breakLength);
    return true;
}

qint64 LineReader::skipLines(qint64 count)
{
    qint64 skipped = 0;
    while (skipped < count && skipLine())
        ++skipped;
    return skipped;
}

std::optional<QByteArray> LineReader::readLine()
{
    if (atEnd())
        return std::nullopt;
    qint64 breakLength = 0;
    const qint64 length = lineLength(breakLength);
    m_lastCut = (m_lineCap >= 0 && length > m_lineCap) || (breakLength == 0 && m_partial);
    m_lastStart = m_pos;
    m_lastLength = length;
    QByteArray line(m_data + m_pos, m_lineCap >= 0 ? std::min(length, m_lineCap) : length);
    passLine(length, breakLength);
    return line;
}

} // namespace platform
