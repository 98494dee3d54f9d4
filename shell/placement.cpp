// SPDX-License-Identifier: GPL-3.0-or-later
#include "placement.h"

#include <algorithm>

namespace placement {

QRect placedAtTop(const QRect &frame, const QSize &outerSize, const QRect &workArea)
{
    if (workArea.isEmpty())
        return QRect(QPoint(frame.x(), 0), outerSize);
    const QSize size = outerSize.boundedTo(workArea.size());
    // The rightmost left edge that keeps the whole width inside the work area.
    const int rightmost = workArea.x() + workArea.width() - size.width();
    const int left = std::clamp(frame.x(), workArea.x(), rightmost);
    return QRect(QPoint(left, workArea.y()), size);
}

} // namespace placement
