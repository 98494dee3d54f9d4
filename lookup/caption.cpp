// SPDX-License-Identifier: GPL-3.0-or-later
#include "caption.h"

namespace lookup {

QByteArray shownHeadword(QByteArrayView caption)
{
    qsizetype end = 0;
    while (end < caption.size() && caption[end] != '\r' && caption[end] != '\n')
        ++end;
    return caption.first(end).toByteArray().trimmed();
}

} // namespace lookup
