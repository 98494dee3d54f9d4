// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/fileidentity.h"
#include "platform/regularfile.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>

namespace store {

using FileIdentity = platform::FileIdentity;

// The memory a kept text holds.
inline qsizetype keptBytes(const QByteArray &text)
{
    return text.size();
}

// Files read so far, each kept in the form its reader made of it for as long as the file is
// unchanged. Every load opens the file as it is now (through platform::openRegularFile, so a
// refused file is a missing one) and closes it again; a kept form is given only when that
// file is the one it was made from, and a file that was replaced or written to is read
// afresh. What is kept never exceeds the budget; a larger form is made and not kept.
//
// Parsed is a value that is cheap to copy (implicitly shared), with keptBytes(const Parsed &)
// telling the memory it holds.
template <typename Parsed> class KeptFiles
{
public:
    // Far above what the files of a real data set hold together.
    static constexpr qsizetype kBytes = qsizetype(64) << 20;

    KeptFiles() = default;
    explicit KeptFiles(qsizetype budget) : m_budget(budget) {}

    // The form read(file) makes of the file at path, within maxSize bytes.
    template <typename Read>
    std::optional<Parsed> load(const QString &path, qint64 maxSize, Read read)
    {
        const std::unique_ptr<QFile> file = platform::openRegularFile(path, maxSize);
        const std::optional<FileIdentity> identity = file ? FileIdentity::of(*file) : std::nullopt;
        if (const auto kept = m_kept.constFind(path); kept != m_kept.constEnd()) {
            if (identity && kept->identity == *identity)
                return kept->parsed;
            m_bytes -= keptBytes(kept->parsed);
            m_kept.erase(kept);
        }
        if (!file)
            return std::nullopt;
        Parsed parsed = read(*file);
        const qsizetype bytes = keptBytes(parsed);
        if (identity && bytes <= m_budget) {
            // When the new one does not fit beside them, all that is kept goes.
            if (m_bytes + bytes > m_budget) {
                m_kept.clear();
                m_bytes = 0;
            }
            m_kept.insert(path, Kept{*identity, parsed});
            m_bytes += bytes;
        }
        return parsed;
    }

private:
    struct Kept
    {
        FileIdentity identity;
        Parsed parsed;
    };
    qsizetype m_budget = kBytes;
    QHash<QString, Kept> m_kept;
    qsizetype m_bytes = 0;
};

} // namespace store
