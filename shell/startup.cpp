// SPDX-License-Identifier: GPL-3.0-or-later
#include "startup.h"

#include <QStringList>

#include <array>
#include <cmath>

namespace startup {

TwipsSize windowSizeTwips(TwipsSize screenTwips)
{
    return {screenTwips.width, screenTwips.height - kWindowHeightReserveTwips};
}

int pixelsToTwips(int pixels, double twipsPerPixel)
{
    return int(std::lround(pixels * twipsPerPixel));
}

int twipsToPixels(int twips, double twipsPerPixel)
{
    return int(std::lround(twips / twipsPerPixel));
}

const ListFontChoice &listFontChoice(int index)
{
    static const std::array<ListFontChoice, 3> choices{{
        {QStringLiteral("Palatino Linotype"), false, false, 16},
        {QStringLiteral("Andalus"), true, false, 13},
        {QStringLiteral("Times New Roman"), false, false, 17},
    }};
    return choices.at(size_t(index));
}

namespace {

QFont withChoice(QFont font, const ListFontChoice &choice)
{
    font.setFamilies(QStringList{choice.face});
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    font.setPointSize(choice.pointSize);
    return font;
}

// The face name of a family the platform reports. Qt names a family that is installed from
// more than one foundry "Face [foundry]"; the foundry is not part of the face, and the face
// asked for was taken.
QString faceName(const QString &family)
{
    const qsizetype bracket = family.lastIndexOf(QLatin1String(" ["));
    if (bracket < 0 || !family.endsWith(QLatin1Char(']')))
        return family;
    return family.left(bracket);
}

} // namespace

QFont chooseListFont(const QFont &base, const std::function<QString(const QFont &)> &faceTaken)
{
    // The third choice is taken without reading back: it is the last resort, and whatever
    // face the platform substitutes for it is the one the list shows.
    QFont font = withChoice(base, listFontChoice(0));
    if (faceName(faceTaken(font)) == listFontChoice(0).face)
        return font;
    font = withChoice(base, listFontChoice(1));
    if (faceName(faceTaken(font)) == listFontChoice(1).face)
        return font;
    return withChoice(base, listFontChoice(2));
}

} // namespace startup
