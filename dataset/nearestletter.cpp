// SPDX-License-Identifier: GPL-3.0-or-later
#include "nearestletter.h"

#include "sourcetext.h"

namespace dataset {

std::optional<char16_t> nearestLetter(char16_t c)
{
    switch (c) {
    case 0x0622:       // alef with madda above
    case 0x0623:       // alef with hamza above
    case 0x0625:       // alef with hamza below
    case 0x0671:       // alef wasla
    case 0x0672:       // alef with wavy hamza above
    case 0x0673:       // alef with wavy hamza below
    case 0x0675:       // high hamza alef
        return 0x0627; // alef
    case 0x0624:       // waw with hamza above
        return 0x0648; // waw
    case 0x0626:       // yeh with hamza above
    case 0x0649:       // alef maksura
    case 0x06CC:       // Farsi yeh
    case 0x06D2:       // yeh barree
        return 0x064A; // yeh
    case 0x0629:       // teh marbuta
    case 0x06BE:       // heh doachashmee
    case 0x06C1:       // heh goal
        return 0x0647; // heh
    case 0x06BA:       // noon ghunna
        return 0x0646; // noon
    case 0x06A9:       // keheh
    case 0x06AF:       // gaf
        return 0x0643; // kaf
    case 0x067E:       // peh
        return 0x0628; // beh
    case 0x0686:       // tcheh
        return 0x062C; // jeem
    case 0x0698:       // jeh
        return 0x0632; // zain
    default:
        return std::nullopt;
    }
}

NearestLetters::NearestLetters(const std::array<bool, 256> &held) : m_held(held)
{
    for (int b = 0; b < 256; ++b) {
        m_letter[b] = char(b);
        if (held[b])
            continue;
        const std::optional<char16_t> letter = nearestLetter(arabic().charOf(char(b)));
        if (!letter)
            continue;
        if (const std::optional<char> byte = arabic().byteOf(*letter); byte && held[uchar(*byte)])
            m_letter[b] = *byte;
    }
}

void NearestLetters::replaceIn(DataSet &set, QList<Idiom> &idioms)
{
    for (int l = 0; l < 26; ++l) {
        set.letterDefinitions[l] = replace(set.letterDefinitions[l]);
        for (Entry &entry : set.letters[l])
            entry.definition = replace(entry.definition);
    }
    for (Idiom &idiom : idioms) {
        for (IdiomSense &sense : idiom.senses)
            sense.bytes = replace(sense.bytes);
    }
}

QByteArray NearestLetters::replace(const QByteArray &text)
{
    QByteArray result = text;
    for (char &c : result) {
        if (replaces(c)) {
            ++m_replaced[arabic().charOf(c)];
            c = letterFor(c);
        }
    }
    return result;
}

} // namespace dataset
