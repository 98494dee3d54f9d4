// SPDX-License-Identifier: GPL-3.0-or-later
#include "idiomchoice.h"

#include "ranking.h"
#include "sourcetext.h"

namespace dataset {

QList<Idiom> chooseIdioms(const QList<Idiom> &idioms, int wanted, const wordnet::Usage &usage,
                          ArabicConverter &converter)
{
    QList<QByteArray> texts;
    texts.reserve(idioms.size());
    for (const Idiom &idiom : idioms)
        texts << idiom.text;
    QList<Idiom> chosen;
    for (qsizetype n : ranking::choose(texts, wanted, usage).kept)
        chosen << idioms[n];
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
