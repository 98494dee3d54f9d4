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

// Whether programFolder is an installed copy: the install rules put the file ".installed"
// there. Whoever runs the program, the superuser included, writes nothing into an installed
// program folder: its hidden-folder list comes with the installation, and the settings file
// lives in the user's configuration folder. An entry of that name counts whatever it is (a
// dangling link too); it is looked at, never opened.
bool isInstalledProgramFolder(const QString &programFolder);

} // namespace platform
