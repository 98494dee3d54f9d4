// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<QFile> openRegularFile(const QString &path, qint64 maxSize, OpenFor mode)
{
    auto file = std::make_unique<QFile>();
    const QIODevice::OpenMode qtMode =
        mode == OpenFor::Reading ? QIODevice::ReadOnly : QIODevice::ReadWrite;
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
    return file;
}

int duplicateDescriptor(const QFile &file)
{
    return ::fcntl(file.handle(), F_DUPFD_CLOEXEC, 0);
}

void closeDescriptor(int descriptor)
{
    ::close(descriptor);
}

} // namespace platform
