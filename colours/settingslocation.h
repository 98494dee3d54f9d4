// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace colours {

// Chooses where the settings file lives for this run: "Setting.Dll" in the program folder
// when that file can be written there (an existing file opened for writing, or a missing one
// created empty), otherwise the same file name in userFolder. Colours chosen in a copy
// installed in a read-only folder so survive the next start instead of vanishing while the
// screen shows them applied. An installed program folder (platform::isInstalledProgramFolder)
// is never tried, nor written to, however writable it is: the file is always userFolder's,
// and with no userFolder there is none (an empty path).
//
// The choice is made once, at start, and that one path is read and written for the whole
// run. When the user's copy does not exist yet and the program folder holds a settings
// file, the user's copy starts as a copy of it, so colours stored with an installation
// still show. userFolder is created when needed; an empty userFolder (no such location on
// this platform) keeps the program folder's path, where that folder is not an installed one.
QString chooseSettingsPath(const QString &programFolder, const QString &userFolder);

// The user's configuration folder for this application (QStandardPaths::AppConfigLocation;
// on Windows the folder Vellumstack in the user's roaming application data, %APPDATA%).
QString userSettingsFolder();

} // namespace colours
