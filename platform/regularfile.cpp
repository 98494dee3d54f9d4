// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <QFile>
#include <QFileInfo>

namespace platform {

QString refusalReason(const QString &path, qint64 maxSize)
{
    const QFileInfo info(path);
    if (!info.exists())
        return info.isSymLink() ? QStringLiteral("a link to nothing")
                                : QStringLiteral("no such file");
    if (!info.isFile())
        return QStringLiteral("not a regular file");
    if (maxSize >= 0 && info.size() > maxSize)
        return QStringLiteral("larger than %1 bytes").arg(maxSize);
    return QStringLiteral("cannot be opened");
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxSize)
{
    const std::unique_ptr<QFile> file = openRegularFile(path, maxSize);
    if (!file)
        return std::nullopt;
    // The size the file had when it was opened, within its cap: a file that grows while it
    // is read is read no further.
    const qint64 size = file->size();
    QByteArray bytes = file->read(maxSize >= 0 ? std::min(size, maxSize) : size);
    if (file->error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace platform
