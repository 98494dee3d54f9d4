// SPDX-License-Identifier: GPL-3.0-or-later
#include "zoom.h"

#include "platform/paths.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace zoom {

namespace {

// Factors are compared in tenths; a factor a hair off a tenth is that tenth.
constexpr double kTenthSlack = 1e-9;

bool isEmptyRoom(const QSize &room)
{
    return room.width() <= 0 || room.height() <= 0;
}

} // namespace

QSize clientRoom(const QSize &outer, const QMargins &frame, int menuBarHeight)
{
    return QSize(outer.width() - frame.left() - frame.right(),
                 outer.height() - frame.top() - frame.bottom() - menuBarHeight);
}

double fittingFactor(const QSize &room)
{
    if (isEmptyRoom(room))
        return 0;
    return std::min(double(room.width()) / kDesignShown.width(),
                    double(room.height()) / kDesignShown.height());
}

double startFactor(const QSize &room)
{
    // No room known (no screen, or a work area smaller than the window's own frame): the
    // design as it stands is as good as any.
    if (isEmptyRoom(room))
        return 1;
    return std::min(1.0, fittingFactor(room));
}

Range range(const QSize &room)
{
    const double start = startFactor(room);
    const double fitting = isEmptyRoom(room) ? start : fittingFactor(room);
    return {std::min(kSmallestPercent / 100.0, start),
            std::max(start, std::min(kLargestPercent / 100.0, fitting))};
}

double zoomedIn(double factor, const Range &range)
{
    const double tenths = std::floor(factor * 100 / kStepPercent + kTenthSlack) + 1;
    const double next = tenths * kStepPercent / 100;
    return next <= range.largest + kTenthSlack ? next : factor;
}

double zoomedOut(double factor, const Range &range)
{
    const double tenths = std::ceil(factor * 100 / kStepPercent - kTenthSlack) - 1;
    const double next = tenths * kStepPercent / 100;
    return next >= range.smallest - kTenthSlack ? next : factor;
}

int scaled(int designPixels, double factor)
{
    return int(std::lround(designPixels * factor));
}

QRect scaled(const QRect &design, double factor)
{
    const int left = scaled(design.x(), factor);
    const int top = scaled(design.y(), factor);
    const int right = scaled(design.x() + design.width(), factor);
    const int bottom = scaled(design.y() + design.height(), factor);
    return QRect(left, top, right - left, bottom - top);
}

std::optional<int> parseKept(QByteArrayView text)
{
    const QByteArrayView number = text.trimmed();
    // Three digits hold every factor within the bounds; more is no number this wrote.
    if (number.isEmpty() || number.size() > 3 ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int percent = number.toInt();
    if (percent < kSmallestPercent || percent > kLargestPercent)
        return std::nullopt;
    return percent;
}

QByteArray formatKept(std::optional<int> percent)
{
    return percent ? QByteArray::number(*percent) + '\n' : QByteArray();
}

int percentOf(double factor)
{
    return int(std::lround(factor * 100));
}

double keptFactor(int percent, const Range &range)
{
    return std::clamp(percent / 100.0, range.smallest, range.largest);
}

QString keptPath(const QString &settingsPath)
{
    if (settingsPath.isEmpty())
        return QString();
    return platform::dataPath(QFileInfo(settingsPath).path(), u"\\Zoom.txt");
}

} // namespace zoom
