// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstdlib>
#include <span>

// The layout of a fuzz input that carries table cells besides its text: the first `count`
// lines (ended by LF) are the cells, whatever follows the count-th LF is the text. An input
// with fewer lines fills the cells it has; its part after the last LF is then the text.
// The seed writer builds inputs the same way, so its seeds mean what they say.
namespace fuzzinput {

struct Split
{
    QList<QByteArray> cells;
    QByteArrayView text;
};

inline Split split(QByteArrayView input, qsizetype count)
{
    Split result;
    qsizetype from = 0;
    while (result.cells.size() < count) {
        const qsizetype lf = input.indexOf('\n', from);
        if (lf < 0)
            break;
        result.cells.append(input.sliced(from, lf - from).toByteArray());
        from = lf + 1;
    }
    result.text = input.sliced(from);
    return result;
}

inline QByteArray join(std::span<const QByteArray> cells, QByteArrayView text)
{
    QByteArray input;
    for (const QByteArray &cell : cells)
        input += cell + '\n';
    input += text;
    return input;
}

// A broken invariant is a crash the fuzzer keeps as an input.
inline void check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace fuzzinput
