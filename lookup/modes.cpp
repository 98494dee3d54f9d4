// SPDX-License-Identifier: GPL-3.0-or-later
#include "modes.h"

#include "platform/linereader.h"
#include "store/letterbases.h"

namespace lookup {

void loadIdiomIndex(SearchState &state, const store::DataFolder &data)
{
    state.matchedSinceSwitch = false;
    if (std::optional<store::IndexText> index = data.index(data.idiomIndex()))
        state.index = std::move(*index);
}

void loadWordsIndex(SearchState &state, const store::DataFolder &data)
{
    state.wholeList = WholeList::NotAsked;
    state.matchedSinceSwitch = false;
    std::optional<store::IndexText> index;
    if (const std::optional<QString> path = data.letterIndex(state.typedInitial))
        index = data.index(*path);
    if (index) {
        state.index = std::move(*index);
        return;
    }
    // Nothing to go back to: forget the index, so the next initial typed loads its own.
    state.index = store::IndexText();
    state.loadedInitial.clear();
}

QList<QByteArray> showWholeIdiomList(SearchState &state, const store::DataFolder &data)
{
    state.wholeList = WholeList::Shown;
    QList<QByteArray> items;
    if (auto reader = platform::LineReader::open(data.idiomList(), platform::caps::kList)) {
        items.reserve(store::kWholeIdiomListLines);
        while (items.size() < store::kWholeIdiomListLines) {
            std::optional<QByteArray> line = reader->readLine();
            if (!line)
                break;
            items.append(std::move(*line));
        }
    }
    // The fill counts on its own: the entry index keeps naming the last idiom found, the one
    // Label12 names, so Search still shows the definition of the entry under its caption.
    return items;
}

} // namespace lookup
