// SPDX-License-Identifier: GPL-3.0-or-later
#include "textcode.h"

#include <algorithm>
#include <array>

namespace store {

namespace {

// The twelve punctuation marks and the double quote of the four-digit codes 9910..9922.
constexpr char kPunctuation[] = "&'(),-/;<=>?\"";
constexpr int kPunctuationCount = sizeof(kPunctuation) - 1;
static_assert(10 + kPunctuationCount + 2 == kFourDigitCodes);

constexpr int kFirstCellTwoDigit = 65;  // codes 65..98 are cells 0..33
constexpr int kFirstCellFourDigit = 23; // codes 9923, 9924 are cells 34, 35
constexpr int kTwoDigitCells = 98 - kFirstCellTwoDigit + 1;
static_assert(kTwoDigitCells == 34);
static_assert(3 + 26 + 26 + kTwoDigitCells == kTwoDigitCodes);

// The two digits that fill the unread places of a two-digit group. Digits, so that the
// line has no blanks at its ends that a trimming reader would take away.
constexpr char kFiller[] = "00";

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::optional<CodeUnit> unitOfFourDigit(int value)
{
    if (value < 10)
        return CodeUnit{char('0' + value), -1};
    if (value < 10 + kPunctuationCount)
        return CodeUnit{kPunctuation[value - 10], -1};
    if (value < kFourDigitCodes)
        return CodeUnit{0, 34 + value - kFirstCellFourDigit};
    return std::nullopt;
}

std::optional<CodeUnit> unitOfTwoDigit(int value)
{
    if (value < 10 || value > 98)
        return std::nullopt;
    if (value == 10)
        return CodeUnit{' ', -1};
    if (value == 11)
        return CodeUnit{'.', -1};
    if (value == 12)
        return CodeUnit{':', -1};
    if (value <= 38)
        return CodeUnit{char('a' + value - 13), -1};
    if (value <= 64)
        return CodeUnit{char('A' + value - 39), -1};
    return CodeUnit{0, value - kFirstCellTwoDigit};
}

QByteArray twoDigitGroup(int value)
{
    QByteArray group(4, '0');
    group[0] = char('0' + value / 10);
    group[1] = char('0' + value % 10);
    group[2] = kFiller[0];
    group[3] = kFiller[1];
    return group;
}

QByteArray fourDigitGroup(int value)
{
    QByteArray group("99");
    group.append(char('0' + value / 10));
    group.append(char('0' + value % 10));
    return group;
}

// The group of every byte that has a fixed code; empty for the others.
std::array<QByteArray, 256> buildCharacterGroups()
{
    std::array<QByteArray, 256> groups;
    for (int value = 0; value < kFourDigitCodes; ++value) {
        const auto unit = unitOfFourDigit(value);
        if (unit->cell < 0)
            groups[uchar(unit->character)] = fourDigitGroup(value);
    }
    for (int value = 10; value <= 98; ++value) {
        const auto unit = unitOfTwoDigit(value);
        if (unit->cell < 0)
            groups[uchar(unit->character)] = twoDigitGroup(value);
    }
    return groups;
}

const std::array<QByteArray, 256> &characterGroups()
{
    static const std::array<QByteArray, 256> groups = buildCharacterGroups();
    return groups;
}

} // namespace

std::optional<CodeUnit> unitOfGroup(QByteArrayView group)
{
    if (group.size() == 4 && group[0] == '9' && group[1] == '9' && isDigit(group[2]) &&
        isDigit(group[3])) {
        if (auto unit = unitOfFourDigit((group[2] - '0') * 10 + (group[3] - '0')))
            return unit;
    }
    if (group.size() < 2 || !isDigit(group[0]) || !isDigit(group[1]))
        return std::nullopt;
    return unitOfTwoDigit((group[0] - '0') * 10 + (group[1] - '0'));
}

bool isFixedCharacter(char c)
{
    return !characterGroups()[uchar(c)].isEmpty();
}

std::optional<QByteArray> groupOfCharacter(char c)
{
    const QByteArray &group = characterGroups()[uchar(c)];
    if (group.isEmpty())
        return std::nullopt;
    return group;
}

QByteArray groupOfCell(int cell)
{
    Q_ASSERT(cell >= 0 && cell < 36);
    if (cell < kTwoDigitCells)
        return twoDigitGroup(kFirstCellTwoDigit + cell);
    return fourDigitGroup(kFirstCellFourDigit + cell - kTwoDigitCells);
}

QByteArray decode(QByteArrayView encoded, const SymbolCells &cells)
{
    QByteArray decoded;
    decoded.reserve(encoded.size() / 4 + 1);
    for (qsizetype p = 0; p < encoded.size(); p += 4) {
        const auto unit =
            unitOfGroup(encoded.sliced(p, std::min<qsizetype>(4, encoded.size() - p)));
        if (!unit)
            continue;
        const qsizetype unitLength = unit->cell >= 0 ? cells[unit->cell].size() : 1;
        if (decoded.size() + unitLength > kMaxDecodedLength)
            break;
        if (unit->cell >= 0)
            decoded.append(cells[unit->cell]);
        else
            decoded.append(unit->character);
    }
    return decoded;
}

Encoded encode(QByteArrayView text, const SymbolCells &cells)
{
    // Cells by length, longest first, so that the first match is the longest one.
    std::array<int, 36> order;
    for (int i = 0; i < 36; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return cells[a].size() > cells[b].size(); });

    std::array<bool, 256> startsCell{};
    for (const QByteArray &candidate : cells) {
        if (!candidate.isEmpty())
            startsCell[uchar(candidate[0])] = true;
    }

    Encoded result;
    result.line.reserve(text.size() * 4);
    qsizetype p = 0;
    while (p < text.size()) {
        const QByteArrayView rest = text.sliced(p);
        int cell = -1;
        for (int i : order) {
            if (!startsCell[uchar(text[p])])
                break;
            const QByteArray &candidate = cells[i];
            if (candidate.isEmpty())
                break;
            // A single byte that has a fixed code of its own keeps it.
            if (candidate.size() == 1 && isFixedCharacter(candidate[0]))
                continue;
            if (rest.startsWith(candidate)) {
                cell = i;
                break;
            }
        }
        if (cell >= 0) {
            result.line.append(groupOfCell(cell));
            p += cells[cell].size();
            continue;
        }
        const QByteArray &group = characterGroups()[uchar(text[p])];
        if (group.isEmpty())
            result.unencodable.append(text[p]);
        else
            result.line.append(group);
        ++p;
    }
    return result;
}

} // namespace store
