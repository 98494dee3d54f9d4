// SPDX-License-Identifier: GPL-3.0-or-later
#include "modes.h"

#include "lookup/searchstep.h"
#include "platform/linereader.h"
#include "store/datafiles.h"
#include "store/letterbases.h"

namespace lookup {

namespace datafiles = store::datafiles;

void loadIdiomIndex(SearchState &state, const QString &programFolder)
{
    state.matchedSinceSwitch = false;
    if (std::optional<IndexText> index =
            state.indexes.load(datafiles::path(programFolder, datafiles::idiomIndex()),
                               platform::caps::kIndex.size, &IndexText::read))
        state.index = std::move(*index);
}

void loadWordsIndex(SearchState &state, const QString &programFolder)
{
    state.wholeList = WholeList::NotAsked;
    state.matchedSinceSwitch = false;
    std::optional<IndexText> index;
    if (!state.typedInitial.isEmpty()) {
        index = state.indexes.load(
            datafiles::path(programFolder,
                            datafiles::letterIndex(initialFileName(state.typedInitial))),
            platform::caps::kIndex.size, &IndexText::read);
    }
    if (index) {
        state.index = std::move(*index);
        return;
    }
    // Nothing to go back to: forget the index, so the next initial typed loads its own.
    state.index = IndexText();
    state.loadedInitial.clear();
}

QList<QByteArray> showWholeIdiomList(SearchState &state, const QString &programFolder)
{
    state.wholeList = WholeList::Shown;
    QList<QByteArray> items;
    if (auto reader = platform::LineReader::open(
            datafiles::path(programFolder, datafiles::idiomList()), platform::caps::kList)) {
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
