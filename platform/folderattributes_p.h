// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The system's half of marking a folder hidden and system; folderattributes.cpp has already
// made sure the folder is there and the program folder not an installed one.
namespace platform::folderattributes {

bool mark(const QString &programFolder, const QString &name);
bool isMarked(const QString &programFolder, const QString &name);

} // namespace platform::folderattributes
