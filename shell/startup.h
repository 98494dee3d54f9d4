// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

#include <functional>

// The pure steps of the main window's start-up sequence, kept apart from the widgets so
// that they can be checked against any screen and any set of installed fonts.
namespace startup {

// The window takes the screen's width and the screen's height less 380 twips.
inline constexpr int kWindowHeightReserveTwips = 380;
inline constexpr double kTwipsPerInch = 1440.0;

struct TwipsSize
{
    int width;
    int height;
    bool operator==(const TwipsSize &) const = default;
};

TwipsSize windowSizeTwips(TwipsSize screenTwips);

// Screen pixels to twips and back at the screen's real twips per pixel (1440 / logical DPI).
int pixelsToTwips(int pixels, double twipsPerPixel);
int twipsToPixels(int twips, double twipsPerPixel);

// One of the three faces the word list may take, in the order they are tried.
struct ListFontChoice
{
    QString face;
    bool bold;
    bool italic;
    int pointSize;
};

inline constexpr int kListHeight = 800;

// "Palatino Linotype" 16, then "Andalus" bold 13, then "Times New Roman" 17.
const ListFontChoice &listFontChoice(int index);

// Applies the first choice; tries the next only when the platform reports that it took
// another face than the one asked for (faceTaken returns the face really used for a font).
// Returns the font to give the list.
QFont chooseListFont(const QFont &base, const std::function<QString(const QFont &)> &faceTaken);

} // namespace startup
