// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tables.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// The in-memory form of a dictionary data set and its writer. The written set has the
// layout the lookup reads:
//   source/a.dll .. z.dll     letter lists: line 0 the letter, line n the n-th headword
//   source/3.dll              idiom list, line n the idiom with entry index n
//   source/first.dll          encoded word definitions of entries below 84635, entry n on
//                             line n + 1; unused slots are empty lines
//   source/second.dll         the same for entries from 84635 on (line n - 84635 + 1)
//   source/5.dll              encoded idiom definitions, idiom n on line n + 1
//   source/alf.dll, sp.dll    the 36 symbol cells and the 21 tags
//   source/usage.dll          headwords most used first (the lookup's tie-break between
//                             close words); a set may lack it
//   source1/a.hhh .. z.hhh    letter indexes, idioms.hhh the idiom index: RTF documents
//                             whose plain text line n is two spaces and list line n
// Every line ends with CR LF.
namespace dataset {

struct Entry
{
    QByteArray headword;   // Windows-1252 bytes
    QByteArray definition; // Windows-1256 plain text; encoded by the writer
};

struct DataSet
{
    // Letter a..z: list lines 1.. in order (line 0, the letter itself, is written by the
    // writer).
    std::array<QList<Entry>, 26> letters;
    // The definition of line 0 of each letter, the entry of the letter itself; may be empty.
    std::array<QByteArray, 26> letterDefinitions;
    QList<Entry> idioms; // idiom list line 0..
    store::SymbolCells cells;
    store::TagCells tags;
    // Headwords most used first, as the letters spell them.
    QList<QByteArray> usage;
    // Extra plain files written into source/ as they stand (licence notices, say), by
    // file name. A name of the lookup's own files is refused.
    QList<std::pair<QString, QByteArray>> extraFiles;
};

// What the text code could not hold of the definitions: those bytes are left out.
struct EncodingLoss
{
    std::array<qint64, 256> lostBytes{}; // count per byte value
    qint64 definitionBytes = 0;          // every byte of every definition
    qint64 lostTotal() const;
};

struct WriteOutcome
{
    std::optional<QString> error;
    EncodingLoss loss;
};

// Writes the complete data set into programFolder/source and programFolder/source1: into a
// temporary folder first, every file synced, then moved into place by a journalled swap, so
// that a kill at any moment leaves the old set, the new set, or a swap that the next run
// finishes. Returns an error message on failure (the old set then stands).
std::optional<QString> write(const QString &programFolder, const DataSet &set);
// The same, and says what the encoding lost.
WriteOutcome writeWithLoss(const QString &programFolder, const DataSet &set);

// Finishes a swap that a killed run left unfinished and removes the temporary folders of
// earlier runs; write() does it first. *finished tells whether a swap was finished.
std::optional<QString> finishInterruptedWrite(const QString &programFolder,
                                              bool *finished = nullptr);

// How many headwords letter index (0 = a) can hold: its capacity in the letter base table
// less line 0; std::nullopt for z, which has no bound.
std::optional<int> headwordCapacity(int letterIndex);

// The initial of the letter files of letter index (0 = a), lower case.
QString initialName(int letterIndex);

} // namespace dataset
