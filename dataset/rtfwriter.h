// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

namespace dataset {

// A plain RTF document ({\rtf1\ansi ...}) whose plain text is the lines, each ended by
// \par. Bytes from 0x80 up are written as \'hh (Windows-1252), the characters \ { } are
// escaped, a tab is \tab; no other control word appears in the text.
QByteArray rtfDocument(const QList<QByteArray> &lines);

} // namespace dataset
