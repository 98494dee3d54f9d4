// SPDX-License-Identifier: GPL-3.0-or-later
#include "linereader.h"

#include <QFile>

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace platform {

namespace {

// Line ends in data[0, size): a LF, and a CR that no LF follows within the range, so that a
// CR LF counts once. The caller keeps a CR LF from straddling the end of the range.
qint64 countLineEnds(const char *data, qint64 size)
{
    qint64 count = 0;
    qint64 i = 0;
#ifdef __SSE2__
    // Sixteen bytes at a time, each byte's count held in a byte lane for up to 255 rounds.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    while (i + 17 <= size) {
        __m128i lanes = _mm_setzero_si128();
        for (int round = 0; round < 255 && i + 17 <= size; ++round, i += 16) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i + 1));
            const __m128i loneCr =
                _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(here, cr));
            lanes = _mm_sub_epi8(lanes, _mm_or_si128(_mm_cmpeq_epi8(here, lf), loneCr));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == '\n' || (data[i] == '\r' && (i + 1 == size || data[i + 1] != '\n')))
            ++count;
    }
    return count;
}

} // namespace

std::optional<LineReader> LineReader::open(const QString &path, const FileCap &cap)
{
    std::unique_ptr<QFile> file = openRegularFile(path, cap.size);
    if (!file)
        return std::nullopt;

    LineReader reader;
    reader.setView(file->size(), cap);
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

LineReader LineReader::overText(QByteArray text, const FileCap &cap)
{
    LineReader reader;
    reader.setView(text.size(), cap);
    reader.m_copy = std::move(text);
    reader.m_data = reader.m_copy.constData();
    return reader;
}

void LineReader::setView(qint64 fileSize, const FileCap &cap)
{
    m_lineCap = cap.line;
    m_size = fileSize;
    if (cap.lines >= 0 && cap.line >= 0) {
        // The most that many lines of the line cap can take, with a CR LF after each.
        m_size = std::min(fileSize, cap.lines * (cap.line + 2));
        m_partial = m_size < fileSize;
    }
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
    // Blocks of the data are passed by counting their line ends at once: large blocks while
    // the last line end to skip lies beyond them, then short ones, and only the short block
    // that holds it is walked line by line. A block never ends between the CR and the LF of
    // one line end.
    qint64 skipped = 0;
    for (const qint64 block : {qint64(16 * 1024), qint64(256)}) {
        while (skipped < count && m_size - m_pos > block) {
            qint64 end = m_pos + block;
            if (m_data[end - 1] == '\r' && m_data[end] == '\n')
                ++end;
            const qint64 ends = countLineEnds(m_data + m_pos, end - m_pos);
            if (ends >= count - skipped)
                break;
            skipped += ends;
            m_pos = end;
        }
    }
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
