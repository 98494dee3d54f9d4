// SPDX-License-Identifier: GPL-3.0-or-later
#include "builder.h"

#include "dictd.h"
#include "platform/regularfile.h"
#include "ranking.h"
#include "store/textcode.h"
#include "wordnet.h"

#include <QHash>
#include <QMap>
#include <QStringDecoder>

#include <algorithm>
#include <map>

namespace dataset {

namespace {

// A single-byte code page as a table from characters to bytes. Bytes the code page leaves
// undefined are not in it.
class CodePage
{
public:
    explicit CodePage(const char *name)
    {
        for (int b = 1; b < 256; ++b) {
            QStringDecoder decoder(name, QStringConverter::Flag::Stateless);
            const QString c = decoder.decode(QByteArray(1, char(b)));
            if (c.size() == 1 && c[0] != QChar::ReplacementCharacter && !decoder.hasError())
                m_bytes.insert(c[0].unicode(), char(b));
            m_chars[b] = c.size() == 1 ? c[0].unicode() : 0xfffd;
        }
    }
    std::optional<char> byteOf(char16_t c) const
    {
        const auto it = m_bytes.constFind(c);
        if (it == m_bytes.cend())
            return std::nullopt;
        return *it;
    }
    char16_t charOf(char b) const { return m_chars[uchar(b)]; }

    // The text in bytes, when every character has one.
    std::optional<QByteArray> bytesOf(const QString &text) const
    {
        QByteArray bytes;
        bytes.reserve(text.size());
        for (QChar c : text) {
            const auto b = byteOf(c.unicode());
            if (!b)
                return std::nullopt;
            bytes.append(*b);
        }
        return bytes;
    }

private:
    QHash<char16_t, char> m_bytes;
    std::array<char16_t, 256> m_chars{};
};

const CodePage &western()
{
    static const CodePage page("windows-1252");
    return page;
}

const CodePage &arabic()
{
    static const CodePage page("windows-1256");
    return page;
}

QString collapseBlanks(const QString &text)
{
    return text.simplified();
}

// Of two spellings of one headword the one with fewer capitals is kept ("apple" over
// "Apple"); exact bytes decide the rest, so the choice does not hang on article order.
bool preferredSpelling(const QByteArray &a, const QByteArray &b)
{
    const auto capitals = [](const QByteArray &text) {
        return std::count_if(text.cbegin(), text.cend(),
                             [](char c) { return c >= 'A' && c <= 'Z'; });
    };
    if (capitals(a) != capitals(b))
        return capitals(a) < capitals(b);
    return a < b;
}

bool isLetterInitial(char c)
{
    const char lower = char(c | 0x20);
    return lower >= 'a' && lower <= 'z';
}

// Case-insensitive order of headwords; exact bytes break ties, so the order is total.
struct Keyed
{
    QString key;
    QByteArray bytes;
};
bool lessKeyed(const Keyed &a, const Keyed &b)
{
    if (const int c = a.key.compare(b.key); c != 0)
        return c < 0;
    return a.bytes < b.bytes;
}

QString foldKey(const QByteArray &western1252)
{
    QString text;
    text.reserve(western1252.size());
    for (char b : western1252)
        text.append(QChar(western().charOf(b)));
    return text.toCaseFolded();
}

// Counts characters and turns definition text into Windows-1256, leaving out (and counting)
// what the code page does not have.
struct ArabicConverter
{
    QMap<char32_t, qint64> notInCodePage;
    qint64 characters = 0;

