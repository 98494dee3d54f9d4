// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderattributes.h"

#include "platform/folderattributes_p.h"
#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

namespace {

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

} // namespace

namespace folderattributes {

bool mark(const QString &programFolder, const QString &name)
{
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
}

bool isMarked(const QString &programFolder, const QString &name)
{
    const std::optional<QByteArrayList> names = hiddenNames(programFolder);
    return names && names->contains(QFile::encodeName(name));
}

} // namespace folderattributes

} // namespace platform
