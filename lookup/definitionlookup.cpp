// SPDX-License-Identifier: GPL-3.0-or-later
#include "definitionlookup.h"

#include "lookup/searchstep.h"
#include "lookup/tagbracketing.h"

#include "platform/linereader.h"
#include "store/datafiles.h"
#include "store/letterbases.h"
#include "store/textcode.h"

namespace lookup {

static_assert(platform::caps::kDefinitions.line == 32 * platform::caps::MiB,
              "kCutNote names the line cap");
static_assert(platform::caps::kDefinitions.line % 4 == 0, "a cut keeps whole code groups");

namespace {

struct EntryLine
{
    QByteArray text;
    bool cut = false;
    // Its trimmed length is not a multiple of four.
    bool damaged = false;
};

// Reads line `line` (0-based) of a definitions file; std::nullopt when the file cannot be
// opened or ends before that line. A line beyond the cap is cut at the last whole code
// group within it; whether it is damaged is told by the whole line, not by what the cap
// leaves of it.
std::optional<EntryLine> readEntryLine(const QString &path, qint64 line)
{
    auto reader = platform::LineReader::open(path, platform::caps::kDefinitions);
    if (!reader)
        return std::nullopt;
    if (line > 0 && reader->skipLines(line) < line)
        return std::nullopt;
    std::optional<QByteArray> text = reader->readLine();
    if (!text)
        return std::nullopt;
    EntryLine entry{std::move(*text), reader->lastLineCut()};
    entry.damaged = trimSpaces(reader->lastLineWhole()).size() % 4 != 0;
    if (entry.cut)
        entry.text.chop(trimSpaces(entry.text).size() % 4);
    return entry;
}

} // namespace

qint64 definitionLine(qint32 entryIndex, Mode mode)
{
    if (mode == Mode::Words && entryIndex >= store::kSecondFileBoundary)
        return qint64(entryIndex) - store::kSecondFileBoundary;
    return std::max<qint64>(entryIndex, 0);
}

LookupOutcome lookUpDefinition(const SearchState &state, const store::DataFolder &data, Mode mode,
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
        mode == Mode::Words ? data.definitions(state.stem) : data.idiomDefinitions();
    const std::optional<EntryLine> line =
        readEntryLine(path, definitionLine(state.entryIndex.value_or(0), mode));

    outcome.definitionShown = true;
    if (line && line->damaged)
        return outcome; // a damaged entry: an empty box, nothing else changes
    const QByteArray entry = line ? line->text : QByteArray();

    // The untrimmed line is decoded: spaces in front shift its groups.
    outcome.definition = bracketTags(store::decode(entry, symbols), tags);
    if (line && line->cut) {
        outcome.definition += kCutNote;
        outcome.cut = true;
    }
    outcome.finished = true;
    outcome.entryRead = line.has_value() && !line->text.isEmpty();
    return outcome;
}

} // namespace lookup
