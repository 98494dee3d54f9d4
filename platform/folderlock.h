// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ownedhandle.h"

#include <QString>

#include <optional>

namespace platform {

// One holder at a time for a folder, held until the object goes or the process ends,
// however it ends. On POSIX an exclusive lock (flock) on the folder itself; on Windows,
// where a folder cannot be locked, a mutex of the user's session named after the folder's
// path. Another holder, in another process or in this one, is refused at once, never
// waited for.
class FolderLock
{
public:
    enum class Outcome {
        Taken,
        NoFolder,      // there is no such folder: nothing to keep apart, nothing held
        HeldElsewhere, // another holder has it
        Failed,        // *error says why
    };

    FolderLock() = default;
    FolderLock(FolderLock &&other) noexcept = default;
    FolderLock &operator=(FolderLock &&other) noexcept
    {
        FolderLock released(std::move(*this));
        m_handle = std::move(other.m_handle);
        m_name = std::move(other.m_name);
        return *this;
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;
    ~FolderLock();

    // Takes the lock of folder into *lock; on Failed, *error (when given) holds the message.
    static Outcome take(const QString &folder, FolderLock *lock, QString *error = nullptr);

    bool held() const { return m_handle.valid(); }

private:
    OwnedHandle m_handle;
    QString m_name; // the mutex's name on Windows
};

} // namespace platform
