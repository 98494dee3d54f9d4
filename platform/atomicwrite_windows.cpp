// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomicwrite.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

namespace platform {

namespace {

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// FlushFileBuffers, unless the observer makes it fail; false with the last error set on
// failure.
bool syncHandle(HANDLE handle, const QString &path, qint64 size)
{
    if (observeSync(path, size)) {
        SetLastError(DWORD(kInjectedError));
        return false;
    }
    return FlushFileBuffers(handle);
}

// Writes all bytes to handle, flushes them to the disk and closes it; the message names
// path.
std::optional<QString> finishFile(HANDLE handle, const QString &path, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(handle, data, chunk, &written, nullptr)) {
            const DWORD error = GetLastError();
            CloseHandle(handle);
            return systemError(u"write"_qs, path, int(error));
        }
        data += written;
        left -= written;
    }
    if (!syncHandle(handle, path, bytes.size())) {
        const DWORD error = GetLastError();
        CloseHandle(handle);
        return systemError(u"sync"_qs, path, int(error));
    }
    if (!CloseHandle(handle))
        return systemError(u"write"_qs, path, int(GetLastError()));
    return std::nullopt;
}

// Six letters or digits, as mkstemp would put in place of its XXXXXX.
QString randomSuffix()
{
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < 6; ++i)
        suffix += QLatin1Char(kLetters[QRandomGenerator::system()->bounded(62)]);
    return suffix;
}

// The system's own text of a system error code.
QString formatSystemError(DWORD error)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString message = length > 0 ? QString::fromWCharArray(text, int(length)).trimmed()
                                       : QStringLiteral("system error %1").arg(error);
    LocalFree(text);
    return message;
}

} // namespace

const int kInjectedError = ERROR_IO_DEVICE;

QString systemErrorText(int error)
{
    return formatSystemError(DWORD(error));
}

QString systemError(const QString &what, const QString &path, int error)
{
    return QStringLiteral("cannot %1 %2: %3").arg(what, path, systemErrorText(error));
}

std::optional<QString> writeFileSynced(const QString &path, QByteArrayView bytes)
{
    // A link is replaced by the file, never written through.
    const HANDLE handle =
        CreateFileW(nativePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return systemError(u"write"_qs, path, int(GetLastError()));
    return finishFile(handle, path, bytes);
}

std::optional<QString> writeFileAtomically(const QString &path, QByteArrayView bytes)
{
    const QFileInfo info(path);
    QString name = info.fileName();
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    QString temporary;
    HANDLE handle = INVALID_HANDLE_VALUE;
    // A new file of a name nobody has: another name is drawn while the one drawn exists.
    for (int attempt = 0; attempt < 100 && handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = info.path() + u"/."_qs + name + u'.' + randomSuffix();
        handle = CreateFileW(nativePath(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    if (handle == INVALID_HANDLE_VALUE)
        return systemError(u"write"_qs, temporary, int(GetLastError()));
    if (auto error = finishFile(handle, temporary, bytes)) {
        DeleteFileW(nativePath(temporary).c_str());
        return error;
    }
    reachStep();
    if (auto error = renamePath(temporary, path)) {
        DeleteFileW(nativePath(temporary).c_str());
        return error;
    }
    return syncFolder(info.path());
}

std::optional<QString> syncFolder(const QString &path)
{
    // Names are made durable by the renames themselves (MOVEFILE_WRITE_THROUGH); what is
    // left is to say whether the folder is there.
    const HANDLE handle = CreateFileW(nativePath(path).c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return systemError(u"sync"_qs, path, int(GetLastError()));
    BY_HANDLE_FILE_INFORMATION info{};
    const bool folder = GetFileInformationByHandle(handle, &info) &&
                        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(handle);
    if (!folder)
        return systemError(u"sync"_qs, path, ERROR_DIRECTORY);
    if (observeSync(path, -1))
        return systemError(u"sync"_qs, path, kInjectedError);
    return std::nullopt;
}

std::optional<QString> renamePath(const QString &from, const QString &to)
{
    // A folder is moved to a free name only: replacing applies to files.
    const DWORD attributes = GetFileAttributesW(nativePath(from).c_str());
    const bool folder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (folder ? 0 : MOVEFILE_REPLACE_EXISTING);
    if (observeRename(from, to))
        SetLastError(DWORD(kInjectedError));
    else if (MoveFileExW(nativePath(from).c_str(), nativePath(to).c_str(), flags))
        return std::nullopt;
    return QStringLiteral("cannot rename %1 to %2: %3")
        .arg(from, to, systemErrorText(int(GetLastError())));
}

std::optional<QString> removeFile(const QString &path)
{
    if (observeRemoval(path))
        return systemError(u"remove"_qs, path, kInjectedError);
    if (!DeleteFileW(nativePath(path).c_str()))
        return systemError(u"remove"_qs, path, int(GetLastError()));
    return std::nullopt;
}

} // namespace platform
