// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ownedhandle.h"

#include <QString>

#include <optional>

namespace platform {

// This user's folder for the files of a running program (sockets, locks): $XDG_RUNTIME_DIR
// when it names a folder that belongs to this user and that no one else may enter; else the
// folder "vellumstack-<user id>" in the temporary folder, made so when it is missing. None
// when neither is such a folder (one of that name that belongs to someone else, or lets
// others in, is never used). On Windows the folder "Vellumstack" in the user's local
// application data, which only the user may enter.
std::optional<QString> userRuntimeFolder();

// An exclusive lock on a file of the user's own (flock; LockFileEx on Windows), held until the
// object goes or the process ends, however it ends: a killed holder never leaves the lock
// behind. The lock is per opened file, so a second holder in the same process is refused as
// well.
class UserLock
{
public:
    enum class Outcome {
        Taken,         // the lock is ours
        HeldElsewhere, // another holder has it; asking again may succeed once it is gone
        Failed,        // no lock can be had on that file (not the user's, not a regular file)
    };

    // Takes the lock on path into *lock, making the file (mode 0600) when it is missing.
    // Never waits for another holder. A link, a folder, a device or a FIFO at path, or a
    // file of another user's, is Failed.
    static Outcome take(const QString &path, UserLock *lock);

    bool held() const { return m_handle.valid(); }

private:
    OwnedHandle m_handle;
};

} // namespace platform
