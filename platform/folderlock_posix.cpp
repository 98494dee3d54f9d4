// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderlock.h"

#include "platform/atomicwrite.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

FolderLock::~FolderLock() = default;

FolderLock::Outcome FolderLock::take(const QString &folder, FolderLock *lock, QString *error)
{
    *lock = FolderLock();
    OwnedHandle handle(::open(QFile::encodeName(folder).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK));
    if (!handle.valid()) {
        if (errno == ENOENT)
            return Outcome::NoFolder;
        if (error)
            *error = systemError(u"open"_qs, folder, errno);
        return Outcome::Failed;
    }
    if (::flock(int(handle.get()), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return Outcome::HeldElsewhere;
        if (error)
            *error = systemError(u"lock"_qs, folder, errno);
        return Outcome::Failed;
    }
    lock->m_handle = std::move(handle);
    return Outcome::Taken;
}

} // namespace platform
