// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The icon and the about picture are compiled into the shell library; a static library's
// resources are registered only when asked for. Q_INIT_RESOURCE must stand outside any
// namespace.
inline void initAppResources()
{
    Q_INIT_RESOURCE(resources);
}
