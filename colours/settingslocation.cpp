// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingslocation.h"

#include "platform/paths.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace colours {

namespace {

constexpr QStringView RelativePath = u"\\Setting.Dll";

bool canWrite(const QString &path)
{
    // Opening changes nothing in an existing file; anything but a regular file is refused.
    if (QFileInfo::exists(path))
        return platform::openRegularFile(path, -1, platform::OpenFor::Writing) != nullptr;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

} // namespace

QString chooseSettingsPath(const QString &programFolder, const QString &userFolder)
{
    const QString programPath = platform::dataPath(programFolder, RelativePath);
    // Tried only where a file may be made: canWrite creates a missing one.
    const bool installed = platform::isInstalledProgramFolder(programFolder);
    if (!installed && (canWrite(programPath) || userFolder.isEmpty()))
        return programPath;
    if (userFolder.isEmpty())
        return QString();

    const QString userPath = platform::dataPath(userFolder, RelativePath);
    QDir().mkpath(userFolder);
    if (!QFileInfo::exists(userPath) && QFileInfo(programPath).isFile() &&
        QFile::copy(programPath, userPath)) {
        // The copy takes the permissions of a file that may be read-only.
        QFile::setPermissions(userPath, QFile::permissions(userPath) | QFileDevice::ReadOwner |
                                            QFileDevice::WriteOwner);
    }
    return userPath;
}

QString userSettingsFolder()
{
#ifdef Q_OS_WIN
    // %APPDATA%\Vellumstack: the user's roaming application data, which follows the user
    // from machine to machine.
    const QString roaming = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return roaming.isEmpty() ? roaming
                             : QDir::cleanPath(roaming + QStringLiteral("/../Vellumstack"));
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
#endif
}

} // namespace colours
