// SPDX-License-Identifier: GPL-3.0-or-later
#include "testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning("cannot write %s", qPrintable(path));
        return false;
    }
    return file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray settingsRecord(QByteArrayView text)
{
    QByteArray bytes;
    bytes.append(char(text.size() & 0xff));
    bytes.append(char(text.size() >> 8));
    bytes.append(text);
    bytes.append(128 - bytes.size(), '\0');
    return bytes;
}

QStringList listTree(const QString &folder)
{
    const QDir root(folder);
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries << root.relativeFilePath(info.filePath()) + u' ' + QString::number(info.size());
    }
    entries.sort();
    return entries;
}

bool writesReadOnlyFiles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("read-only"));
    if (!writeFile(path, "x") || !QFile::setPermissions(path, QFileDevice::ReadOwner))
        return false;
    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Append);
    file.close();
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return written;
}

bool writesIntoReadOnlyFolders()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("read-only"));
    if (!QDir().mkpath(folder) ||
        !QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner))
        return false;
    QFile file(folder + QStringLiteral("/x"));
    const bool written = file.open(QIODevice::WriteOnly);
    file.close();
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return written;
}

} // namespace testsupport
