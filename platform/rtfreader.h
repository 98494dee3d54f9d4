// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace platform {

// The plain text of a file as a classic rich-text box presents it after loading it.
//
// A file that begins with "{\rtf" is read as an RTF document: the destinations that carry no
// visible text (font, colour and style tables, document information, pictures, headers and
// footers, every "{\*...}" group) are skipped; \par and \line become CR LF, \tab a tab,
// \'hh the byte hh, \uN the Windows-1252 byte of character N (or '?') with its \ucN fallback
// characters skipped; \{ \} \\ are the literal characters; the data of \binN is skipped;
// CR and LF in the document are ignored; one \par at the very end is dropped (the box keeps
// its last paragraph mark out of its text) and everything after the closing brace of the
// document is ignored. Group nesting is tracked on an explicit stack, so the work is linear
// in the size of the file whatever it holds.
//
// Any other file is taken as plain text, byte for byte.
//
// Positions in the result are byte positions: CR LF counts as two characters.
QByteArray rtfPlainText(QByteArrayView file);

} // namespace platform
