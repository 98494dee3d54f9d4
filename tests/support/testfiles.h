// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace testsupport {

// Writes bytes to path, creating the folders on the way; fails the calling test through
// QTest when the file cannot be written.
bool writeFile(const QString &path, const QByteArray &bytes);

QByteArray readFile(const QString &path);

// One whole record of the settings file: the text's 16-bit little-endian length, the text,
// zero filler to 128 bytes.
QByteArray settingsRecord(QByteArrayView text);

// Every entry below folder, hidden ones and links too, as "relative path size", sorted: two
// listings are equal while nothing in the folder was made, removed, grown or shrunk.
QStringList listTree(const QString &folder);

// Whether this user writes what its permissions forbid (the superuser on POSIX): a file it
// has made read-only is opened for writing all the same. Tests of a read-only file skip then.
bool writesReadOnlyFiles();

// Whether this user makes files in a folder it has made read-only (the superuser on POSIX,
// everyone on Windows, where a folder's read-only mark does not keep files out).
bool writesIntoReadOnlyFolders();

} // namespace testsupport
