// SPDX-License-Identifier: GPL-3.0-or-later
#include "idiomchoice.h"

#include "sourcetext.h"

#include <algorithm>

namespace dataset {

QList<Idiom> chooseIdioms(const QList<Idiom> &idioms, int wanted, ArabicConverter &converter)
{
    QList<Idiom> chosen;
    const qsizetype count = std::min<qsizetype>(std::max(wanted, 0), idioms.size());
    for (qsizetype i = 0; i < count; ++i)
        chosen << idioms[qsizetype(qint64(i) * idioms.size() / count)];
    for (Idiom &idiom : chosen) {
        for (IdiomSense &sense : idiom.senses)
            sense.bytes = converter.convert(sense.gloss);
    }
    return chosen;
}

QByteArray idiomDefinition(const Idiom &idiom, const PartTags &tags, bool bracketed)
{
    QByteArray definition;
    for (qsizetype i = 0; i < idiom.senses.size(); ++i) {
        if (i > 0)
            definition += ' ';
        if (idiom.senses.size() > 1)
            definition += QByteArray::number(i + 1) + ". ";
        const QByteArray &tag = tags[idiom.senses[i].partOfSpeech];
        definition += bracketed ? "(" + tag + ") " : tag;
        definition += idiom.senses[i].bytes;
    }
    return definition;
}

} // namespace dataset
