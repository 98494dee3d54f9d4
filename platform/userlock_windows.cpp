// SPDX-License-Identifier: GPL-3.0-or-later
#include "userlock.h"

#include <QDir>
#include <QStandardPaths>

#include <windows.h>

namespace platform {

std::optional<QString> userRuntimeFolder()
{
    // The user's local application data: only the user (and the system) may enter it.
    const QString local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (local.isEmpty())
        return std::nullopt;
    const QString folder = local + QStringLiteral("/Vellumstack");
    if (!QDir().mkpath(folder))
        return std::nullopt;
    return folder;
}

UserLock::Outcome UserLock::take(const QString &path, UserLock *lock)
{
    *lock = UserLock();
    // Others may open the file (a later start reads nothing from it, but may look); a link
    // is opened as itself and refused below.
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    OwnedHandle handle(reinterpret_cast<qintptr>(
        CreateFileW(native.c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr)));
    if (!handle.valid())
        return Outcome::Failed;
    const auto file = reinterpret_cast<HANDLE>(handle.get());
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return Outcome::Failed;
    // The first byte stands for the whole file; the system gives it back when the handle
    // closes or the process ends.
    OVERLAPPED at{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return GetLastError() == ERROR_LOCK_VIOLATION ? Outcome::HeldElsewhere : Outcome::Failed;
    lock->m_handle = std::move(handle);
    return Outcome::Taken;
}

} // namespace platform
