#pragma once

#include "store/tables.h"

#include <QByteArray>
#include <QByteArrayView>

namespace lookup {

// The bracketed form of a tag: "(" + the tag without spaces at either end + ") ".
QByteArray bracketedForm(QByteArrayView tag);

// Replaces every occurrence of tag in text by its bracketed form: the text is scanned from
// its start, an occurrence is taken where it begins (case-sensitive) and the scan goes on
// after it, so occurrences never overlap and the inserted form is not scanned again. An
// empty tag changes nothing.
QByteArray bracketTag(QByteArrayView text, QByteArrayView tag);

// Brackets the tags t1 to t21 in this order, each on the result of the ones before, so a
// later tag also matches inside the forms that earlier tags produced.
QByteArray bracketTags(QByteArrayView text, const store::TagCells &tags);

} // namespace lookup
