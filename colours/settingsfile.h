// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "coloursetting.h"

#include <QColor>
#include <QString>

#include <array>
#include <optional>

namespace colours {

// The colours read back at start, in record order (AllSettings); std::nullopt where the
// record is empty or unusable, which leaves that control's colour as it is.
using StoredColours = std::array<std::optional<QColor>, 4>;

// The settings file "Setting.Dll": one colour per 128-byte record, records 1 to 4, each
// the colour value as decimal text. Every operation opens the file, does its work and
// closes it again; nothing stays open between calls.
class SettingsFile
{
public:
    explicit SettingsFile(QString path) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    // Creates the file empty when it is missing; an existing file is left as it is.
    bool ensureExists() const;

    // Records 1 to 4. A missing or unreadable file reads as four empty records.
    StoredColours read() const;

    // Writes the setting's record, and only that record.
    bool store(Setting setting, const QColor &colour) const;

    // Writes records 1 to 4 with the values "Restore" brings back, in record order; stops
    // at the first record that cannot be written.
    bool storeRestoreValues() const;

private:
    QString m_path;
};

} // namespace colours
