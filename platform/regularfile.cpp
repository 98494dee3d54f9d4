// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <QFile>
#include <QFileInfo>

#ifndef VELLUMSTACK_WINDOWS
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace platform {

std::unique_ptr<QFile> openRegularFile(const QString &path, qint64 maxSize, OpenFor mode)
{
    auto file = std::make_unique<QFile>();
    const QIODevice::OpenMode qtMode =
        mode == OpenFor::Reading ? QIODevice::ReadOnly : QIODevice::ReadWrite;
#ifndef VELLUMSTACK_WINDOWS
    const int flags = (mode == OpenFor::Reading ? O_RDONLY : O_RDWR | O_CREAT) | O_NONBLOCK |
                      O_CLOEXEC | O_NOCTTY;
    int fd = -1;
    do {
        fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return nullptr;
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        (maxSize >= 0 && status.st_size > maxSize) ||
        !file->open(fd, qtMode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
#else
    // No FIFOs to block on here: the open itself is safe, and the kind is checked after it.
    file->setFileName(path);
    if (!file->open(qtMode) || !QFileInfo(path).isFile() ||
        (maxSize >= 0 && file->size() > maxSize))
        return nullptr;
#endif
    return file;
}

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
