// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tables.h"

#include <QByteArray>
#include <QByteArrayView>

namespace lookup {

// The longest text the bracketing makes. A tag whose bracketed form holds the tag again
// (")" becomes "()) ") doubles its occurrences on every pass, so 21 such tags would grow a
// definition two-million-fold; a tag that would take the text past this length is left out
// and the text stays as the tags before it left it.
inline constexpr qsizetype kMaxBracketedLength = qsizetype(64) << 20;

// The bracketed form of a tag: "(" + the tag without spaces at either end + ") ".
QByteArray bracketedForm(QByteArrayView tag);

// Replaces every occurrence of tag in text by its bracketed form: the text is scanned from
// its start, an occurrence is taken where it begins (case-sensitive) and the scan goes on
// after it, so occurrences never overlap and the inserted form is not scanned again. An
// empty tag changes nothing, and so does a tag whose bracketing would make the text longer
// than maxLength (and longer than it is).
QByteArray bracketTag(QByteArrayView text, QByteArrayView tag,
                      qsizetype maxLength = kMaxBracketedLength);

// Brackets the tags t1 to t21 in this order, each on the result of the ones before, so a
// later tag also matches inside the forms that earlier tags produced.
QByteArray bracketTags(QByteArrayView text, const store::TagCells &tags,
                       qsizetype maxLength = kMaxBracketedLength);

} // namespace lookup
