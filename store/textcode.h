// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tables.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// The text code of the definitions files. An encoded line is read in groups of four
// characters from its first character on; every group yields one unit: either one fixed
// character or the current text of one symbol cell. The code table below is the only
// pairing of codes to outputs; the decoder and the data-set encoder both use it.
//
//   "9900".."9909"  the digits "0".."9"
//   "9910".."9921"  & ' ( ) , - / ; < = > ?
//   "9922"          the double quote
//   "9923", "9924"  symbol cells 35 and 36
//   "10"            space        "11" full stop     "12" colon
//   "13".."38"      "a".."z"     "39".."64" "A".."Z"
//   "65".."98"      symbol cells 1..34
//
// A two-digit code takes a whole group; its third and fourth characters are never read.
namespace store {

// What one group of an encoded line stands for.
struct CodeUnit
{
    // The fixed character, or 0 when the unit is a symbol cell.
    char character = 0;
    // 0-based symbol cell, or -1 for a fixed character.
    int cell = -1;
};

inline constexpr int kFourDigitCodes = 25;  // "9900".."9924"
inline constexpr int kTwoDigitCodes = 89;   // "10".."98"
inline constexpr int kFixedCharacters = 78; // every output that is not a symbol cell

// The unit a group stands for: four-digit codes are compared first (the whole group),
// then the two-digit codes (the group's first two characters). std::nullopt for a group
// that matches no code: it is dropped by the decoder.
std::optional<CodeUnit> unitOfGroup(QByteArrayView group);

// Whether the text code has a code of its own for the byte.
bool isFixedCharacter(char c);

// The code of a fixed character or of a symbol cell, as it is written in an encoded line:
// always four digits (a two-digit code followed by two filler digits).
std::optional<QByteArray> groupOfCharacter(char c);
QByteArray groupOfCell(int cell);

// The longest text the decoder makes. Symbol cells come from a table file of any size, so
// a long line of cell codes over long cells would otherwise ask for terabytes.
inline constexpr qsizetype kMaxDecodedLength = qsizetype(64) << 20;

// Decodes an encoded line exactly: groups of four from the first byte; four-digit codes
// "9900".."9924" first, then two-digit codes "10".."98" on the first two bytes; unmatched
// groups dropped; a symbol-cell code appends the cell's current text. Decoding ends at the
// first unit that would take the text past kMaxDecodedLength.
QByteArray decode(QByteArrayView encoded, const SymbolCells &cells);

// Encoder: inverse of decode for every fixed character and every (non-empty, unique) cell
// text. At each position the longest cell text that matches is taken, a fixed character
// when no longer cell text matches. A byte that neither covers is left out of the line and
// reported in unencodable, in order; it is never turned into something else.
struct Encoded
{
    QByteArray line;
    QByteArray unencodable; // the bytes it could not encode, in order
};
Encoded encode(QByteArrayView text, const SymbolCells &cells);

} // namespace store
