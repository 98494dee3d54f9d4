// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagbracketing.h"

#include "lookup/searchstep.h"

#include <algorithm>

namespace lookup {

QByteArray bracketedForm(QByteArrayView tag)
{
    return QByteArray("(") + trimSpaces(tag).toByteArray() + QByteArray(") ");
}

QByteArray bracketTag(QByteArrayView text, QByteArrayView tag, qsizetype maxLength)
{
    if (tag.isEmpty())
        return text.toByteArray();
    const QByteArray form = bracketedForm(tag);
    qsizetype occurrences = 0;
    for (qsizetype at = text.indexOf(tag); at >= 0; at = text.indexOf(tag, at + tag.size()))
        ++occurrences;
    const qsizetype length = text.size() + occurrences * (form.size() - tag.size());
    if (length > std::max(text.size(), maxLength))
        return text.toByteArray();

    QByteArray result;
    result.reserve(length);
    qsizetype from = 0;
    for (qsizetype at = text.indexOf(tag); at >= 0; at = text.indexOf(tag, from)) {
        result.append(text.sliced(from, at - from));
        result.append(form);
        from = at + tag.size();
    }
    result.append(text.sliced(from));
    return result;
}

QByteArray bracketTags(QByteArrayView text, const store::TagCells &tags, qsizetype maxLength)
{
    QByteArray result = text.toByteArray();
    for (const QByteArray &tag : tags)
        result = bracketTag(result, tag, maxLength);
    return result;
}

} // namespace lookup
