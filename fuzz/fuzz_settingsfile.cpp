// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file as a person may have left it: any bytes. Reading never takes a value
// from a damaged record, every value read stores back as itself, and storing one colour
// changes the bytes of its own record and nothing else.
#include "colours/colourvalue.h"
#include "colours/settingsfile.h"
#include "platform/recordfile.h"

#include "fuzzinput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

const QString &filePath()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/vellumstack-fuzz-setting-") +
                                QString::number(QCoreApplication::applicationPid());
    return path;
}

void writeBytes(QByteArrayView bytes)
{
    QFile file(filePath());
    fuzzinput::check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    fuzzinput::check(file.write(bytes.data(), bytes.size()) == bytes.size());
}

QByteArray readBytes()
{
    QFile file(filePath());
    fuzzinput::check(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// What record n holds by the file format: empty unless it lies wholly in the file and its
// length fits the record.
QByteArray expectedText(QByteArrayView bytes, qint64 record)
{
    const qint64 offset = (record - 1) * platform::RecordFile::RecordLength;
    if (bytes.size() - offset < platform::RecordFile::RecordLength)
        return {};
    const qint64 length = qint64(uchar(bytes[offset])) | (qint64(uchar(bytes[offset + 1])) << 8);
    if (length > platform::RecordFile::MaxTextLength)
        return {};
    return bytes.sliced(offset + 2, length).toByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    writeBytes(bytes);

    const colours::SettingsFile settings(filePath());
    const colours::StoredColours stored = settings.read();
    {
        auto file = platform::RecordFile::openForReading(filePath());
        fuzzinput::check(file.has_value());
        for (qint64 record = 0; record <= 6; ++record) {
            const QByteArray text = file->readText(record);
            fuzzinput::check(record < 1 ? text.isEmpty() : text == expectedText(bytes, record));
            if (const auto value = colours::parseNumber(text))
                fuzzinput::check(colours::parseNumber(colours::formatValue(*value)) == value);
            if (record >= 1 && record <= 4)
                fuzzinput::check(stored[size_t(record - 1)] == colours::colourFromText(text));
        }
    }

    // Store one colour, chosen by the input, and compare the file byte by byte.
    const colours::Setting setting = colours::AllSettings[size % 4];
    const qint32 value = qint32(qHash(bytes) & colours::MaxColourValue);
    fuzzinput::check(settings.store(setting, colours::toColor(value)));
    const QByteArray after = readBytes();
    const qint64 begin = (colours::recordNumber(setting) - 1) * platform::RecordFile::RecordLength;
    const qint64 end = begin + platform::RecordFile::RecordLength;
    fuzzinput::check(after.size() == std::max<qint64>(bytes.size(), end));
    for (qint64 i = 0; i < after.size(); ++i) {
        if (i >= begin && i < end)
            continue;
        fuzzinput::check(after[i] == (i < bytes.size() ? bytes[i] : '\0'));
    }
    fuzzinput::check(settings.read()[size % 4] == colours::toColor(value));
    return 0;
}
