// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

// The files of a data set, named once for every reader and writer of one. A set is two
// folders of the program folder: "source" holds the lists, the definitions and the start-up
// tables, "source1" the rich-text indexes. Each name below is relative to the program folder
// and written with '/'; store::DataFolder puts a program folder in front.
namespace store::datafiles {

inline constexpr QStringView kListFolder = u"source";
inline constexpr QStringView kIndexFolder = u"source1";

// The start-up tables: 36 symbol texts, 21 tags.
QString symbolTable(); // "source/alf.dll"
QString tagTable();    // "source/sp.dll"

// The list and the index of a letter; `initial` is the file name's initial, lower case.
QString letterList(QStringView initial);  // "source/a.dll"
QString letterIndex(QStringView initial); // "source1/a.hhh"
// The definitions of words: `stem` is "first" (a to i) or "second" (j to z).
QString definitions(QByteArrayView stem); // "source/first.dll"

QString idiomList();        // "source/3.dll"
QString idiomIndex();       // "source1/idioms.hhh"
QString idiomDefinitions(); // "source/5.dll"

// The headwords of the set most used first, one a line as the letter lists spell them
// (Windows-1252): what breaks ties between close words. A set may lack it (one made before
// it was written); the lookup then does without.
QString usageRanking(); // "source/usage.dll"

// A file the set carries in its list folder beside its own, such as a notice.
QString listFolderFile(QStringView name); // "source/NOTICE.txt"

// Every file of a set, the 26 letters' lists and indexes included.
QStringList all();
// The files a sound set may lack.
QStringList optional();

} // namespace store::datafiles
