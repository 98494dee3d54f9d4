// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordnet.h"

#include "platform/linereader.h"
#include "platform/regularfile.h"

#include <algorithm>
#include <functional>
#include <limits>

namespace dataset::wordnet {

namespace {

// The blank-separated fields of a line, up to max of them; the last one holds the rest.
QList<QByteArrayView> fields(QByteArrayView line, int max)
{
    QList<QByteArrayView> parts;
    qsizetype i = 0;
    while (i < line.size() && parts.size() < max) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        if (i == line.size())
            break;
        if (parts.size() == max - 1) {
            parts << line.sliced(i).trimmed();
            break;
        }
        qsizetype end = line.indexOf(' ', i);
        if (end < 0)
            end = line.size();
        parts << line.sliced(i, end - i);
        i = end;
    }
    return parts;
}

bool allDigits(QByteArrayView text)
{
    return !text.isEmpty() && text.size() <= 12 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Every line of a file to read, the licence header (lines that begin with two blanks) left
// out; read says whether a line is of the file's kind.
std::optional<QString> readLines(const QString &path, const QString &kind,
                                 const std::function<bool(QByteArrayView)> &read)
{
    // The sense counts, index and exception lines are short: a long one is no such line.
    constexpr platform::FileCap cap{platform::caps::kWordNetData.size, 64 * platform::caps::KiB};
    auto reader = platform::LineReader::open(path, cap);
    if (!reader)
        return QStringLiteral("%1: cannot read: %2")
            .arg(path, platform::refusalReason(path, cap.size));
    qint64 lineNumber = 0;
    while (const auto line = reader->readLine()) {
        ++lineNumber;
        if (!reader->lastLineCut() && (line->trimmed().isEmpty() || line->startsWith("  ")))
            continue;
        if (reader->lastLineCut() || !read(*line))
            return QStringLiteral("%1 line %2: not a WordNet %3 line")
                .arg(path)
                .arg(lineNumber)
                .arg(kind);
    }
    return std::nullopt;
}

} // namespace

Database read(const QString &dataPath)
{
    Database database;
    const qint64 cap = platform::caps::kWordNetData.size;
    const std::optional<QByteArray> file = platform::readRegularFile(dataPath, cap);
    if (!file) {
        database.error = QStringLiteral("%1: cannot read: %2")
                             .arg(dataPath, platform::refusalReason(dataPath, cap));
        return database;
    }
    const QByteArray &bytes = *file;
    qint64 lineNumber = 0;
    for (qsizetype start = 0, end = 0; start < bytes.size(); start = end + 1) {
        end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = QByteArrayView(bytes).sliced(start, end - start);
        ++lineNumber;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (line.startsWith("  ")) {
            // "  12 text  ": the number and the blanks around it are the header's own.
            QByteArrayView text = line.trimmed();
            const qsizetype space = text.indexOf(' ');
            text = space < 0 ? QByteArrayView() : text.sliced(space + 1);
            database.licence += text.trimmed().toByteArray() + '\n';
            continue;
        }
        const qsizetype bar = line.indexOf(" | ");
        const QList<QByteArray> fields =
            line.first(bar < 0 ? line.size() : bar).toByteArray().split(' ');
        bool countOk = false;
        const int count = fields.size() > 3 ? fields[3].toInt(&countOk, 16) : 0;
        if (bar < 0 || !countOk || fields[2].size() != 1 || fields.size() < 4 + 2 * count) {
            database.error =
                QStringLiteral("%1 line %2: not a WordNet data line").arg(dataPath).arg(lineNumber);
            database.senses.clear();
            return database;
        }
        const QByteArray gloss = line.sliced(bar + 3).trimmed().toByteArray();
        for (int w = 0; w < count; ++w) {
            QByteArray lemma = fields[4 + 2 * w];
            if (lemma.endsWith(')')) {
                const qsizetype open = lemma.lastIndexOf('(');
                if (open > 0)
                    lemma.truncate(open);
            }
            database.senses << Sense{lemma, fields[2][0], gloss};
        }
    }
    return database;
}

QByteArray lemmaOf(QByteArrayView headword)
{
    QByteArray lemma = headword.toByteArray().toLower();
    lemma.replace(' ', '_');
    return lemma;
}

qint64 Usage::frequencyOf(QByteArrayView headword) const
{
    return frequency.value(lemmaOf(headword));
}

bool Usage::knows(QByteArrayView headword) const
{
    const QByteArray lemma = lemmaOf(headword);
    return lemmas.contains(lemma) || frequency.contains(lemma);
}

Usage readUsage(const QString &senseCounts, const QStringList &indexes,
                const QStringList &exceptions)
{
    Usage usage;
    constexpr qint64 kMost = std::numeric_limits<qint64>::max();
    // "use%2:34:01:: 1 603": the lemma is the sense key up to '%'.
    if (!senseCounts.isEmpty())
        usage.error = readLines(senseCounts, u"sense count"_qs, [&](QByteArrayView line) {
            const QList<QByteArrayView> parts = fields(line, 4);
            if (parts.size() != 3 || !allDigits(parts[1]) || !allDigits(parts[2]))
                return false;
            const qsizetype percent = parts[0].indexOf('%');
            if (percent <= 0)
                return false;
            qint64 &sum = usage.frequency[lemmaOf(parts[0].first(percent))];
            const qint64 count = parts[2].toLongLong();
            sum = count > kMost - sum ? kMost : sum + count;
            return true;
        });
    // "use n 7 4 @ ~ + ; 7 3 00947128 ...": the lemma and its part of speech.
    for (qsizetype i = 0; !usage.error && i < indexes.size(); ++i) {
        usage.error = readLines(indexes[i], u"index"_qs, [&](QByteArrayView line) {
            const QList<QByteArrayView> parts = fields(line, 3);
            if (parts.size() < 3 || parts[1].size() != 1 ||
                !QByteArrayView("nvar").contains(parts[1][0]))
                return false;
            usage.lemmas.insert(lemmaOf(parts[0]));
            return true;
        });
    }
    // "used use": the inflected form and its lemmas.
    for (qsizetype i = 0; !usage.error && i < exceptions.size(); ++i) {
        usage.error = readLines(exceptions[i], u"exception"_qs, [&](QByteArrayView line) {
            const QList<QByteArrayView> parts = fields(line, 2);
            if (parts.size() != 2)
                return false;
            usage.lemmas.insert(lemmaOf(parts[0]));
            return true;
        });
    }
    if (usage.error) {
        usage.frequency.clear();
        usage.lemmas.clear();
    }
    return usage;
}

} // namespace dataset::wordnet
