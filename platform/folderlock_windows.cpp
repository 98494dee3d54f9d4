// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderlock.h"

#include "platform/atomicwrite.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include <windows.h>

namespace platform {

namespace {

// A mutex is held by a thread, and a thread that has it is given it again: the names this
// process holds are kept here, so that a second holder in this process is refused as it is
// on POSIX.
QMutex g_heldMutex;
QSet<QString> g_held;

// One name for one folder however its path is spelt (separators, case, a trailing
// separator), in the user's session.
QString mutexName(const QString &folder)
{
    const QString canonical = QDir::cleanPath(QFileInfo(folder).absoluteFilePath()).toLower();
    return QStringLiteral("Local\\vellumstack-folder-") +
           QString::fromLatin1(
               QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex());
}

} // namespace

FolderLock::~FolderLock()
{
    if (!m_handle.valid())
        return;
    ReleaseMutex(reinterpret_cast<HANDLE>(m_handle.get()));
    const QMutexLocker locker(&g_heldMutex);
    g_held.remove(m_name);
}

FolderLock::Outcome FolderLock::take(const QString &folder, FolderLock *lock, QString *error)
{
    *lock = FolderLock();
    if (!QFileInfo(folder).isDir())
        return Outcome::NoFolder;
    const QString name = mutexName(folder);
    const QMutexLocker locker(&g_heldMutex);
    if (g_held.contains(name))
        return Outcome::HeldElsewhere;
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (!mutex) {
        if (error)
            *error = systemError(u"lock"_qs, folder, int(GetLastError()));
        return Outcome::Failed;
    }
    OwnedHandle handle(reinterpret_cast<qintptr>(mutex));
    // A holder that ended without giving the mutex back leaves it abandoned: it is ours.
    switch (WaitForSingleObject(mutex, 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
        break;
    case WAIT_TIMEOUT:
        return Outcome::HeldElsewhere;
    default:
        if (error)
            *error = systemError(u"lock"_qs, folder, int(GetLastError()));
        return Outcome::Failed;
    }
    g_held.insert(name);
    lock->m_handle = std::move(handle);
    lock->m_name = name;
    return Outcome::Taken;
}

} // namespace platform
