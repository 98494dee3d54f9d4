// SPDX-License-Identifier: GPL-3.0-or-later
#include "coloursetting.h"

namespace colours {

int recordNumber(Setting setting)
{
    switch (setting) {
    case Setting::ListText:
        return 1;
    case Setting::ListBackground:
        return 2;
    case Setting::DefinitionText:
        return 3;
    case Setting::DefinitionBackground:
        return 4;
    }
    return 0;
}

QPalette::ColorRole paletteRole(Setting setting)
{
    switch (setting) {
    case Setting::ListText:
    case Setting::DefinitionText:
        return QPalette::Text;
    case Setting::ListBackground:
    case Setting::DefinitionBackground:
        return QPalette::Base;
    }
    return QPalette::Base;
}

qint32 restoreValue(Setting setting)
{
    switch (setting) {
    case Setting::ListText:
    case Setting::DefinitionText:
        return 0; // black
    case Setting::ListBackground:
        return 0x0093F8FD; // red 253, green 248, blue 147
    case Setting::DefinitionBackground:
        return 0x00FEDAFB; // red 251, green 218, blue 254
    }
    return 0;
}

QByteArray restoreText(Setting setting)
{
    return QByteArray::number(restoreValue(setting));
}

} // namespace colours
