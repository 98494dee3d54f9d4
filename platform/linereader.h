// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/regularfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

class QFile;

namespace platform {

// Reads a single-byte text file line by line, the way a text stream does: a line ends at
// CR LF, at a lone LF or at a lone CR, and the break is not part of the line. A final line
// without a break is a line; an empty file has no lines.
//
// The file is opened through openRegularFile with the cap of its kind: only a regular file
// within the size cap is read, and a refused file is a missing one. The part of the file the
// reader may look at is mapped (or, where mapping is refused, read once) when it is opened,
// so skipping a line is one memchr-style scan of bytes already in memory. With a line count
// in the cap that part is only the start of the file that can hold that many lines of the
// line cap, whatever the size of the file.
class LineReader
{
public:
    // std::nullopt when the file does not exist or is refused.
    static std::optional<LineReader> open(const QString &path, const FileCap &cap);
    // A reader over the whole text of a file already read: the lines open() gives of a file
    // that holds that text.
    static LineReader overText(QByteArray text, const FileCap &cap);

    LineReader(LineReader &&) noexcept;
    LineReader &operator=(LineReader &&) noexcept;
    ~LineReader();

    // Both fail (false / std::nullopt) past the last line and then change nothing. A line
    // longer than the line cap is given cut at the cap (lastLineCut() then tells), and the
    // rest of it is skipped; when its end lies beyond the part of the file the reader looks
    // at, it is the last line read.
    bool skipLine();
    std::optional<QByteArray> readLine();

    // Skips up to count lines; returns how many were skipped (fewer at the end of the file).
    qint64 skipLines(qint64 count);

    bool atEnd() const { return m_pos >= m_size; }

    // Whether the line readLine gave last was cut at the line cap.
    bool lastLineCut() const { return m_lastCut; }
    // The whole of the line readLine gave last, beyond the line cap too, as far as the part
    // of the file the reader looks at holds it. Valid while the reader lives.
    QByteArrayView lastLineWhole() const
    {
        return QByteArrayView(m_data + m_lastStart, m_lastLength);
    }

private:
    LineReader() = default;
    // Looks at the part of a file of fileSize bytes that the cap lets the reader see.
    void setView(qint64 fileSize, const FileCap &cap);
    // Finds the end of the line that starts at m_pos; returns its length and sets the
    // length of the line break in breakLength (0 for a line that ends with the data).
    qint64 lineLength(qint64 &breakLength) const;
    // Moves past the line of that length, or to the end when it may go on beyond the data.
    void passLine(qint64 length, qint64 breakLength);

    std::unique_ptr<QFile> m_file;
    QByteArray m_copy; // used only where the file could not be mapped
    const char *m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_pos = 0;
    qint64 m_lineCap = -1;
    // The data ends before the file does.
    bool m_partial = false;
    bool m_lastCut = false;
    qint64 m_lastStart = 0;
    qint64 m_lastLength = 0;
};

} // namespace platform
