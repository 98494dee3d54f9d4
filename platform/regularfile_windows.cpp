// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace platform {

std::unique_ptr<QFile> openRegularFile(const QString &path, qint64 maxSize, OpenFor mode)
{
    const bool reading = mode == OpenFor::Reading;
    // Others may read, write, rename and remove the file while it is open here, as they may
    // on POSIX; a link (a reparse point) is opened as itself and refused below.
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const HANDLE handle =
        CreateFileW(native.c_str(), reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    reading ? OPEN_EXISTING : OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    // A disk file, not a device ("NUL", "CON", "COM1"), a pipe, a folder or a link.
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER size{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        !GetFileSizeEx(handle, &size) || (maxSize >= 0 && size.QuadPart > maxSize)) {
        CloseHandle(handle);
        return nullptr;
    }
    // From here on the descriptor owns the handle.
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                                   (reading ? _O_RDONLY : _O_RDWR) | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, reading ? QIODevice::ReadOnly : QIODevice::ReadWrite,
                    QFileDevice::AutoCloseHandle)) {
        _close(fd);
        return nullptr;
    }
    return file;
}

int duplicateDescriptor(const QFile &file)
{
    return _dup(file.handle());
}

void closeDescriptor(int descriptor)
{
    _close(descriptor);
}

} // namespace platform
