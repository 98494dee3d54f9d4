// SPDX-License-Identifier: GPL-3.0-or-later
// The search step over any index text, with the same text as its list file: the match is
// the first place where two spaces and the search text stand (ignoring case), and the
// caption, the line, the entry index and the list window all follow from that place.
#include "lookup/searchstep.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/letterbases.h"

#include "fuzzinput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

namespace datafiles = store::datafiles;

const QString &programFolder()
{
    static const QString folder = [] {
        const QString path = QDir::tempPath() + QStringLiteral("/vellumstack-fuzz-search-") +
                             QString::number(QCoreApplication::applicationPid());
        QDir().mkpath(store::DataFolder(path).listFolder());
        return path;
    }();
    return folder;
}

// Lines as the step counts them: CR LF, lone LF and lone CR each end one.
QList<QByteArray> linesOf(QByteArrayView text, bool keepEmptyLast)
{
    QList<QByteArray> lines{QByteArray()};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.append(QByteArray());
        } else {
            lines.back().append(c);
        }
    }
    if (!keepEmptyLast && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

qsizetype plainFind(QByteArrayView text, QByteArrayView key)
{
    const QByteArray foldedKey = store::IndexText::fold(key);
    for (qsizetype i = 0; i + key.size() <= text.size(); ++i) {
        if (store::IndexText::fold(text.sliced(i, key.size())) == foldedKey)
            return i;
    }
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input =
        fuzzinput::split(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), 1);
    if (input.cells.isEmpty() || input.cells.front().isEmpty())
        return 0;
    const lookup::Mode mode =
        input.cells.front().front() == 'w' ? lookup::Mode::Words : lookup::Mode::Idioms;
    const QByteArray searchText = input.cells.front().mid(1);
    const QByteArrayView indexText = input.text;

    lookup::SearchState state;
    state.index = store::IndexText(indexText.toByteArray());
    const store::DataFolder folder(programFolder());
    QString listPath = folder.idiomList();
    if (mode == lookup::Mode::Words && !searchText.isEmpty()) {
        const std::optional<QString> letterList = folder.letterList(searchText);
        if (!letterList)
            return 0;
        // The initial's index is the one already loaded: no index file is read.
        state.loadedInitial = searchText.first(1);
        listPath = *letterList;
    }
    {
        QFile list(listPath);
        fuzzinput::check(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        list.write(indexText.data(), indexText.size());
    }

    const lookup::StepOutcome outcome = lookup::searchStep(state, folder, mode, searchText);
    QFile::remove(listPath);
    fuzzinput::check(!state.keepList);

    if (mode == lookup::Mode::Words && searchText.isEmpty()) {
        // No initial accepted yet: whatever is found, no letter owns it.
        fuzzinput::check(!state.entryIndex);
        return 0;
    }
    const qsizetype position = plainFind(indexText, QByteArray("  ") + searchText);
    fuzzinput::check(outcome.matched == (position >= 0));
    if (position < 0) {
        fuzzinput::check(!outcome.caption && !outcome.list && !state.entryIndex);
        return 0;
    }
    const qsizetype captionLength = mode == lookup::Mode::Words ? 30 : 100;
    fuzzinput::check(outcome.caption == indexText.sliced(position).first(
                                            std::min(captionLength, indexText.size() - position)));
    const qsizetype line = linesOf(indexText.first(position), true).size() - 1;

    const QList<QByteArray> listLines = linesOf(indexText, false);
    QList<QByteArray> window;
    const qsizetype first = std::max<qsizetype>(line - 10, 0);
    if (mode == lookup::Mode::Words) {
        const char lower = char(QChar::toLower(char16_t(uchar(searchText.front()))));
        if (const auto row =
                store::letterBase(searchText.front() <= 'Z' ? lower : searchText.front()))
            fuzzinput::check(state.entryIndex == qint32(line + row->base));
        else
            fuzzinput::check(!state.entryIndex);
        if (line < 10) {
            window << QByteArray("  ") + searchText.first(1);
            window += listLines.mid(1, 23);
        } else {
            window = listLines.mid(first, 24);
        }
    } else {
        fuzzinput::check(state.entryIndex == qint32(line));
        window = listLines.mid(first, 24);
    }
    fuzzinput::check(outcome.list == window);
    return 0;
}
