// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/indextext.h"
#include "store/keptfiles.h"
#include "store/usageranking.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace store {

// A data set where it lies: the program folder that holds "source" and "source1". It names
// every file of the set (the file names of store::datafiles, a letter's with the initial
// folded to lower case), and keeps the indexes it parsed and the lists it read for as long
// as their files are unchanged, so that going back to an initial parses nothing and a
// keystroke maps no file. No other place joins a path of the set.
class DataFolder
{
public:
    // programFolder: no separator at its end; an empty one names the files from the root.
    explicit DataFolder(QString programFolder = {});

    const QString &programFolder() const { return m_programFolder; }

    // The file `relative` (one of store::datafiles' names) of this set.
    QString path(const QString &relative) const;

    QString listFolder() const;
    QString indexFolder() const;
    QString symbolTable() const;
    QString tagTable() const;
    // The files of the initial whose first character is `initial`; std::nullopt when that
    // character cannot begin a file name (isFileNameInitial).
    std::optional<QString> letterList(QByteArrayView initial) const;
    std::optional<QString> letterIndex(QByteArrayView initial) const;
    // `stem`: "first" or "second".
    QString definitions(QByteArrayView stem) const;
    QString idiomList() const;
    QString idiomIndex() const;
    QString idiomDefinitions() const;
    QString usageRanking() const;

    // The plain text of the index file at path, kept while the file is unchanged;
    // std::nullopt when it is missing or refused (platform::caps::kIndex).
    std::optional<IndexText> index(const QString &path) const;
    // The bytes of the list file at path (platform::caps::kList), kept the same way.
    std::optional<QByteArray> list(const QString &path) const;
    // The set's usage ranking (platform::caps::kUsageRanking), kept the same way; an empty
    // ranking for a set without one.
    UsageRanking ranking() const;

private:
    QString m_programFolder;
    // What was read is kept behind the names: keeping it changes nothing the folder names.
    mutable KeptFiles<IndexText> m_indexes;
    mutable KeptFiles<QByteArray> m_lists;
    mutable KeptFiles<UsageRanking> m_rankings;
};

// Whether a character can begin the file name of an index or list file: not a path
// separator, a NUL or another control character, nor a character no file name may hold.
bool isFileNameInitial(char initial);

// The name of the letter files of an initial: the initial folded to lower case.
QString initialFileName(QByteArrayView initial);

} // namespace store
