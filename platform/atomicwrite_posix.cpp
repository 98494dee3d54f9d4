// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomicwrite.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// Writes all bytes to fd; false with errno set on failure.
bool writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// fsync, unless the observer makes it fail; false with errno set on failure.
bool syncDescriptor(int fd, const QString &path, qint64 size)
{
    if (observeSync(path, size)) {
        errno = kInjectedError;
        return false;
    }
    return ::fsync(fd) == 0;
}

// Writes, syncs and closes fd; the message names path.
std::optional<QString> finishFile(int fd, const QString &path, QByteArrayView bytes)
{
    if (!writeAll(fd, bytes)) {
        const int error = errno;
        ::close(fd);
        return systemError(u"write"_qs, path, error);
    }
    if (!syncDescriptor(fd, path, bytes.size())) {
        const int error = errno;
        ::close(fd);
        return systemError(u"sync"_qs, path, error);
    }
    if (::close(fd) != 0)
        return systemError(u"write"_qs, path, errno);
    return std::nullopt;
}

} // namespace

const int kInjectedError = EIO;

QString systemErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString systemError(const QString &what, const QString &path, int error)
{
    return QStringLiteral("cannot %1 %2: %3").arg(what, path, systemErrorText(error));
}

std::optional<QString> writeFileSynced(const QString &path, QByteArrayView bytes)
{
    const int fd = ::open(nativePath(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return systemError(u"write"_qs, path, errno);
    return finishFile(fd, path, bytes);
}

std::optional<QString> writeFileAtomically(const QString &path, QByteArrayView bytes)
{
    const QFileInfo info(path);
    QString name = info.fileName();
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    QByteArray temporary = nativePath(info.path() + u"/."_qs + name + u".XXXXXX"_qs);
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return systemError(u"write"_qs, QFile::decodeName(temporary), errno);
    const QString temporaryPath = QFile::decodeName(temporary);
    ::fchmod(fd, 0644);
    if (auto error = finishFile(fd, temporaryPath, bytes)) {
        ::unlink(temporary.constData());
        return error;
    }
    reachStep();
    if (auto error = renamePath(temporaryPath, path)) {
        ::unlink(temporary.constData());
        return error;
    }
    return syncFolder(info.path());
}

std::optional<QString> syncFolder(const QString &path)
{
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return systemError(u"sync"_qs, path, errno);
    if (!syncDescriptor(fd, path, -1)) {
        const int error = errno;
        ::close(fd);
        return systemError(u"sync"_qs, path, error);
    }
    ::close(fd);
    return std::nullopt;
}

std::optional<QString> renamePath(const QString &from, const QString &to)
{
    if (observeRename(from, to))
        errno = kInjectedError;
    else if (::rename(nativePath(from).constData(), nativePath(to).constData()) == 0)
        return std::nullopt;
    return QStringLiteral("cannot rename %1 to %2: %3").arg(from, to, systemErrorText(errno));
}

std::optional<QString> removeFile(const QString &path)
{
    if (observeRemoval(path))
        errno = kInjectedError;
    else if (::unlink(nativePath(path).constData()) == 0)
        return std::nullopt;
    return systemError(u"remove"_qs, path, errno);
}

} // namespace platform
