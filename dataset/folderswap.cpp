// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderswap.h"

#include "platform/atomicwrite.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <utility>

namespace dataset {

namespace {

using platform::reachStep;
using platform::removeAll;
using platform::renamePath;
using platform::syncFolder;

constexpr char kJournalName[] = ".swap-journal";
constexpr char kJournalHeader[] = "vellumstack folder swap 1";
// A journal is a few short lines; anything longer is not one.
constexpr qint64 kJournalCap = 4096;

// A name of one entry of the folder: no separator, not "." or "..".
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

struct Journal
{
    QString staging;
    QStringList names;
};

// Reads the journal without following a link and without blocking on a device.
std::optional<QString> readJournal(const QString &path, Journal &journal)
{
    const std::optional<QByteArray> read =
        QFileInfo(path).isSymLink() ? std::nullopt : platform::readRegularFile(path, kJournalCap);
    if (!read)
        return QStringLiteral("%1: not a swap journal (not a small regular file)").arg(path);
    const QByteArray &bytes = *read;

    const QList<QByteArray> lines = bytes.split('\n');
    bool ended = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        const QString value = QString::fromUtf8(line.mid(line.indexOf(' ') + 1));
        if (i == 0 && line == kJournalHeader)
            continue;
        if (i > 0 && line.startsWith("staging ") && journal.staging.isEmpty() &&
            isPlainName(value)) {
            journal.staging = value;
        } else if (i > 0 && line.startsWith("name ") && isPlainName(value)) {
            journal.names << value;
        } else if (i > 0 && line == "end") {
            ended = i + 2 == lines.size() && lines.last().isEmpty();
            break;
        } else {
            return QStringLiteral("%1 line %2: not a line of a swap journal").arg(path).arg(i + 1);
        }
    }
    if (!ended || journal.staging.isEmpty() || journal.names.isEmpty())
        return QStringLiteral("%1: an incomplete swap journal").arg(path);
    return std::nullopt;
}

// Whether there is an entry of that name, a link to nothing included.
bool exists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Moves folder/name aside into the staging folder and the new one in, as far as that is
// not done yet.
std::optional<QString> swapOne(const QString &folder, const QString &staging, const QString &name)
{
    const QString target = folder + u'/' + name;
    const QString fresh = staging + u'/' + name;
    const QString old = staging + u"/old-"_qs + name;
    if (!exists(fresh)) {
        if (!exists(target))
            return QStringLiteral("cannot finish the swap of %1: neither it nor %2 exists")
                .arg(target, fresh);
        return std::nullopt; // moved in already
    }
    if (exists(target)) {
        if (exists(old))
            return QStringLiteral("cannot finish the swap of %1: both %2 and %3 exist")
                .arg(target, fresh, old);
        if (auto error = renamePath(target, old))
            return error;
        reachStep();
    }
    if (auto error = renamePath(fresh, target))
        return error;
    reachStep();
    return std::nullopt;
}

// Completes the swap the journal describes and removes the journal and the staging folder.
std::optional<QString> completeSwap(const QString &folder, const Journal &journal)
{
    const QString staging = folder + u'/' + journal.staging;
    for (const QString &name : journal.names) {
        if (auto error = swapOne(folder, staging, name))
            return error;
    }
    if (auto error = syncFolder(folder))
        return error;
    if (exists(staging)) {
        if (auto error = syncFolder(staging))
            return error;
    }
    const QString journalPath = swapJournalPath(folder);
    if (auto error = platform::removeFile(journalPath))
        return error;
    reachStep();
    if (auto error = syncFolder(folder))
        return error;
    return removeAll(staging);
}

} // namespace

QString swapJournalPath(const QString &folder)
{
    return folder + u'/' + QLatin1StringView(kJournalName);
}

bool swapInterrupted(const QString &folder)
{
    return exists(swapJournalPath(folder));
}

std::optional<QString> swapFolders(const QString &folder, const QString &staging,
                                   const QStringList &names)
{
    Journal journal{QFileInfo(staging).fileName(), names};
    if (QFileInfo(staging).absolutePath() != QFileInfo(folder).absoluteFilePath())
        return QStringLiteral("%1 does not lie in %2").arg(staging, folder);
    QByteArray text = QByteArray(kJournalHeader) + '\n';
    text += "staging " + journal.staging.toUtf8() + '\n';
    for (const QString &name : names) {
        if (!isPlainName(name))
            return QStringLiteral("cannot swap \"%1\": not a name in %2").arg(name, folder);
        text += "name " + name.toUtf8() + '\n';
    }
    text += "end\n";
    reachStep();
    if (auto error = platform::writeFileAtomically(swapJournalPath(folder), text))
        return error;
    reachStep();
    return completeSwap(folder, journal);
}

std::optional<QString> finishSwap(const QString &folder, bool *finished)
{
    if (finished)
        *finished = false;
    // A journal half-written by a writer that was killed: the swap had not begun.
    static const QRegularExpression halfWritten(u"^\\.swap-journal\\.[A-Za-z0-9]{6}$"_qs);
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        if (halfWritten.match(entry).hasMatch()) {
            if (auto error = removeAll(folder + u'/' + entry))
                return error;
        }
    }
    if (!swapInterrupted(folder))
        return std::nullopt;
    Journal journal;
    if (auto error = readJournal(swapJournalPath(folder), journal))
        return error;
    if (finished)
        *finished = true;
    return completeSwap(folder, journal);
}

std::optional<QString> FolderLock::take(const QString &folder, FolderLock *lock)
{
    QString error;
    switch (platform::FolderLock::take(folder, &lock->m_lock, &error)) {
    case platform::FolderLock::Outcome::Taken:
    case platform::FolderLock::Outcome::NoFolder:
        return std::nullopt;
    case platform::FolderLock::Outcome::HeldElsewhere:
        return QStringLiteral("another run of the builder is writing the data set in %1; "
                              "try again when it has finished")
            .arg(folder);
    case platform::FolderLock::Outcome::Failed:
        break;
    }
    return error;
}

} // namespace dataset
