// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <span>

namespace store {

// The 36 symbol cells: texts that 36 codes of the text code stand for (Windows-1256 bytes).
using SymbolCells = std::array<QByteArray, 36>;
// The 21 tag cells: the tags that are bracketed in a shown definition (Windows-1256 bytes).
using TagCells = std::array<QByteArray, 21>;

// Loads a start-up table: line k of the file goes, whole and unchanged, into cells[k - 1],
// for as many lines as there are cells. A missing or unreadable file changes nothing; a
// shorter file fills the cells of the lines it has and leaves the rest as they were; lines
// past the last cell are not read, and a line is taken up to platform::caps::kTableLine bytes.
// Returns the number of cells filled.
int loadTable(const QString &path, std::span<QByteArray> cells);

} // namespace store
