// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/folderlock.h"

#include <QString>
#include <QStringList>

#include <optional>

// The journalled swap that moves a new data set into place, and the lock that keeps a
// second builder out of a program folder while one writes. Every function returns
// std::nullopt on success, or a message that names the path.
namespace dataset {

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

// One writer at a time in a folder (platform::FolderLock), held until the object goes or the
// process ends, however it ends. A lock another process (or another holder in this one) has
// is refused at once, never waited for.
class FolderLock
{
public:
    // Takes the lock of folder into *lock. A folder that does not exist is no error: there
    // is nothing to keep apart, and *lock holds nothing.
    static std::optional<QString> take(const QString &folder, FolderLock *lock);

private:
    platform::FolderLock m_lock;
};

} // namespace dataset
