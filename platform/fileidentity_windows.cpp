// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileidentity.h"

#include <QFile>

#include <io.h>
#include <windows.h>

namespace platform {

std::optional<FileIdentity> FileIdentity::of(const QFile &file)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO times{};
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info) ||
        !GetFileInformationByHandleEx(handle, FileBasicInfo, &times, sizeof times))
        return std::nullopt;
    // The times count 100-nanosecond steps.
    return FileIdentity{
        quint64(info.dwVolumeSerialNumber), quint64(info.nFileIndexHigh) << 32 | info.nFileIndexLow,
        qint64(quint64(info.nFileSizeHigh) << 32 | info.nFileSizeLow),
        qint64(times.LastWriteTime.QuadPart) * 100, qint64(times.ChangeTime.QuadPart) * 100};
}

} // namespace platform
