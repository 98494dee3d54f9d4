#include "wordnet.h"

#include "platform/regularfile.h"

namespace dataset::wordnet {

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

} // namespace dataset::wordnet
