// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

// One zoom of the main window's designed layout: every position and size the design gives in
// pixels, and every font size it gives in points, is multiplied by one factor. Kept apart
// from the widgets so that it can be checked against any screen.
namespace zoom {

// The part of the designed client area that has to show whole: the designed client area,
// 1016 x 714, and below it the last 8 pixels of the definition box (top 72, height 650).
inline constexpr QSize kDesignShown(1016, 722);

// Ctrl+Plus and Ctrl+Minus go to the next tenth up or down, within these bounds.
inline constexpr int kStepPercent = 10;
inline constexpr int kSmallestPercent = 50;
inline constexpr int kLargestPercent = 300;

// The room for the client area in a window of the outer size outer (frame included) whose
// frame takes frame and whose menu bar takes menuBarHeight.
QSize clientRoom(const QSize &outer, const QMargins &frame, int menuBarHeight);

// The largest factor at which the designed layout shows whole in room; more than 1 where
// room is larger than the design, 0 where room is empty.
double fittingFactor(const QSize &room);

// The factor a start begins with: the largest factor, at most 1, at which the designed
// layout shows whole in room. Exactly 1 wherever the design fits, so that there it shows
// as designed, to the pixel.
double startFactor(const QSize &room);

// How far the zoom goes in a room: down to a half (or the start factor, where that is
// smaller), up to 3 as long as the layout still shows whole (and never below the start
// factor).
struct Range
{
    double smallest;
    double largest;
};
Range range(const QSize &room);

// Ctrl+Plus: the next tenth above factor; factor itself where that lies past the range.
double zoomedIn(double factor, const Range &range);
// Ctrl+Minus: the next tenth below factor; factor itself where that lies past the range.
double zoomedOut(double factor, const Range &range);

// A length of the design at factor, rounded to whole pixels.
int scaled(int designPixels, double factor);
// A rectangle of the design at factor. Its edges are scaled, not its size, so that
// controls that meet in the design meet at every factor and none reaches past the scaled
// edge of the design.
QRect scaled(const QRect &design, double factor);

// The zoom a start keeps from the run before, in whole percent: the file holds the number
// and a line break; an empty file keeps none (the start factor applies). Anything else, or
// a number outside the bounds, keeps none.
std::optional<int> parseKept(QByteArrayView text);
QByteArray formatKept(std::optional<int> percent);
// A factor in whole percent, for keeping.
int percentOf(double factor);
// The kept zoom as it applies in range: a kept factor beyond the range is brought into it.
double keptFactor(int percent, const Range &range);

// The file that keeps the zoom: "Zoom.txt" beside the settings file, wherever that was
// chosen to live; none where there is no settings file.
QString keptPath(const QString &settingsPath);
// What is read of the file at most: more is no zoom this program wrote.
inline constexpr qint64 kKeptFileCap = 64;

} // namespace zoom
