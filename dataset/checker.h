// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <optional>

// The checker of a data set: reads programFolder/source and programFolder/source1 the way
// the lookup reads them and names every broken invariant the lookup rests on.
namespace dataset {

struct Problem
{
    QString file;    // relative to the program folder, "source/a.dll"
    qint64 line = 0; // 1-based line of the file; 0 when the problem is the whole file
    QString what;
    bool fatal = true; // false for what the lookup survives but a user would notice
};

// Why programFolder holds no set to check at all: "no such folder" when nothing is there,
// "not a folder" when something else is; nothing for a folder.
std::optional<QString> folderRefusal(const QString &programFolder);

// Every problem of the set, file by file. A sound set gives no fatal problem. Of a run of
// like problems in one file only the first few are named, followed by a count of the rest.
// A program folder that is not a folder is one problem (of the file "", the folder itself).
QList<Problem> check(const QString &programFolder);

QString formatProblem(const Problem &problem);

} // namespace dataset
