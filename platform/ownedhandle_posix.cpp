// SPDX-License-Identifier: GPL-3.0-or-later
#include "ownedhandle.h"

#include <unistd.h>

namespace platform {

void OwnedHandle::close()
{
    if (valid())
        ::close(int(m_handle));
    m_handle = kNone;
}

} // namespace platform
