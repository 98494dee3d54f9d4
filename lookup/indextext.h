// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

struct stat;

namespace lookup {

// The plain text of a loaded index file (the hidden rich-text box of the main window), with
// what searching it needs: a case-folded copy of the same length, so that a position found in
// the copy is the position in the text, and the start of every line, so that a position
// turns into its line number without a scan.
//
// Lines are counted from 0 by line breaks alone: CR LF, a lone LF and a lone CR each end one.
class IndexText
{
public:
    IndexText() = default;
    explicit IndexText(QByteArray plainText);

    // The plain text of an index file: RTF documents are read as a rich-text box shows them,
    // anything else as plain text. std::nullopt when the file cannot be read or is refused
    // (not a regular file, or beyond platform::caps::kIndex).
    static std::optional<IndexText> load(const QString &path);

    const QByteArray &text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }

    // The 0-based position of the first occurrence of key, ignoring case the way Windows-1252
    // text does (a-z, and the accented letters with their capitals); -1 when there is none.
    qsizetype find(QByteArrayView key) const;

    // The 0-based number of the line that holds position.
    qsizetype lineOf(qsizetype position) const;

    // The case folding used by find.
    static QByteArray fold(QByteArrayView text);

private:
    QByteArray m_text;
    QByteArray m_folded;
    // Shared between copies, as the two texts are: a copy costs nothing.
    QList<qsizetype> m_lineStarts;
};

// The parsed indexes of the files loaded so far, each kept for as long as its file is
// unchanged: the same file (device and inode), of the same size, with the same times of
// change of its content and of its status. Going back to an initial then parses nothing,
// and a file that was replaced or written to is read afresh. The texts kept never exceed
// kBytes together; a larger index is parsed and not kept.
class IndexCache
{
public:
    static constexpr qsizetype kBytes = qsizetype(64) << 20;

    // As IndexText::load, for the file at path as it is now.
    std::optional<IndexText> load(const QString &path);

private:
    struct Identity
    {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = -1;
        qint64 modified = 0; // nanoseconds
        qint64 changed = 0;
        bool operator==(const Identity &) const = default;
    };
    static Identity identityOf(const struct stat &status);
    struct Kept
    {
        Identity identity;
        IndexText index;
    };
    QHash<QString, Kept> m_kept;
    qsizetype m_bytes = 0;
};

} // namespace lookup
