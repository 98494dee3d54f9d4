// SPDX-License-Identifier: GPL-3.0-or-later
#include "atomicwrite.h"

#include <QFile>

#include <filesystem>
#include <system_error>

namespace platform {

namespace {

StepHook g_stepHook = nullptr;
WriteObserver *g_observer = nullptr;

std::filesystem::path fileSystemPath(const QString &path)
{
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

std::optional<QString> makeFolders(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(fileSystemPath(path), error);
    if (error)
        return QStringLiteral("cannot create the folder %1: %2")
            .arg(path, QString::fromLocal8Bit(error.message().c_str()));
    return std::nullopt;
}

std::optional<QString> removeAll(const QString &path)
{
    std::error_code error;
    std::filesystem::remove_all(fileSystemPath(path), error);
    if (error)
        return QStringLiteral("cannot remove %1: %2")
            .arg(path, QString::fromLocal8Bit(error.message().c_str()));
    return std::nullopt;
}

void setWriteObserver(WriteObserver *observer)
{
    g_observer = observer;
}

bool observeSync(const QString &path, qint64 size)
{
    return g_observer && g_observer->syncing(path, size);
}

bool observeRename(const QString &from, const QString &to)
{
    return g_observer && g_observer->renaming(from, to);
}

bool observeRemoval(const QString &path)
{
    return g_observer && g_observer->removing(path);
}

void setStepHook(StepHook hook)
{
    g_stepHook = hook;
}

void reachStep()
{
    if (g_stepHook)
        g_stepHook();
}

} // namespace platform
