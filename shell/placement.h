// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

// Where the main window goes on the first tick of Timer1, kept apart from the widgets so
// that it can be checked against any screen and any set of panels.
namespace placement {

// The outer window, frame included, after the placement at the top. frame is the outer
// window as it stands; outerSize the size the start-up sequence gave it; workArea the
// part of the screen that panels leave free (the whole screen where there are none).
//
// The title bar goes to the top of the work area and the window keeps its left edge and
// its size, as far as the work area allows: a window larger than the work area is cut to
// it, and one that would stand out past its left or right side is moved in. On a screen
// without panels a window of the screen's width, less high than the screen, thus keeps
// its size and left edge, and its top goes to the screen's top.
QRect placedAtTop(const QRect &frame, const QSize &outerSize, const QRect &workArea);

} // namespace placement
