// SPDX-License-Identifier: GPL-3.0-or-later
#include "searchstep.h"

#include "platform/linereader.h"
#include "store/letterbases.h"

namespace lookup {

namespace {

QByteArray searchKey(QByteArrayView searchText)
{
    return QByteArray("  ") + searchText.toByteArray();
}

// The lines of the list file that the list shows for a match on line `line`: from ten lines
// above it on, 24 lines. With a heading item (words mode) a match in the first ten lines
// shows the heading in place of line 0. A missing file, or one that ends early, gives fewer.
QList<QByteArray> listWindow(const store::DataFolder &data, const std::optional<QString> &path,
                             qint64 line, const std::optional<QByteArray> &heading)
{
    QList<QByteArray> items;
    const bool headed = heading && line < kLinesAboveMatch;
    if (headed)
        items.append(*heading);
    const std::optional<QByteArray> text = path ? data.list(*path) : std::nullopt;
    if (!text)
        return items;
    auto reader = platform::LineReader::overText(*text, platform::caps::kList);
    reader.skipLines(std::max<qint64>(line - kLinesAboveMatch, 0));
    if (headed)
        reader.skipLine();
    while (items.size() < kListWindow) {
        std::optional<QByteArray> item = reader.readLine();
        if (!item)
            break;
        items.append(*item);
    }
    return items;
}

// The row of a window built for a match on line `line` that holds that line.
std::optional<int> rowOfMatch(const QList<QByteArray> &items, qsizetype line)
{
    const qsizetype row = std::min<qsizetype>(line, kLinesAboveMatch);
    if (row < items.size())
        return int(row);
    return std::nullopt;
}

// Words mode's first step: takes the initial of a non-empty search text, loading its letter
// index when it is new. false when the initial is refused; the state then keeps the earlier
// initial.
bool acceptInitial(SearchState &state, const store::DataFolder &data, QByteArrayView searchText)
{
    if (searchText.isEmpty())
        return true;
    const QByteArray initial = searchText.first(1).toByteArray();
    if (initial != state.loadedInitial) {
        std::optional<store::IndexText> index;
        if (const std::optional<QString> path = data.letterIndex(initial))
            index = data.index(*path);
        if (!index) {
            state.currentInitial = state.loadedInitial;
            return false;
        }
        state.index = std::move(*index);
        state.loadedInitial = initial;
    }
    state.currentInitial = initial;
    state.typedInitial = initial;
    return true;
}

// The search of both modes: the first place in the loaded index where two spaces and the
// text stand, ignoring case. Gives the caption there (captionLength characters of the index
// from the match on) and the matched line; std::nullopt leaves everything as it was.
struct Match
{
    QByteArray caption;
    qsizetype line;
};

std::optional<Match> findMatch(const SearchState &state, QByteArrayView searchText,
                               qsizetype captionLength)
{
    const qsizetype position = state.index.find(searchKey(searchText));
    if (position < 0)
        return std::nullopt;
    return Match{state.index.text().mid(position, captionLength), state.index.lineOf(position)};
}

StepOutcome wordsStep(SearchState &state, const store::DataFolder &data, QByteArrayView searchText)
{
    StepOutcome outcome;
    const std::optional<Match> match = findMatch(state, searchText, kWordCaptionLength);
    if (!match)
        return outcome;
    outcome.matched = true;
    outcome.caption = match->caption;
    const qsizetype line = match->line;

    const QByteArray &initial = state.currentInitial;
    if (initial.size() == 1) {
        const char letter = initial.front() >= 'A' && initial.front() <= 'Z'
                                ? char(initial.front() + ('a' - 'A'))
                                : initial.front();
        if (const std::optional<store::LetterBase> row = store::letterBase(letter)) {
            state.entryIndex = qint32(line + row->base);
            state.stem = row->stem;
        }
    }
    if (!state.keepList) {
        outcome.list = listWindow(data, data.letterList(initial), line, QByteArray("  ") + initial);
        outcome.matchRow = rowOfMatch(*outcome.list, line);
    }
    return outcome;
}

StepOutcome idiomsStep(SearchState &state, const store::DataFolder &data, QByteArrayView searchText)
{
    StepOutcome outcome;
    const std::optional<Match> match = findMatch(state, searchText, kIdiomCaptionLength);
    if (!match)
        return outcome;
    outcome.matched = true;
    outcome.caption = match->caption;
    const qsizetype line = match->line;
    state.entryIndex = qint32(line);
    if (!state.keepList && !state.wholeListShown()) {
        outcome.list = listWindow(data, data.idiomList(), line, std::nullopt);
        outcome.matchRow = rowOfMatch(*outcome.list, line);
    }
    return outcome;
}

} // namespace

StepOutcome searchStep(SearchState &state, const store::DataFolder &data, Mode mode,
                       QByteArrayView searchText)
{
    StepOutcome outcome;
    if (mode == Mode::Words) {
        // A refused initial ends the step before the keep-list flag is cleared; the click
        // that set the flag clears it (endListClick).
        if (!acceptInitial(state, data, searchText))
            return outcome;
        outcome = wordsStep(state, data, searchText);
    } else {
        outcome = idiomsStep(state, data, searchText);
    }
    state.keepList = false;
    if (outcome.matched)
        state.matchedSinceSwitch = true;
    return outcome;
}

std::optional<QByteArray> listClick(SearchState &state, int row, QByteArrayView itemText)
{
    if (row < 0)
        return std::nullopt;
    if (row > 0 && row < kListWindow - 1)
        state.keepList = true;
    if (row < kListWindow || state.wholeListShown())
        return trimSpaces(itemText).toByteArray();
    return std::nullopt;
}

void endListClick(SearchState &state)
{
    state.keepList = false;
}

QByteArrayView trimSpaces(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ')
        ++begin;
    while (end > begin && text[end - 1] == ' ')
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace lookup
