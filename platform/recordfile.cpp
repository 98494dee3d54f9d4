// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordfile.h"

#include "platform/regularfile.h"

#include <QFile>

#include <limits>

namespace platform {

namespace {

// The largest record number whose offset still fits a file position.
constexpr qint64 MaxRecord = std::numeric_limits<qint64>::max() / RecordFile::RecordLength;

bool isValidRecord(qint64 record)
{
    return record >= 1 && record <= MaxRecord;
}

qint64 recordOffset(qint64 record)
{
    return (record - 1) * RecordFile::RecordLength;
}

} // namespace

RecordFile::RecordFile(std::unique_ptr<QFile> file) : m_file(std::move(file)) {}
RecordFile::RecordFile(RecordFile &&) noexcept = default;
RecordFile &RecordFile::operator=(RecordFile &&) noexcept = default;
RecordFile::~RecordFile() = default;

std::optional<RecordFile> RecordFile::openForReading(const QString &path)
{
    std::unique_ptr<QFile> file = openRegularFile(path);
    if (!file)
        return std::nullopt;
    return RecordFile(std::move(file));
}

std::optional<RecordFile> RecordFile::openForWriting(const QString &path)
{
    // Creates a missing file and keeps an existing one as it is.
    std::unique_ptr<QFile> file = openRegularFile(path, -1, OpenFor::Writing);
    if (!file)
        return std::nullopt;
    return RecordFile(std::move(file));
}

QByteArray RecordFile::readText(qint64 record) const
{
    if (!m_file || !isValidRecord(record))
        return {};
    const qint64 offset = recordOffset(record);
    if (m_file->size() - offset < RecordLength || !m_file->seek(offset))
        return {};
    const QByteArray bytes = m_file->read(RecordLength);
    if (bytes.size() != RecordLength)
        return {};
    const qint64 length = qint64(uchar(bytes[0])) | (qint64(uchar(bytes[1])) << 8);
    if (length > MaxTextLength)
        return {};
    return bytes.mid(2, length);
}

bool RecordFile::writeText(qint64 record, QByteArrayView text)
{
    if (!m_file || !isValidRecord(record) || text.size() > MaxTextLength)
        return false;
    const qint64 offset = recordOffset(record);
    // Seeking past the end and writing would leave the gap's content to the file system;
    // resizing fills it with zero bytes, so records never written read as empty.
    if (m_file->size() < offset && !m_file->resize(offset))
        return false;

    QByteArray bytes(RecordLength, '\0');
    bytes[0] = char(text.size() & 0xff);
    bytes[1] = char((text.size() >> 8) & 0xff);
    std::copy(text.begin(), text.end(), bytes.begin() + 2);
    return m_file->seek(offset) && m_file->write(bytes) == RecordLength;
}

bool RecordFile::close()
{
    if (!m_file)
        return false;
    const bool flushed = m_file->flush();
    m_file->close();
    const bool ok = flushed && m_file->error() == QFileDevice::NoError;
    m_file.reset();
    return ok;
}

} // namespace platform
