// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>

#include <optional>

// A colour value is a 32-bit signed integer laid out as 0x00BBGGRR: red in the low byte,
// then green, then blue, the high byte zero. It is the form the settings file stores.
namespace colours {

constexpr qint32 MaxColourValue = 0xFFFFFF;

QColor toColor(qint32 value);
// The colour's red, green and blue in the value layout; the alpha channel is not kept.
qint32 toValue(const QColor &colour);

// The text a value is stored as: decimal digits, no blank, no leading zero, "0" for black.
QByteArray formatValue(qint32 value);

// Reads a stored text as a number: decimal digits with an optional sign and an optional
// fraction, blanks (space, tab) allowed around it, rounded to the nearest integer with
// ties to even ("2.5" is 2, "3.5" is 4). std::nullopt for empty text, anything that is not
// such a number (letters, exponents, two points) and results outside the 32-bit signed
// range.
std::optional<qint32> parseNumber(QByteArrayView text);

// A stored text as a colour: parseNumber, then only values 0 to 0xFFFFFF, the values the
// colour dialog yields, are colours; anything else leaves the colour alone.
std::optional<QColor> colourFromText(QByteArrayView text);

} // namespace colours
