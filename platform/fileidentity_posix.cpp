// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileidentity.h"

#include <QFile>

#include <sys/stat.h>

namespace platform {

std::optional<FileIdentity> FileIdentity::of(const QFile &file)
{
    struct stat status
    {
    };
    if (::fstat(file.handle(), &status) != 0)
        return std::nullopt;
    return FileIdentity{quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
                        qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
                        qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec};
}

} // namespace platform
