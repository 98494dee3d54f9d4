// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderattributes.h"

#include "platform/paths.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef VELLUMSTACK_WINDOWS
#include <windows.h>
#endif

namespace platform {

namespace {

QString folderPath(const QString &programFolder, const QString &name)
{
    return programFolder + QLatin1Char('/') + name;
}

#ifndef VELLUMSTACK_WINDOWS
QString hiddenListPath(const QString &programFolder)
{
    return programFolder + QLatin1String("/.hidden");
}

// The names listed in the file; std::nullopt when it exists but is refused (not a regular
// file, or beyond its cap), so that nobody writes over what it may hold.
std::optional<QByteArrayList> hiddenNames(const QString &programFolder)
{
    const QString path = hiddenListPath(programFolder);
    const std::optional<QByteArray> bytes = readRegularFile(path, caps::kHiddenList.size);
    if (!bytes) {
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            return std::nullopt;
        return QByteArrayList();
    }
    QByteArrayList names;
    for (const QByteArray &line : bytes->split('\n')) {
        const QByteArray name = line.trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}
#endif

} // namespace

bool markHiddenSystem(const QString &programFolder, const QString &name)
{
    const QString path = folderPath(programFolder, name);
    if (!QFileInfo(path).isDir())
        return false;
    if (isInstalledProgramFolder(programFolder))
        return isMarkedHiddenSystem(programFolder, name);
#ifdef VELLUMSTACK_WINDOWS
    return SetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()),
                              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
#else
    std::optional<QByteArrayList> listed = hiddenNames(programFolder);
    if (!listed)
        return false;
    QByteArrayList names = std::move(*listed);
    const QByteArray entry = QFile::encodeName(name);
    if (names.contains(entry))
        return true;
    names.append(entry);
    // The new list replaces the old one through a rename, and the save goes to the target
    // of a link: only ever over a regular file (or none), never over a device or a FIFO.
    const QFileInfo old(hiddenListPath(programFolder));
    if ((old.exists() || old.isSymLink()) && !old.isFile())
        return false;
    QSaveFile file(hiddenListPath(programFolder));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(names.join('\n') + '\n');
    return file.commit();
#endif
}

bool isMarkedHiddenSystem(const QString &programFolder, const QString &name)
{
    const QString path = folderPath(programFolder, name);
    if (!QFileInfo(path).isDir())
        return false;
#ifdef VELLUMSTACK_WINDOWS
    const DWORD attributes =
        GetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()));
    const DWORD wanted = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & wanted) == wanted;
#else
    const std::optional<QByteArrayList> names = hiddenNames(programFolder);
    return names && names->contains(QFile::encodeName(name));
#endif
}

} // namespace platform
