// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderattributes.h"

#include "platform/folderattributes_p.h"

#include <QDir>

#include <windows.h>

namespace platform {

namespace {

constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::wstring folderPath(const QString &programFolder, const QString &name)
{
    return QDir::toNativeSeparators(programFolder + QLatin1Char('/') + name).toStdWString();
}

} // namespace

namespace folderattributes {

bool mark(const QString &programFolder, const QString &name)
{
    // Exactly hidden and system: the folder's other attributes are set anew, as the
    // attributes of a folder are set as a whole.
    return SetFileAttributesW(folderPath(programFolder, name).c_str(), kHiddenSystem);
}

bool isMarked(const QString &programFolder, const QString &name)
{
    const DWORD attributes = GetFileAttributesW(folderPath(programFolder, name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kHiddenSystem) == kHiddenSystem;
}

} // namespace folderattributes

} // namespace platform
