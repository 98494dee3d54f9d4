// SPDX-License-Identifier: GPL-3.0-or-later
// The tag bracketing over any definition text and any 21 tags, against a plain scan that
// does what the bracketing promises: leftmost occurrence first, no overlap, each tag on the
// text the tags before it left.
#include "lookup/tagbracketing.h"

#include "fuzzinput.h"

#include <cstddef>
#include <cstdint>

namespace {

QByteArray plainScan(QByteArrayView text, const QByteArray &tag)
{
    if (tag.isEmpty())
        return text.toByteArray();
    const QByteArray form = lookup::bracketedForm(tag);
    QByteArray out;
    qsizetype kept = 0; // text before this is in out
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] == tag.front() && text.sliced(i).startsWith(tag)) {
            out += text.sliced(kept, i - kept);
            out += form;
            i += tag.size();
            kept = i;
        } else {
            ++i;
        }
    }
    out += text.sliced(kept);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input =
        fuzzinput::split(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), 21);
    store::TagCells tags;
    for (qsizetype k = 0; k < input.cells.size(); ++k)
        tags[size_t(k)] = input.cells[k];

    // The limit, lowered from the window's to the longest input, is reached by a few
    // doublings of a short text, and each input costs little.
    constexpr qsizetype limit = qsizetype(1) << 12;
    const QByteArray bracketed = lookup::bracketTags(input.text, tags, limit);
    fuzzinput::check(bracketed.size() <= std::max(input.text.size(), limit));

    QByteArray expected = input.text.toByteArray();
    for (const QByteArray &tag : tags) {
        const QByteArray next = plainScan(expected, tag);
        if (next.size() > std::max(expected.size(), limit))
            continue; // too long to bracket: the text stays as it was
        expected = next;
    }
    fuzzinput::check(bracketed == expected);
    return 0;
}
