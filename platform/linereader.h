#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QFile;

namespace platform {

// Reads a single-byte text file line by line, the way a text stream does: a line ends at
// CR LF, at a lone LF or at a lone CR, and the break is not part of the line. A final line
// without a break is a line; an empty file has no lines.
//
// The file is mapped (or, where mapping is refused, read once) when it is opened, so skipping
// a line is one memchr-style scan of bytes already in memory.
class LineReader
{
public:
    // std::nullopt when the file does not exist or cannot be opened for reading.
    static std::optional<LineReader> open(const QString &path);

    LineReader(LineReader &&) noexcept;
    LineReader &operator=(LineReader &&) noexcept;
    ~LineReader();

    // Both fail (false / std::nullopt) past the last line and then change nothing.
    bool skipLine();
    std::optional<QByteArray> readLine();

    // Skips up to count lines; returns how many were skipped (fewer at the end of the file).
    qint64 skipLines(qint64 count);

    bool atEnd() const { return m_pos >= m_size; }

private:
    LineReader() = default;
    // Finds the end of the line that starts at m_pos; returns its length and sets the
    // length of the line break in breakLength.
    qint64 lineLength(qint64 &breakLength) const;

    std::unique_ptr<QFile> m_file;
    QByteArray m_copy; // used only where the file could not be mapped
    const char *m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_pos = 0;
};

} // namespace platform
