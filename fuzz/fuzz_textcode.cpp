// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder of the text code over any encoded line and any 36 symbol cells, and the
// encoder's promise that decoding its line gives back every byte it could encode.
#include "fuzzinput.h"

#include "store/textcode.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto input =
        fuzzinput::split(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), 36);
    store::SymbolCells cells;
    for (qsizetype k = 0; k < input.cells.size(); ++k)
        cells[size_t(k)] = input.cells[k];

    const QByteArray decoded = store::decode(input.text, cells);
    qsizetype longestCell = 1;
    for (const QByteArray &cell : cells)
        longestCell = std::max(longestCell, cell.size());
    // One unit per group of four, at most the longest cell each.
    fuzzinput::check(decoded.size() <= (input.text.size() + 3) / 4 * longestCell);

    // The encoder takes the text as a definition: every byte it keeps comes back.
    const store::Encoded encoded = store::encode(input.text, cells);
    fuzzinput::check(encoded.line.size() % 4 == 0);
    const QByteArray roundTrip = store::decode(encoded.line, cells);
    fuzzinput::check(roundTrip.size() + encoded.unencodable.size() == input.text.size());
    if (encoded.unencodable.isEmpty())
        fuzzinput::check(roundTrip == input.text);
    return 0;
}
