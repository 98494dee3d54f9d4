// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderattributes.h"

#include "platform/folderattributes_p.h"
#include "platform/paths.h"

#include <QFileInfo>

namespace platform {

namespace {

bool isFolder(const QString &programFolder, const QString &name)
{
    return QFileInfo(programFolder + QLatin1Char('/') + name).isDir();
}

} // namespace

bool markHiddenSystem(const QString &programFolder, const QString &name)
{
    if (!isFolder(programFolder, name))
        return false;
    if (isInstalledProgramFolder(programFolder))
        return folderattributes::isMarked(programFolder, name);
    return folderattributes::mark(programFolder, name);
}

bool isMarkedHiddenSystem(const QString &programFolder, const QString &name)
{
    return isFolder(programFolder, name) && folderattributes::isMarked(programFolder, name);
}

} // namespace platform
