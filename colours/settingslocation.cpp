#include "settingslocation.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace colours {

namespace {

constexpr QStringView RelativePath = u"\\Setting.Dll";

bool canWrite(const QString &path)
{
    QFile file(path);
    if (QFileInfo::exists(path))
        return file.open(QIODevice::ReadWrite); // opening changes nothing in the file
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

} // namespace

QString chooseSettingsPath(const QString &programFolder, const QString &userFolder)
{
    const QString programPath = platform::dataPath(programFolder, RelativePath);
    if (canWrite(programPath) || userFolder.isEmpty())
        return programPath;

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
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

} // namespace colours
