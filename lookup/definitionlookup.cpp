#include "definitionlookup.h"

#include "lookup/searchstep.h"
#include "lookup/tagbracketing.h"

#include "platform/linereader.h"
#include "platform/paths.h"
#include "store/letterbases.h"
#include "store/textcode.h"

namespace lookup {

namespace {

// Reads line `line` (0-based) of a definitions file; std::nullopt when the file cannot be
// opened or ends before that line.
std::optional<QByteArray> readEntryLine(const QString &path, qint64 line)
{
    auto reader = platform::LineReader::open(path);
    if (!reader)
        return std::nullopt;
    if (line > 0 && reader->skipLines(line) < line)
        return std::nullopt;
    return reader->readLine();
}

} // namespace

qint64 definitionLine(qint32 entryIndex, Mode mode)
{
    if (mode == Mode::Words && entryIndex >= store::kSecondFileBoundary)
        return qint64(entryIndex) - store::kSecondFileBoundary;
    return std::max<qint64>(entryIndex, 0);
}

LookupOutcome lookUpDefinition(const SearchState &state, const QString &programFolder, Mode mode,
                               QByteArrayView shownText, const store::SymbolCells &symbols,
                               const store::TagCells &tags)
{
    LookupOutcome outcome;
    if (mode == Mode::Words && state.stem.isEmpty()) {
        // No word found since start: nothing is read, the box stays hidden.
        outcome.definition = bracketTags(shownText, tags);
        outcome.finished = true;
        return outcome;
    }

    if (mode == Mode::Idioms && state.wholeListShown() && !state.matchedSinceSwitch) {
        // The whole idiom list stands and no idiom has been found since the switch: the
        // entry index names none of them, and the caption is empty. So is the definition.
        outcome.definitionShown = true;
        outcome.finished = true;
        return outcome;
    }

    const QString path =
        mode == Mode::Words
            ? platform::dataPath(programFolder, QStringLiteral("\\source\\") +
                                                    QString::fromLatin1(state.stem) +
                                                    QLatin1String(".dll"))
            : platform::dataPath(programFolder, u"\\source\\5.dll");
    const std::optional<QByteArray> line =
        readEntryLine(path, definitionLine(state.entryIndex.value_or(0), mode));

    outcome.definitionShown = true;
    const QByteArray entry = line.value_or(QByteArray());
    if (trimSpaces(entry).size() % 4 != 0)
        return outcome; // a damaged entry: an empty box, nothing else changes

    // The untrimmed line is decoded: spaces in front shift its groups.
    outcome.definition = bracketTags(store::decode(entry, symbols), tags);
    outcome.finished = true;
    outcome.entryRead = line.has_value() && !line->isEmpty();
    return outcome;
}

} // namespace lookup
