// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <array>
#include <optional>

namespace store {

// The entry index numbers every headword from 0, letter after letter. Each initial owns
// the entry indexes from its base up to the next initial's base minus 1; z owns all from
// its base on. The stem names the definitions file that holds the letter's entries:
// "\source\" + stem + ".dll".
struct LetterBase
{
    char letter;
    int base;
    const char *stem;
};

inline constexpr std::array<LetterBase, 26> kLetterBases{{
    {'a', 0, "first"},       {'b', 11000, "first"},   {'c', 20246, "first"},
    {'d', 36814, "first"},   {'e', 46908, "first"},   {'f', 54004, "first"},
    {'g', 62692, "first"},   {'h', 68423, "first"},   {'i', 75472, "first"},
    {'j', 84635, "second"},  {'k', 85892, "second"},  {'l', 87316, "second"},
    {'m', 93992, "second"},  {'n', 103486, "second"}, {'o', 107203, "second"},
    {'p', 111897, "second"}, {'q', 126632, "second"}, {'r', 127543, "second"},
    {'s', 136105, "second"}, {'t', 155132, "second"}, {'u', 169575, "second"},
    {'v', 172179, "second"}, {'w', 174748, "second"}, {'x', 179243, "second"},
    {'y', 179394, "second"}, {'z', 179865, "second"},
}};

// Entry indexes from here on live in "second.dll"; it is the base of j.
inline constexpr int kSecondFileBoundary = 84635;

// The whole idiom list holds this many lines (lines 0 to 3133 of "\source\3.dll").
inline constexpr int kWholeIdiomListLines = 3134;

// The row of a lower-case letter a..z; std::nullopt for anything else.
std::optional<LetterBase> letterBase(char lowerCaseLetter);

// How many entry indexes the letter owns; std::nullopt for z, which has no upper bound.
std::optional<int> letterCapacity(char lowerCaseLetter);

} // namespace store
