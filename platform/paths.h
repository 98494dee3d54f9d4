// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

namespace platform {

// A data path: the program folder followed by a relative part written with backslashes
// ("\source\alf.dll"). The backslashes become the platform's separator; nothing else is
// added or removed, so an empty program folder gives a path from the root, as the plain
// concatenation it stands for would.
QString dataPath(const QString &programFolder, QStringView relative);

} // namespace platform
