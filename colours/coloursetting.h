// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPalette>

#include <array>

// The four display colours the user can set, each kept in its own record of the settings
// file.
namespace colours {

enum class Setting {
    ListText,             // text colour of the word list
    ListBackground,       // background of the word list
    DefinitionText,       // text colour of the definition box
    DefinitionBackground, // background of the definition box (and at start of its backdrop)
};

// In record order, the order the start-up reading applies them in.
constexpr std::array<Setting, 4> AllSettings = {Setting::ListText, Setting::ListBackground,
                                                Setting::DefinitionText,
                                                Setting::DefinitionBackground};

// 1 to 4.
int recordNumber(Setting setting);

// The palette role that shows the colour on its control: Text or Base.
QPalette::ColorRole paletteRole(Setting setting);

// The text "Restore" stores for the setting: "0", "9697533", "0", "16702203".
QByteArray restoreText(Setting setting);
qint32 restoreValue(Setting setting);

} // namespace colours
