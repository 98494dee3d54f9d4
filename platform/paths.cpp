// SPDX-License-Identifier: GPL-3.0-or-later
#include "paths.h"

#include <QFileInfo>

namespace platform {

QString dataPath(const QString &programFolder, QStringView relative)
{
    QString tail = relative.toString();
    tail.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return programFolder + tail;
}

bool isInstalledProgramFolder(const QString &programFolder)
{
    const QFileInfo marker(dataPath(programFolder, u"\\.installed"));
    return marker.exists() || marker.isSymLink();
}

} // namespace platform
