// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// The writer of everything that replaces what a user has. Every function returns
// std::nullopt on success, or a message that names the path and gives the system's own
// text of what failed ("cannot write /x/first.dll: No space left on device").
namespace platform {

// "cannot <what> <path>: <the system's text of error>".
QString systemError(const QString &what, const QString &path, int error);

// Creates or truncates path, writes bytes, syncs the file to the disk and closes it. For
// new files in a folder of one's own that is later moved into place as a whole.
std::optional<QString> writeFileSynced(const QString &path, QByteArrayView bytes);

// Replaces path by bytes so that a crash or a kill leaves either the old file or the new
// one: writes a temporary file beside it (".<name>.XXXXXX"), syncs it, renames it over
// path and syncs the folder.
std::optional<QString> writeFileAtomically(const QString &path, QByteArrayView bytes);

// Syncs a folder, so that the names created, renamed or removed in it are on the disk.
std::optional<QString> syncFolder(const QString &path);

// Creates path and the folders above it that are missing.
std::optional<QString> makeFolders(const QString &path);

// Renames from to to (one file system, an existing to is replaced when it is a file).
std::optional<QString> renamePath(const QString &from, const QString &to);

// Removes a file, or a folder with everything in it; symbolic links are removed, never
// followed. A path that does not exist is no error.
std::optional<QString> removeAll(const QString &path);

// Replaces the folders names of folder by those of the same names in folder/staging (a
// folder beside them), so that a kill at any moment leaves either the old folders, the new
// ones, or an interrupted swap that finishSwap() completes. Before the first rename a
// journal (folder/.swap-journal) says what goes where; it is removed once every folder is
// in place, and the staging folder, which then holds the old folders, goes last. The new
// folders must be synced already.
std::optional<QString> swapFolders(const QString &folder, const QString &staging,
                                   const QStringList &names);

// The journal of a swap that was interrupted; it exists only while a swap is under way.
QString swapJournalPath(const QString &folder);
bool swapInterrupted(const QString &folder);

// Completes an interrupted swap in folder, as the journal says, and removes the journal, the
// staging folder and any journal left half-written. Nothing to do when there is no journal.
// *finished (when given) tells whether a swap had to be completed.
std::optional<QString> finishSwap(const QString &folder, bool *finished = nullptr);

// One writer at a time in a folder: an exclusive lock (flock) on the folder itself, held
// until the object goes or the process ends, however it ends. A lock another process (or
// another holder in this one) has is refused at once, never waited for.
class FolderLock
{
public:
    FolderLock() = default;
    FolderLock(FolderLock &&other) noexcept;
    FolderLock &operator=(FolderLock &&other) noexcept;
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;
    ~FolderLock();

    // Takes the lock of folder into *lock. A folder that does not exist is no error: there
    // is nothing to keep apart, and *lock holds nothing.
    static std::optional<QString> take(const QString &folder, FolderLock *lock);

private:
    int m_fd = -1;
};

// For the tests of a kill at each step: called at every point of swapFolders() and
// writeFileAtomically() where a kill leaves a different state on the disk.
using StepHook = void (*)();
void setStepHook(StepHook hook);

} // namespace platform
