// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The writer of everything that replaces what a user has. Every function returns
// std::nullopt on success, or a message that names the path and gives the system's own
// text of what failed ("cannot write /x/first.dll: No space left on device").
namespace platform {

// "cannot <what> <path>: <the system's text of error>"; error is an errno value on POSIX, a
// system error code (GetLastError) on Windows.
QString systemError(const QString &what, const QString &path, int error);

// Creates or truncates path, writes bytes, syncs the file to the disk and closes it. For
// new files in a folder of one's own that is later moved into place as a whole.
std::optional<QString> writeFileSynced(const QString &path, QByteArrayView bytes);

// Replaces path by bytes so that a crash or a kill leaves either the old file or the new
// one: writes a temporary file beside it (".<name>.XXXXXX"), syncs it, renames it over
// path and syncs the folder. On Windows the rename is a MoveFileEx that replaces and writes
// through, which is what syncs the folder there; a target that another program holds open
// without sharing its removal is not replaced, and the temporary is removed.
std::optional<QString> writeFileAtomically(const QString &path, QByteArrayView bytes);

// Syncs a folder, so that the names created, renamed or removed in it are on the disk.
std::optional<QString> syncFolder(const QString &path);

// Creates path and the folders above it that are missing.
std::optional<QString> makeFolders(const QString &path);

// Renames from to to (one file system, an existing to is replaced when it is a file).
std::optional<QString> renamePath(const QString &from, const QString &to);

// Removes one file (or link), never a folder.
std::optional<QString> removeFile(const QString &path);

// Removes a file, or a folder with everything in it; symbolic links are removed, never
// followed. A path that does not exist is no error.
std::optional<QString> removeAll(const QString &path);

// The system's own text of an error: an errno value on POSIX, a system error code on
// Windows.
QString systemErrorText(int error);

// What the tests see of the writers' work with the system: every sync, rename and removal
// the functions above make, in order, before it is made. A call that returns true fails as
// a failing disk would (kInjectedError) and is not made.
class WriteObserver
{
public:
    virtual ~WriteObserver() = default;
    // size: the bytes of a file just written; -1 for a folder.
    virtual bool syncing(const QString &path, qint64 size) = 0;
    virtual bool renaming(const QString &from, const QString &to) = 0;
    virtual bool removing(const QString &path) = 0;
};
// The error a failure that an observer asks for stands for: EIO, ERROR_IO_DEVICE on Windows.
extern const int kInjectedError;
void setWriteObserver(WriteObserver *observer);
// Tells the observer, when one is set; true when the call is to fail.
bool observeSync(const QString &path, qint64 size);
bool observeRename(const QString &from, const QString &to);
bool observeRemoval(const QString &path);

// For the tests of a kill at each step: called at every point of writeFileAtomically() and
// of the writers built on these functions where a kill leaves a different state on the disk.
using StepHook = void (*)();
void setStepHook(StepHook hook);
// Calls the hook, when one is set: the writers built on these functions mark their steps
// with it.
void reachStep();

} // namespace platform
