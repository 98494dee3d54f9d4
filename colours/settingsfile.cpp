// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingsfile.h"

#include "colourvalue.h"
#include "platform/recordfile.h"
#include "platform/regularfile.h"

#include <QFile>

namespace colours {

bool SettingsFile::ensureExists() const
{
    if (QFile::exists(m_path))
        return true;
    return platform::openRegularFile(m_path, -1, platform::OpenFor::Writing) != nullptr;
}

StoredColours SettingsFile::read() const
{
    StoredColours colours;
    std::optional<platform::RecordFile> file = platform::RecordFile::openForReading(m_path);
    if (!file)
        return colours;
    for (Setting setting : AllSettings) {
        const int record = recordNumber(setting);
        colours[record - 1] = colourFromText(file->readText(record));
    }
    return colours;
}

bool SettingsFile::store(Setting setting, const QColor &colour) const
{
    std::optional<platform::RecordFile> file = platform::RecordFile::openForWriting(m_path);
    if (!file)
        return false;
    const bool written = file->writeText(recordNumber(setting), formatValue(toValue(colour)));
    return file->close() && written;
}

bool SettingsFile::storeRestoreValues() const
{
    std::optional<platform::RecordFile> file = platform::RecordFile::openForWriting(m_path);
    if (!file)
        return false;
    bool written = true;
    for (Setting setting : AllSettings) {
        written = file->writeText(recordNumber(setting), restoreText(setting));
        if (!written)
            break;
    }
    return file->close() && written;
}

} // namespace colours
