// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QFile;

namespace platform {

// How much of one kind of file the programs read. A cap guards against a file the system
// did not write; a real data set stays far below every one of them.
struct FileCap
{
    // A larger file is refused (< 0: no size cap; the reader then looks at no more of the
    // file than its line cap and line count allow).
    qint64 size = -1;
    // No line is taken into memory beyond this many bytes.
    qint64 line = -1;
    // Only this many lines are read (< 0: as many as the file has).
    qint64 lines = -1;
};

namespace caps {

inline constexpr qint64 KiB = 1024;
inline constexpr qint64 MiB = 1024 * KiB;

// Start-up tables "alf.dll" (36 lines) and "sp.dll" (21 lines): only as many lines as the
// table has cells are read, each up to this cap.
inline constexpr qint64 kTableLine = 64 * KiB;
// Letter and idiom lists ("a.dll" .. "z.dll", "3.dll").
inline constexpr FileCap kList{64 * MiB, 64 * KiB};
// The usage ranking ("usage.dll"): a real set ranks some tens of thousands of headwords;
// only this many lines are ranked, so that the table made of it stays small.
inline constexpr FileCap kUsageRanking{8 * MiB, 64 * KiB, 512 * KiB};
// Definitions files ("first.dll", "second.dll", "5.dll"): a longer line is cut at the line
// cap (a multiple of the four digits of a code group).
inline constexpr FileCap kDefinitions{256 * MiB, 32 * MiB};
// Rich-text indexes ("a.hhh" .. "z.hhh", "idioms.hhh"), read whole.
inline constexpr FileCap kIndex{64 * MiB};
// The list of hidden folders (".hidden").
inline constexpr FileCap kHiddenList{1 * MiB};
// Inputs of the data-set builder: a dictd index, a compressed dictd data file, a WordNet
// data file, a licence text.
inline constexpr FileCap kDictIndex{256 * MiB};
inline constexpr FileCap kDictData{256 * MiB};
inline constexpr FileCap kWordNetData{256 * MiB};
inline constexpr FileCap kLicenceText{4 * MiB};

} // namespace caps

enum class OpenFor {
    Reading,
    // Reading and writing; a missing file is created empty, an existing one is never
    // truncated.
    Writing,
};

// Opens path without blocking (a FIFO without a writer never holds the caller up) and keeps
// it only when the open descriptor is a regular file of at most maxSize bytes (maxSize < 0:
// any size). A missing file, a FIFO, a device, a socket, a folder or a file beyond its cap
// all give nullptr: to the caller they are a missing file. The decision is taken on the
// descriptor itself, so a file swapped between a check and the open cannot slip through.
// On Windows a device name ("NUL", "CON"), a pipe and a link (a reparse point) are refused
// too, and the open file stays open to others' reading, writing, renaming and removal.
std::unique_ptr<QFile> openRegularFile(const QString &path, qint64 maxSize = -1,
                                       OpenFor mode = OpenFor::Reading);

// A second descriptor of the file opened by openRegularFile, for a library that reads and
// closes a descriptor of its own (zlib's gzdopen); -1 when none can be had.
int duplicateDescriptor(const QFile &file);
// Closes a descriptor from duplicateDescriptor that was not handed over after all.
void closeDescriptor(int descriptor);

// Why openRegularFile refused path, for a message: "no such file", "not a regular file",
// "larger than N bytes" or "cannot be opened". Looked up after the refusal, for the message
// alone.
QString refusalReason(const QString &path, qint64 maxSize);

// The whole content of a regular file of at most maxSize bytes; std::nullopt when
// openRegularFile refuses it or it cannot be read.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxSize);

} // namespace platform