    QByteArray convert(const QString &text)
    {
        QByteArray bytes;
        bytes.reserve(text.size());
        bool dropped = false;
        for (qsizetype i = 0; i < text.size(); ++i) {
            ++characters;
            const QChar c = text[i];
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++notInCodePage[QChar::surrogateToUcs4(c, text[i + 1])];
                ++i;
                dropped = true;
                continue;
            }
            if (const auto b = arabic().byteOf(c.unicode())) {
                bytes.append(*b);
            } else {
                ++notInCodePage[c.unicode()];
                dropped = true;
            }
        }
        // A character left out leaves no blank pair or blank end behind.
        return dropped ? bytes.simplified() : bytes;
    }
};

struct Word
{
    QByteArray headword; // Windows-1252
    QString key;         // case-folded headword
    QStringList translations;
};

QString numbered(const QStringList &items)
{
    if (items.size() == 1)
        return items.first();
    QStringList parts;
    for (qsizetype i = 0; i < items.size(); ++i)
        parts << QString::number(i + 1) + u". "_qs + items[i];
    return parts.join(u' ');
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

// The tags of the parts of speech of the idioms, and their spellings in order of
// preference. Each spelling must occur nowhere in the definitions but where the builder
// puts it (checked by bracketing every definition, see chooseTags).
enum PartOfSpeech { Verb, Adjective, Adverb, PartsOfSpeech };
const std::array<std::array<const char *, 3>, PartsOfSpeech> kTagSpellings{{
    {"verb", "verb.", "vb."},
    {"adj.", "adj:", "<adj>"},
    {"adv.", "adv:", "<adv>"},
}};

struct IdiomSense
{
    PartOfSpeech partOfSpeech;
    QString gloss;
    QByteArray bytes = {}; // the gloss in Windows-1256, once the idiom is chosen
};

struct Idiom
{
    QByteArray text; // Windows-1252
    QString key;
    QList<IdiomSense> senses;
};

// An idiom definition: its senses in order, each its part-of-speech tag and its gloss.
// bracketed gives the text as the tag bracketing should turn it out.
QByteArray idiomDefinition(const Idiom &idiom, const std::array<QByteArray, PartsOfSpeech> &tags,
                           bool bracketed)
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

// The tag bracketing of a shown definition: every tag in turn, each occurrence replaced by
// the tag without its outer blanks in parentheses and a space.
QByteArray bracketTags(QByteArray text, const QList<QByteArray> &tags)
{
    for (const QByteArray &tag : tags) {
        if (!tag.isEmpty())
            text.replace(tag, "(" + tag.trimmed() + ") ");
    }
    return text;
}

// What a definition turns into on the screen: the bytes the text code cannot hold are gone.
QByteArray encodable(const QByteArray &text, const std::array<bool, 256> &keeps)
{
    QByteArray kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (keeps[uchar(c)])
            kept.append(c);
    }
    return kept;
}

} // namespace

qint64 BuildReport::lostTotal() const
{
    qint64 total = 0;
    for (const LostCharacter &c : lost)
        total += c.count;
    return total;
}

QString cleanDefinition(const QString &text)
{
    QString cleaned;
    cleaned.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case 0x060C: // Arabic comma
        case 0x066C: // Arabic thousands separator
            cleaned += u',';
            continue;
        case 0x061B:
            cleaned += u';';
            continue;
        case 0x061F:
            cleaned += u'?';
            continue;
        case 0x066A:
            cleaned += u'%';
            continue;
        case 0x066B: // Arabic decimal separator
        case 0x06D4: // Arabic full stop
            cleaned += u'.';
            continue;
        case 0x0640: // tatweel
        case 0x061C: // Arabic letter mark
        case 0x200E: // left-to-right mark
        case 0x200F: // right-to-left mark
            continue;
        default:
            break;
        }
        if ((u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069))
            continue; // embeddings, overrides and isolates
        if (u >= 0x0660 && u <= 0x0669) {
            cleaned += QChar(u'0' + (u - 0x0660));
            continue;
        }
        if (u >= 0x06F0 && u <= 0x06F9) {
            cleaned += QChar(u'0' + (u - 0x06F0));
            continue;
        }
        if ((u >= 0xFB50 && u <= 0xFDFF) || (u >= 0xFE70 && u <= 0xFEFF)) {
            if (u != 0xFEFF) // the byte order mark is dropped
                cleaned += QString(c).normalized(QString::NormalizationForm_KC);
            continue;
        }
        cleaned += c;
    }
    return collapseBlanks(cleaned);
}

