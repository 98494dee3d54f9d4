// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

class QFile;

namespace store {

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
    // The same, of a file already opened.
    static IndexText read(QFile &file);

    const QByteArray &text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }

    // The 0-based position of the first occurrence of key, ignoring case the way Windows-1252
    // text does (a-z, and the accented letters with their capitals); -1 when there is none.
    qsizetype find(QByteArrayView key) const;

    // The 0-based number of the line that holds position.
    qsizetype lineOf(qsizetype position) const;

    // The case folding used by find.
    static QByteArray fold(QByteArrayView text);

    // A line of the text without its leading spaces and its line break: position and size in
    // the text (and the same in the folded copy).
    static constexpr qsizetype kLongLine = 128;
    struct Line
    {
        qint32 start;
        qint32 size;
    };
    // Every line that holds more than spaces, the shortest first and in the order of the text
    // among lines of one length, lines of kLongLine characters or more last, all in the order
    // of the text: where the close words of a text are sought.
    const QList<Line> &linesByLength() const { return m_linesByLength; }
    QByteArrayView foldedLine(Line line) const
    {
        return QByteArrayView(m_folded).sliced(line.start, line.size);
    }
    QByteArrayView line(Line line) const
    {
        return QByteArrayView(m_text).sliced(line.start, line.size);
    }

private:
    QByteArray m_text;
    QByteArray m_folded;
    // Shared between copies, as the two texts are: a copy costs nothing.
    QList<qsizetype> m_lineStarts;
    QList<Line> m_linesByLength;
    // The folded key searched last and where it was found (-1: nowhere).
    struct LastSearch
    {
        QByteArray key;
        qsizetype found;
    };
    mutable std::optional<LastSearch> m_lastSearch;
};

// The memory a kept index holds, for KeptFiles.
inline qsizetype keptBytes(const IndexText &index)
{
    return index.text().size() * 2 +
           index.linesByLength().size() * qsizetype(sizeof(IndexText::Line) + sizeof(qsizetype));
}

} // namespace store
