// SPDX-License-Identifier: GPL-3.0-or-later
#include "userlock.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A folder, not a link to one, of this user's, that nobody else may read, write or enter.
bool privateFolder(const QByteArray &path)
{
    struct stat status
    {
    };
    return ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & 077) == 0;
}

} // namespace

std::optional<QString> userRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && privateFolder(QFile::encodeName(runtime)))
        return runtime;

    const QString fallback =
        QDir::tempPath() + QStringLiteral("/vellumstack-%1").arg(qulonglong(::geteuid()));
    const QByteArray path = QFile::encodeName(fallback);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    if (!privateFolder(path))
        return std::nullopt;
    return fallback;
}

UserLock::Outcome UserLock::take(const QString &path, UserLock *lock)
{
    *lock = UserLock();
    // No link is followed and nothing blocks: a FIFO put there by mistake opens at once and
    // is refused below.
    OwnedHandle handle(::open(QFile::encodeName(path).constData(),
                              O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600));
    if (!handle.valid())
        return Outcome::Failed;
    const int fd = int(handle.get());
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid())
        return Outcome::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::Failed;
    lock->m_handle = std::move(handle);
    return Outcome::Taken;
}

} // namespace platform
