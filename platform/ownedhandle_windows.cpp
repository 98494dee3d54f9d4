// SPDX-License-Identifier: GPL-3.0-or-later
#include "ownedhandle.h"

#include <windows.h>

namespace platform {

void OwnedHandle::close()
{
    if (valid())
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = kNone;
}

} // namespace platform
