// SPDX-License-Identifier: GPL-3.0-or-later
#include "paths.h"

namespace platform {

QString dataPath(const QString &programFolder, QStringView relative)
{
    QString tail = relative.toString();
    tail.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return programFolder + tail;
}

} // namespace platform
