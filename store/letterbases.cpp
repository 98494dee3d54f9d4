// SPDX-License-Identifier: GPL-3.0-or-later
#include "letterbases.h"

namespace store {

std::optional<LetterBase> letterBase(char lowerCaseLetter)
{
    if (lowerCaseLetter < 'a' || lowerCaseLetter > 'z')
        return std::nullopt;
    return kLetterBases[size_t(lowerCaseLetter - 'a')];
}

std::optional<int> letterCapacity(char lowerCaseLetter)
{
    if (lowerCaseLetter < 'a' || lowerCaseLetter >= 'z')
        return std::nullopt;
    const size_t row = size_t(lowerCaseLetter - 'a');
    return kLetterBases[row + 1].base - kLetterBases[row].base;
}

} // namespace store
