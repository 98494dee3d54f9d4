#include "linereader.h"

#include <QFile>

#include <cstring>

namespace platform {

std::optional<LineReader> LineReader::open(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        return std::nullopt;

    LineReader reader;
    reader.m_size = file->size();
    if (reader.m_size > 0) {
        uchar *mapped = file->map(0, reader.m_size);
        if (mapped) {
            reader.m_data = reinterpret_cast<const char *>(mapped);
        } else {
            reader.m_copy = file->readAll();
            reader.m_data = reader.m_copy.constData();
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

bool LineReader::skipLine()
{
    if (atEnd())
        return false;
    qint64 breakLength = 0;
    const qint64 length = lineLength(breakLength);
    m_pos += length + breakLength;
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
    QByteArray line(m_data + m_pos, length);
    m_pos += length + breakLength;
    return line;
}

} // namespace platform
