// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources.h"

#include "report.h"
#include "sourcetext.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace dataset {

namespace {

bool isLetterInitial(char c)
{
    const char lower = char(c | 0x20);
    return lower >= 'a' && lower <= 'z';
}

// "1. text" or "1) text" at the start of a translation line: the builder numbers lines
// itself.
QString withoutNumber(const QString &line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i].isDigit())
        ++i;
    if (i > 0 && i < line.size() && (line[i] == u'.' || line[i] == u')'))
        return line.mid(i + 1).trimmed();
    return line;
}

bool isDatabaseArticle(const QByteArray &key)
{
    return key.startsWith("00database") || key.startsWith("00-database");
}

// The headword and translations of one article, or nothing (counted in report) when it has
// no usable headword or no translation.
std::optional<Word> wordOf(const QString &text, BuildReport &report)
{
    QStringList lines = text.split(u'\n');
    QString headline = lines.takeFirst();
    if (const qsizetype ipa = headline.indexOf(u" /"); ipa >= 0)
        headline.truncate(ipa);
    const auto headword = western().bytesOf(headline.simplified());
    if (!headword) {
        ++report.notWestern;
        return std::nullopt;
    }
    if (headword->isEmpty() || !isLetterInitial(headword->at(0))) {
        ++report.withoutLetter;
        return std::nullopt;
    }
    QStringList translations;
    for (const QString &line : lines) {
        const QString translation = cleanDefinition(withoutNumber(line.trimmed()));
        if (!translation.isEmpty() && !translations.contains(translation))
            translations << translation;
    }
    if (translations.isEmpty()) {
        ++report.withoutDefinition;
        return std::nullopt;
    }
    return Word{*headword, foldKey(*headword), translations};
}

void merge(Word &word, const Word &other)
{
    if (preferredSpelling(other.headword, word.headword))
        word.headword = other.headword;
    for (const QString &translation : other.translations) {
        if (!word.translations.contains(translation))
            word.translations << translation;
    }
}

std::optional<PartOfSpeech> partOfSpeechOf(char type)
{
    if (type == 'v')
        return Verb;
    if (type == 'a' || type == 's')
        return Adjective;
    if (type == 'r')
        return Adverb;
    return std::nullopt;
}

void addSense(Idiom &idiom, const QByteArray &spelling, const IdiomSense &sense)
{
    const bool known =
        std::any_of(idiom.senses.cbegin(), idiom.senses.cend(), [&](const IdiomSense &s) {
            return s.partOfSpeech == sense.partOfSpeech && s.gloss == sense.gloss;
        });
    if (!known)
        idiom.senses << sense;
    if (preferredSpelling(spelling, idiom.text))
        idiom.text = spelling;
}

} // namespace

Words readWords(const BuildSources &sources, BuildReport &report, const Progress &say)
{
    Words result;
    say(QStringLiteral("reading %1").arg(sources.dictIndex));
    const dictd::Dictionary dictionary =
        dictd::read(sources.dictIndex, sources.dictData, sources.inflateLimit);
    if (dictionary.error) {
        result.error = dictionary.error;
        return result;
    }
    QHash<QString, qsizetype> wordAt;
    for (const dictd::Article &article : dictionary.articles) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(article.text);
        if (utf8.hasError()) {
            result.error = QStringLiteral("%1: the article \"%2\" is not UTF-8 text")
                               .arg(sources.dictData, QString::fromLatin1(article.key));
            return result;
        }
        if (isDatabaseArticle(article.key)) {
            if (article.key == "00databaseinfo" || article.key == "00-database-info")
                result.notice = text.toUtf8();
            continue;
        }
        ++report.articles;
        const std::optional<Word> word = wordOf(text, report);
        if (!word)
            continue;
        if (const auto it = wordAt.constFind(word->key); it != wordAt.cend()) {
            ++report.merged;
            merge(result.words[*it], *word);
            continue;
        }
        wordAt.insert(word->key, result.words.size());
        result.words << *word;
    }
    if (result.words.isEmpty()) {
        result.error = QStringLiteral("%1: no headword with a translation in its %2 articles")
                           .arg(sources.dictIndex)
                           .arg(report.articles);
        return result;
    }
    say(QStringLiteral("%1 articles, %2 distinct headwords")
            .arg(report.articles)
            .arg(result.words.size()));
    std::sort(result.words.begin(), result.words.end(), [](const Word &a, const Word &b) {
        return lessKeyed(a.key, a.headword, b.key, b.headword);
    });
    return result;
}

wordnet::Usage readUsage(const BuildSources &sources, const Progress &say)
{
    if (sources.wordnetCounts.isEmpty() && sources.wordnetIndexes.isEmpty() &&
        sources.wordnetExceptions.isEmpty())
        return {};
    say(QStringLiteral("reading %1").arg(sources.wordnetCounts));
    return wordnet::readUsage(sources.wordnetCounts, sources.wordnetIndexes,
                              sources.wordnetExceptions);
}

Idioms readIdioms(const QStringList &dataFiles, const Progress &say)
{
    Idioms result;
    QHash<QString, qsizetype> idiomAt;
    for (const QString &path : dataFiles) {
        say(QStringLiteral("reading %1").arg(path));
        const wordnet::Database database = wordnet::read(path);
        if (database.error) {
            result.error = database.error;
            return result;
        }
        if (result.licence.isEmpty())
            result.licence = database.licence;
        for (const wordnet::Sense &sense : database.senses) {
            const std::optional<PartOfSpeech> partOfSpeech = partOfSpeechOf(sense.type);
            if (!sense.lemma.contains('_') || !partOfSpeech)
                continue;
            const QString text = QString::fromLatin1(sense.lemma).replace(u'_', u' ').simplified();
            const auto bytes = western().bytesOf(text);
            if (!bytes || bytes->isEmpty())
                continue;
            const IdiomSense idiomSense{*partOfSpeech,
                                        cleanDefinition(QString::fromLatin1(sense.gloss))};
            const QString key = text.toCaseFolded();
            if (const auto it = idiomAt.constFind(key); it != idiomAt.cend()) {
                addSense(result.idioms[*it], *bytes, idiomSense);
                continue;
            }
            idiomAt.insert(key, result.idioms.size());
            result.idioms << Idiom{*bytes, key, {idiomSense}};
        }
    }
    std::sort(result.idioms.begin(), result.idioms.end(), [](const Idiom &a, const Idiom &b) {
        return lessKeyed(a.key, a.text, b.key, b.text);
    });
    return result;
}

} // namespace dataset