Build build(const BuildSources &sources, const Progress &progress)
{
    auto say = [&](const QString &message) {
        if (progress)
            progress(message);
    };
    Build result;
    BuildReport &report = result.report;
    DataSet &set = result.set;

    // Words.
    say(QStringLiteral("reading %1").arg(sources.dictIndex));
    const dictd::Dictionary dictionary =
        dictd::read(sources.dictIndex, sources.dictData, sources.inflateLimit);
    if (dictionary.error) {
        result.error = dictionary.error;
        return result;
    }
    QByteArray freeDictNotice;
    QHash<QString, qsizetype> wordAt;
    QList<Word> words;
    for (const dictd::Article &article : dictionary.articles) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(article.text);
        if (utf8.hasError()) {
            result.error = QStringLiteral("%1: the article \"%2\" is not UTF-8 text")
                               .arg(sources.dictData, QString::fromLatin1(article.key));
            return result;
        }
        if (article.key.startsWith("00database") || article.key.startsWith("00-database")) {
            if (article.key == "00databaseinfo" || article.key == "00-database-info")
                freeDictNotice = text.toUtf8();
            continue;
        }
        ++report.articles;
        QStringList lines = text.split(u'\n');
        QString headline = lines.takeFirst();
        if (const qsizetype ipa = headline.indexOf(u" /"); ipa >= 0)
            headline.truncate(ipa);
        headline = collapseBlanks(headline);
        const auto headword = western().bytesOf(headline);
        if (!headword) {
            ++report.notWestern;
            continue;
        }
        if (headword->isEmpty() || !isLetterInitial(headword->at(0))) {
            ++report.withoutLetter;
            continue;
        }
        QStringList translations;
        for (const QString &line : lines) {
            const QString translation = cleanDefinition(withoutNumber(line.trimmed()));
            if (!translation.isEmpty() && !translations.contains(translation))
                translations << translation;
        }
        if (translations.isEmpty()) {
            ++report.withoutDefinition;
            continue;
        }
        const QString key = foldKey(*headword);
        if (const auto it = wordAt.constFind(key); it != wordAt.cend()) {
            ++report.merged;
            Word &word = words[*it];
            if (preferredSpelling(*headword, word.headword))
                word.headword = *headword;
            for (const QString &translation : translations) {
                if (!word.translations.contains(translation))
                    word.translations << translation;
            }
            continue;
        }
        wordAt.insert(key, words.size());
        words << Word{*headword, key, translations};
    }
    // A source that gives no dictionary must not replace a set that is one.
    if (words.isEmpty()) {
        result.error = QStringLiteral("%1: no headword with a translation in its %2 articles")
                           .arg(sources.dictIndex)
                           .arg(report.articles);
        return result;
    }
    say(QStringLiteral("%1 articles, %2 distinct headwords")
            .arg(report.articles)
            .arg(words.size()));
    std::sort(words.begin(), words.end(), [](const Word &a, const Word &b) {
        return lessKeyed({a.key, a.headword}, {b.key, b.headword});
    });

    wordnet::Usage usage;
    if (!sources.wordnetCounts.isEmpty() || !sources.wordnetIndexes.isEmpty() ||
        !sources.wordnetExceptions.isEmpty()) {
        say(QStringLiteral("reading %1").arg(sources.wordnetCounts));
        usage = wordnet::readUsage(sources.wordnetCounts, sources.wordnetIndexes,
                                   sources.wordnetExceptions);
        if (usage.error) {
            result.error = usage.error;
            return result;
        }
    }
    // The headword that is the letter alone is the letter's own line 0; a letter with more
    // headwords than places keeps the most useful ones, still in alphabetical order.
    ArabicConverter converter;
    std::array<QList<const Word *>, 26> byLetter;
    for (const Word &word : words) {
        const int letter = (word.headword[0] | 0x20) - 'a';
        if (word.headword.size() == 1) {
            set.letterDefinitions[letter] = converter.convert(numbered(word.translations));
            report.ownEntry[letter] = true;
        } else {
            byLetter[letter] << &word;
        }
    }
    for (int letter = 0; letter < 26; ++letter) {
        QList<QByteArray> candidates;
        for (const Word *word : byLetter[letter])
            candidates << word->headword;
        const auto capacity = headwordCapacity(letter);
        const ranking::Choice choice =
            ranking::choose(candidates, capacity.value_or(candidates.size()), usage);
        for (qsizetype n : choice.kept) {
            const Word &word = *byLetter[letter][n];
            set.letters[letter] << Entry{word.headword,
                                         converter.convert(numbered(word.translations))};
        }
        report.entries[letter] = choice.kept.size();
        report.dropped[letter] = choice.dropped.size();
        for (qsizetype n : choice.dropped) {
            report.knownDrops[letter] += usage.knows(candidates[n]) ? 1 : 0;
            if (report.mostFrequentDropped[letter].size() < 10)
                report.mostFrequentDropped[letter]
                    << std::pair{candidates[n], usage.frequencyOf(candidates[n])};
        }
    }

    // Idioms.
    QByteArray wordNetLicence;
    QHash<QString, qsizetype> idiomAt;
    QList<Idiom> idioms;
    for (const QString &path : sources.wordnetData) {
        say(QStringLiteral("reading %1").arg(path));
        const wordnet::Database database = wordnet::read(path);
        if (database.error) {
            result.error = database.error;
            return result;
        }
        if (wordNetLicence.isEmpty())
            wordNetLicence = database.licence;
        for (const wordnet::Sense &sense : database.senses) {
            if (!sense.lemma.contains('_'))
                continue;
            PartOfSpeech partOfSpeech;
            if (sense.type == 'v')
                partOfSpeech = Verb;
            else if (sense.type == 'a' || sense.type == 's')
                partOfSpeech = Adjective;
            else if (sense.type == 'r')
                partOfSpeech = Adverb;
            else
                continue;
            const QString text = QString::fromLatin1(sense.lemma).replace(u'_', u' ').simplified();
            const auto bytes = western().bytesOf(text);
            if (!bytes || bytes->isEmpty())
                continue;
            const IdiomSense idiomSense{partOfSpeech,
                                        cleanDefinition(QString::fromLatin1(sense.gloss))};
            const QString key = text.toCaseFolded();
            if (const auto it = idiomAt.constFind(key); it != idiomAt.cend()) {
                Idiom &idiom = idioms[*it];
                const bool known = std::any_of(
                    idiom.senses.cbegin(), idiom.senses.cend(), [&](const IdiomSense &s) {
                        return s.partOfSpeech == partOfSpeech && s.gloss == idiomSense.gloss;
                    });
                if (!known)
                    idiom.senses << idiomSense;
                if (preferredSpelling(*bytes, idiom.text))
                    idiom.text = *bytes;
                continue;
            }
            idiomAt.insert(key, idioms.size());
            idioms << Idiom{*bytes, key, {idiomSense}};
        }
    }
    if (idioms.isEmpty() && sources.idioms > 0) {
        result.error = QStringLiteral("%1: no multi-word lemma to take idioms from")
                           .arg(sources.wordnetData.join(u", "_qs));
        return result;
    }
    std::sort(idioms.begin(), idioms.end(), [](const Idiom &a, const Idiom &b) {
        return lessKeyed({a.key, a.text}, {b.key, b.text});
    });
    report.idiomCandidates = idioms.size();
    // Evenly spread over the sorted list, so that every initial keeps its share.
    QList<Idiom> chosen;
    const qsizetype wanted = std::min<qsizetype>(std::max(sources.idioms, 0), idioms.size());
    for (qsizetype i = 0; i < wanted; ++i)
        chosen << idioms[qsizetype(qint64(i) * idioms.size() / wanted)];
    report.idioms = chosen.size();
    say(QStringLiteral("%1 multi-word lemmas, %2 idioms chosen")
            .arg(report.idiomCandidates)
            .arg(report.idioms));

    for (Idiom &idiom : chosen) {
        for (IdiomSense &sense : idiom.senses)
            sense.bytes = converter.convert(sense.gloss);
    }
    // The tags are plain ASCII; the glosses alone decide the symbol cells.
    const std::array<QByteArray, PartsOfSpeech> noTags{};
    QList<QByteArray> idiomBodies;
    for (const Idiom &idiom : chosen)
        idiomBodies << idiomDefinition(idiom, noTags, false);

    // Symbol cells: the most frequent bytes outside the fixed alphabet.
    say(QStringLiteral("choosing the symbol cells"));
    std::array<qint64, 256> frequency{};
    auto countBytes = [&](const QByteArray &bytes) {
        for (char c : bytes)
            ++frequency[uchar(c)];
    };
    for (const auto &letter : set.letters) {
        for (const Entry &entry : letter)
            countBytes(entry.definition);
    }
    for (const QByteArray &definition : set.letterDefinitions)
        countBytes(definition);
    for (const QByteArray &body : idiomBodies)
        countBytes(body);
    std::array<int, 256> order;
    for (int b = 0; b < 256; ++b)
        order[b] = b;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return frequency[a] > frequency[b]; });
    std::array<bool, 256> keeps{};
    int cells = 0;
    for (int b : order) {
        if (store::isFixedCharacter(char(b))) {
            keeps[b] = true;
            continue;
        }
        if (cells < 36 && frequency[b] > 0) {
            set.cells[cells++] = QByteArray(1, char(b));
            keeps[b] = true;
        }
    }

    // Tags: the first spelling that brackets exactly where the builder put a tag.
    say(QStringLiteral("choosing the tags"));
    std::optional<std::array<QByteArray, PartsOfSpeech>> tags;
    // Every combination of spellings, the preferred ones first.
    for (int combination = 0; combination < 27 && !tags; ++combination) {
        std::array<QByteArray, PartsOfSpeech> candidate;
        for (int p = 0, rest = combination; p < PartsOfSpeech; ++p, rest /= 3)
            candidate[PartsOfSpeech - 1 - p] = kTagSpellings[PartsOfSpeech - 1 - p][rest % 3];
        const QList<QByteArray> list(candidate.begin(), candidate.end());
        bool sound = true;
        for (qsizetype i = 0; sound && i < chosen.size(); ++i) {
            const QByteArray raw = encodable(idiomDefinition(chosen[i], candidate, false), keeps);
            const QByteArray shown = encodable(idiomDefinition(chosen[i], candidate, true), keeps);
            sound = bracketTags(raw, list) == shown;
        }
        for (qsizetype l = 0; sound && l < 26; ++l) {
            QList<QByteArray> definitions{set.letterDefinitions[l]};
            for (const Entry &entry : set.letters[l])
                definitions << entry.definition;
            for (const QByteArray &definition : definitions) {
                const QByteArray shown = encodable(definition, keeps);
                if (bracketTags(shown, list) != shown) {
                    sound = false;
                    break;
                }
            }
        }
        if (sound)
            tags = candidate;
    }
    if (tags) {
        for (int p = 0; p < PartsOfSpeech; ++p) {
            set.tags[p] = (*tags)[p];
            report.tags << (*tags)[p];
        }
    }
    // Without sound tags the parts of speech stand in the text already in parentheses.
    const std::array<QByteArray, PartsOfSpeech> written =
        tags ? *tags
             : std::array<QByteArray, PartsOfSpeech>{kTagSpellings[0][0], kTagSpellings[1][0],
                                                     kTagSpellings[2][0]};
    for (const Idiom &idiom : chosen)
        set.idioms << Entry{idiom.text, idiomDefinition(idiom, written, !tags)};

    // What is lost: characters the code page lacks, bytes the text code cannot hold.
    report.definitionCharacters = converter.characters;
    for (auto it = converter.notInCodePage.cbegin(); it != converter.notInCodePage.cend(); ++it)
        report.lost << LostCharacter{it.key(), it.value(), true};
    for (int b = 0; b < 256; ++b) {
        if (!keeps[b] && frequency[b] > 0)
            report.lost << LostCharacter{arabic().charOf(char(b)), frequency[b], false};
    }
    std::stable_sort(
        report.lost.begin(), report.lost.end(),
        [](const LostCharacter &a, const LostCharacter &b) { return a.count > b.count; });

    // Licence notices.
    QByteArray notice =
        "This data set is made from two dictionaries.\n\n"
        "The words and their translations come from the English-Arabic FreeDict dictionary,\n"
        "available under the GNU General Public License, version 2 or (at your option) any\n"
        "later version. Its own notice follows.\n\n" +
        freeDictNotice +
        "\n\nThe idioms and their glosses come from WordNet 3.0, under the following licence.\n\n" +
        wordNetLicence;
    notice.replace("\r\n", "\n");
    notice.replace('\n', "\r\n");
    set.extraFiles << std::pair{u"NOTICE.txt"_qs, notice};
    // The notice says the GPL text is carried: a set without it when one was asked for is
    // not written.
    if (!sources.gplText.isEmpty()) {
        const std::optional<QByteArray> gpl =
            platform::readRegularFile(sources.gplText, platform::caps::kLicenceText.size);
        if (!gpl) {
            result.error =
                QStringLiteral("%1: cannot read: %2")
                    .arg(sources.gplText, platform::refusalReason(
                                              sources.gplText, platform::caps::kLicenceText.size));
            return result;
        }
        set.extraFiles << std::pair{u"GPL-2.txt"_qs, *gpl};
    }
    return result;
}

