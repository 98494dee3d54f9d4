// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>

class QFile;

namespace platform {

// A file of fixed-length records of 128 bytes, numbered from 1; record n starts at byte
// (n - 1) * 128. Each record holds one text: a 16-bit little-endian length L, then L bytes,
// then filler that readers ignore (written as zero bytes).
//
// Every access touches exactly one record, so a file of any size costs 128 bytes per read
// and per write. The file is open for as long as the object lives.
class RecordFile
{
public:
    static constexpr qint64 RecordLength = 128;
    static constexpr qint64 MaxTextLength = RecordLength - 2;

    // Both open through openRegularFile (no size cap: every access reads one record), so
    // anything but a regular file is refused.
    // Opens an existing file for reading; std::nullopt when it is missing or unreadable.
    static std::optional<RecordFile> openForReading(const QString &path);
    // Opens the file for reading and writing, creating it empty when it is missing;
    // never truncates it. std::nullopt when it can be neither opened nor created.
    static std::optional<RecordFile> openForWriting(const QString &path);

    RecordFile(RecordFile &&) noexcept;
    RecordFile &operator=(RecordFile &&) noexcept;
    ~RecordFile();

    // The text of record n. Empty when n < 1, when the record lies wholly or partly beyond
    // the end of the file, when its length is 0, when it cannot be read, and when its length
    // field exceeds the 126 bytes a record can hold: such a record is damaged, and no
    // part of it is taken for a value.
    QByteArray readText(qint64 record) const;

    // Writes one whole record n: length, text, zero filler. A file shorter than the start
    // of the record is first extended with zero bytes; no other record is touched. Fails
    // (false, nothing written) when n < 1 or the text is longer than 126 bytes.
    bool writeText(qint64 record, QByteArrayView text);

    // Flushes and closes; false when the data could not be written out. Destruction
    // closes as well, without reporting.
    bool close();

private:
    explicit RecordFile(std::unique_ptr<QFile> file);

    std::unique_ptr<QFile> m_file;
};

} // namespace platform
