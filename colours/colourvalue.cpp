// SPDX-License-Identifier: GPL-3.0-or-later
#include "colourvalue.h"

#include <limits>

namespace colours {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

QColor toColor(qint32 value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

qint32 toValue(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return qint32(rgb.red()) | (qint32(rgb.green()) << 8) | (qint32(rgb.blue()) << 16);
}

QByteArray formatValue(qint32 value)
{
    return QByteArray::number(value);
}

std::optional<qint32> parseNumber(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    qsizetype pos = begin;
    bool negative = false;
    if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }

    // The magnitude is kept in 64 bits and capped just above the 32-bit range, so a long
    // run of digits cannot overflow and still ends up out of range.
    constexpr qint64 Cap = qint64(std::numeric_limits<qint32>::max()) + 2;
    qint64 magnitude = 0;
    qsizetype digits = 0;
    for (; pos < end && isDigit(text[pos]); ++pos, ++digits)
        magnitude = std::min(Cap, magnitude * 10 + (text[pos] - '0'));

    // The fraction only decides the rounding: below, at or above one half.
    int firstFraction = 0;
    bool restNonZero = false;
    if (pos < end && text[pos] == '.') {
        ++pos;
        if (pos < end && isDigit(text[pos]))
            firstFraction = text[pos] - '0';
        for (qsizetype at = pos; pos < end && isDigit(text[pos]); ++pos, ++digits)
            restNonZero = restNonZero || (pos > at && text[pos] != '0');
    }
    if (digits == 0 || pos != end)
        return std::nullopt;

    const bool roundUp = firstFraction > 5 || (firstFraction == 5 && restNonZero) ||
                         (firstFraction == 5 && !restNonZero && magnitude % 2 == 1);
    if (roundUp)
        magnitude = std::min(Cap, magnitude + 1);

    const qint64 value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

std::optional<QColor> colourFromText(QByteArrayView text)
{
    const std::optional<qint32> value = parseNumber(text);
    if (!value || *value < 0 || *value > MaxColourValue)
        return std::nullopt;
    return toColor(*value);
}

} // namespace colours
