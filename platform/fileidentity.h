// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

class QFile;

namespace platform {

// What tells one state of a file from another: the same file (device and inode; on Windows
// the volume and the file index), of the same size, with the same times of change of its
// content and of its status, in nanoseconds.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modified = 0;
    qint64 changed = 0;
    bool operator==(const FileIdentity &) const = default;

    // std::nullopt when the status of the file opened by openRegularFile cannot be read.
    static std::optional<FileIdentity> of(const QFile &file);
};

} // namespace platform
