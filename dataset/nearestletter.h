// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dataset.h"
#include "sources.h"

#include <QByteArray>
#include <QList>
#include <QMap>

#include <array>
#include <optional>

// The nearest letter for what the text code cannot hold. The symbol cells hold only the
// most frequent characters of the definitions; a letter left out of them is written as the
// letter Arabic writing puts in its place, so that a word keeps all its letters. Vowel
// marks, which written Arabic leaves out anyway, and characters with no near letter are
// dropped.
namespace dataset {

// The letter that stands for c where c cannot be written:
//   alef with madda, with hamza above or below, wasla and the wavy and high hamza forms:
//     bare alef, as a word is written without its hamza;
//   waw and yeh with hamza: waw and yeh, their carriers;
//   alef maksura: yeh, and teh marbuta: heh, the letters they are written as without dots;
//   the Persian and Urdu forms of kaf, heh, yeh and noon: the Arabic letters they are;
//   peh, tcheh, jeh and gaf: beh, jeem, zain and kaf, as Arabic writes foreign names.
// None for anything else (vowel marks, shadda, hamza alone, punctuation).
std::optional<char16_t> nearestLetter(char16_t c);

// The replacement of the Windows-1256 bytes that the text code does not hold by the nearest
// letter it holds, counted by the character replaced.
class NearestLetters
{
public:
    explicit NearestLetters(const std::array<bool, 256> &held);

    // The byte that stands for b: b itself when it is held or has no held near letter.
    char letterFor(char b) const { return m_letter[uchar(b)]; }
    bool replaces(char b) const { return m_letter[uchar(b)] != b; }
    bool held(char b) const { return m_held[uchar(b)]; }
    // text with every replaceable byte replaced; adds them to the counts.
    QByteArray replace(const QByteArray &text);
    // The same for every definition of the set and every gloss of the idioms.
    void replaceIn(DataSet &set, QList<Idiom> &idioms);

    const QMap<char32_t, qint64> &replaced() const { return m_replaced; }

private:
    std::array<bool, 256> m_held{};
    std::array<char, 256> m_letter{};
    QMap<char32_t, qint64> m_replaced; // character replaced -> how often
};

} // namespace dataset