QString formatReport(const BuildReport &report)
{
    QString text;
    text += QStringLiteral("articles read: %1 (no letter initial: %2, not Windows-1252: %3, "
                           "no translation: %4, merged duplicates: %5)\n")
                .arg(report.articles)
                .arg(report.withoutLetter)
                .arg(report.notWestern)
                .arg(report.withoutDefinition)
                .arg(report.merged);
    text += u"entries per letter (* the letter's own entry on line 0):\n"_qs;
    qint64 total = 0;
    for (int l = 0; l < 26; ++l) {
        const auto capacity = headwordCapacity(l);
        text += QStringLiteral("  %1%2 %3 of %4")
                    .arg(QChar(u'a' + l))
                    .arg(QChar(report.ownEntry[l] ? u'*' : u' '))
                    .arg(report.entries[l], 6)
                    .arg(capacity ? QString::number(*capacity) : u"(no bound)"_qs);
        if (report.dropped[l] > 0) {
            QStringList most;
            for (const auto &[headword, frequency] : report.mostFrequentDropped[l])
                most << QStringLiteral("%1 (%2)").arg(QString::fromLatin1(headword)).arg(frequency);
            text += QStringLiteral("  dropped %1, %2 of them known to WordNet; the most "
                                   "frequent: %3")
                        .arg(report.dropped[l])
                        .arg(report.knownDrops[l])
                        .arg(most.join(u", "_qs));
        }
        text += u'\n';
        total += report.entries[l];
    }
    text += QStringLiteral("words: %1\n").arg(total);
    text += QStringLiteral("idioms: %1 (of %2 multi-word lemmas)\n")
                .arg(report.idioms)
                .arg(report.idiomCandidates);
    QStringList tags;
    for (const QByteArray &tag : report.tags)
        tags << QString::fromLatin1(tag);
    text += QStringLiteral("tags: %1\n").arg(tags.isEmpty() ? u"none"_qs : tags.join(u", "_qs));
    const double characters = std::max<double>(1, report.definitionCharacters);
    text += QStringLiteral("characters not encoded: %1 of %2 (%3 %)\n")
                .arg(report.lostTotal())
                .arg(report.definitionCharacters)
                .arg(100.0 * report.lostTotal() / characters, 0, 'f', 3);
    for (const LostCharacter &lost : report.lost) {
        text += QStringLiteral("  U+%1 %2 %3 (%4 %)%5\n")
                    .arg(qulonglong(lost.character), 4, 16, QChar(u'0'))
                    .arg(QString::fromUcs4(&lost.character, 1))
                    .arg(lost.count)
                    .arg(100.0 * lost.count / characters, 0, 'f', 4)
                    .arg(lost.notInCodePage ? u", not in Windows-1256"_qs : QString());
    }
    return text;
}

} // namespace dataset
