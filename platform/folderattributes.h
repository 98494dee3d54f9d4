// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Marks the folder programFolder/name hidden and system. On Windows that is the folder's
// own attributes; elsewhere folders have no such attributes, and "hidden" is expressed the
// freedesktop way: the name is listed in programFolder/.hidden, which file managers honour.
// A missing folder is left alone, and so is a ".hidden" that is there but refused (not a
// regular file, or beyond platform::caps::kHiddenList): it is never written over. Returns
// whether the folder is now marked. An installed program folder (isInstalledProgramFolder) is
// never written: the installation marks its folders itself, and the result only says
// whether it did.
bool markHiddenSystem(const QString &programFolder, const QString &name);

// Whether the folder is marked as markHiddenSystem marks it.
bool isMarkedHiddenSystem(const QString &programFolder, const QString &name);

} // namespace platform
