// SPDX-License-Identifier: GPL-3.0-or-later
#include "checker.h"

#include "dataset.h"
#include "folderswap.h"
#include "platform/linereader.h"
#include "platform/regularfile.h"
#include "platform/rtfreader.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/letterbases.h"
#include "store/textcode.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <array>

namespace dataset {

namespace datafiles = store::datafiles;

namespace {

// Like problems past this many in one file are only counted.
constexpr int kNamedPerFile = 10;

class Collector
{
public:
    void add(const QString &file, qint64 line, const QString &what, bool fatal = true)
    {
        const int named = m_named[file]++;
        if (named < kNamedPerFile)
            m_problems << Problem{file, line, what, fatal};
        else if (named == kNamedPerFile)
            m_overflow << file;
        if (named >= kNamedPerFile)
            ++m_more[file];
    }
    QList<Problem> take()
    {
        for (const QString &file : m_overflow)
            m_problems << Problem{
                file, 0, QStringLiteral("and %1 more problems like these").arg(m_more[file])};
        return std::move(m_problems);
    }

private:
    QList<Problem> m_problems;
    QHash<QString, int> m_named;
    QHash<QString, qint64> m_more;
    QStringList m_overflow;
};

// A start-up table file is read line by line here, so it is capped as a whole: its cells and
// a few lines more.
constexpr platform::FileCap kCheckedTable{40 * (platform::caps::kTableLine + 2),
                                          platform::caps::kTableLine};

QString dataFile(const QString &programFolder, const QString &relative)
{
    return store::DataFolder(programFolder).path(relative);
}

// Names a file the reader refused: missing, or there and refused.
void addRefused(Collector &problems, const QString &programFolder, const QString &relative,
                qint64 maxSize)
{
    const QString reason = platform::refusalReason(dataFile(programFolder, relative), maxSize);
    problems.add(relative, 0, reason == u"no such file" ? u"is missing"_qs : u"is "_qs + reason);
}

// The lines of a plain data file as the line reader gives them; std::nullopt when missing
// or refused, which is named. A line beyond the line cap is named too.
std::optional<QList<QByteArray>> readLines(Collector &problems, const QString &programFolder,
                                           const QString &relative, const platform::FileCap &cap)
{
    auto reader = platform::LineReader::open(dataFile(programFolder, relative), cap);
    if (!reader) {
        addRefused(problems, programFolder, relative, cap.size);
        return std::nullopt;
    }
    QList<QByteArray> lines;
    while (auto line = reader->readLine()) {
        lines << *line;
        if (reader->lastLineCut())
            problems.add(relative, lines.size(),
                         QStringLiteral("is longer than %1 bytes").arg(cap.line));
    }
    return lines;
}

// The lines of an index file's plain text, counted by its line breaks alone; std::nullopt
// when missing or refused, which is named.
std::optional<QList<QByteArray>> readIndex(Collector &problems, const QString &programFolder,
                                           const QString &relative)
{
    const qint64 cap = platform::caps::kIndex.size;
    const std::optional<QByteArray> file =
        platform::readRegularFile(dataFile(programFolder, relative), cap);
    if (!file) {
        addRefused(problems, programFolder, relative, cap);
        return std::nullopt;
    }
    const QByteArray text = platform::rtfPlainText(*file);
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines << text.mid(start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    // A final line break ends the last line; it opens no new one.
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

void checkAlignment(Collector &problems, const QString &listName, const QList<QByteArray> &list,
                    const QString &indexName, const QList<QByteArray> &index)
{
    const qsizetype common = std::min(list.size(), index.size());
    for (qsizetype n = 0; n < common; ++n) {
        if (index[n] != "  " + list[n])
            problems.add(
                indexName, n + 1,
                QStringLiteral("index line %1 is \"%2\", not two spaces and line %1 of %3 "
                               "(\"%4\")")
                    .arg(n)
                    .arg(QString::fromLatin1(index[n]), listName, QString::fromLatin1(list[n])));
    }
    if (index.size() != list.size())
        problems.add(indexName, 0,
                     QStringLiteral("has %1 lines, %2 has %3")
                         .arg(index.size())
                         .arg(listName)
                         .arg(list.size()));
}

void checkDefinitions(Collector &problems, const QString &name, const QList<QByteArray> &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        if (line.size() % 4 != 0) {
            problems.add(
                name, i + 1,
                QStringLiteral("trimmed length %1 is not a multiple of four").arg(line.size()));
            continue;
        }
        for (qsizetype p = 0; p < line.size(); p += 4) {
            if (!store::unitOfGroup(QByteArrayView(line).sliced(p, 4))) {
                problems.add(name, i + 1,
                             QStringLiteral("the group \"%1\" at position %2 matches no code")
                                 .arg(QString::fromLatin1(line.mid(p, 4)))
                                 .arg(p + 1));
                break;
            }
        }
    }
}

using Definitions = std::array<std::optional<QList<QByteArray>>, 2>;
const QString kDefinitionNames[2] = {datafiles::definitions("first"),
                                     datafiles::definitions("second")};

// A letter's list against its index, its capacity and the definitions file of its entries.
void checkLetter(Collector &problems, const QString &programFolder, int l,
                 const Definitions &definitions)
{
    const char letter = char('a' + l);
    const QString listName = datafiles::letterList(initialName(l));
    const QString indexName = datafiles::letterIndex(initialName(l));
    const auto list = readLines(problems, programFolder, listName, platform::caps::kList);
    const auto index = readIndex(problems, programFolder, indexName);
    if (list) {
        if (list->isEmpty() || list->first() != QByteArray(1, letter))
            problems.add(listName, 1,
                         QStringLiteral("line 0 is not the letter %1").arg(QChar(letter)));
        for (qsizetype n = 1; n < list->size(); ++n) {
            const QByteArray &headword = (*list)[n];
            if (headword.isEmpty() || (headword[0] | 0x20) != letter)
                problems.add(listName, n + 1,
                             QStringLiteral("\"%1\" does not begin with %2")
                                 .arg(QString::fromLatin1(headword))
                                 .arg(QChar(letter)));
        }
        const auto capacity = headwordCapacity(l);
        if (capacity && list->size() - 1 > *capacity)
            problems.add(listName, *capacity + 2,
                         QStringLiteral("%1 headwords, more than the %2 places of the letter")
                             .arg(list->size() - 1)
                             .arg(*capacity));
        // Every headword needs its line in the definitions file.
        const int base = store::kLetterBases[l].base;
        const int f = base < store::kSecondFileBoundary ? 0 : 1;
        const int lastEntry = base + int(list->size()) - 1;
        const int lastLine = lastEntry - (f == 0 ? 0 : store::kSecondFileBoundary) + 1;
        if (definitions[f] && list->size() > 1 && definitions[f]->size() < lastLine)
            problems.add(kDefinitionNames[f], 0,
                         QStringLiteral("ends at line %1; %2 needs line %3 for its last headword")
                             .arg(definitions[f]->size())
                             .arg(listName)
                             .arg(lastLine));
    }
    if (list && index)
        checkAlignment(problems, listName, *list, indexName, *index);
}

void checkIdioms(Collector &problems, const QString &programFolder)
{
    const QString listName = datafiles::idiomList();
    const QString indexName = datafiles::idiomIndex();
    const QString definitionsName = datafiles::idiomDefinitions();
    const auto idiomList = readLines(problems, programFolder, listName, platform::caps::kList);
    const auto idiomIndex = readIndex(problems, programFolder, indexName);
    const auto idiomDefinitions =
        readLines(problems, programFolder, definitionsName, platform::caps::kDefinitions);
    if (idiomDefinitions)
        checkDefinitions(problems, definitionsName, *idiomDefinitions);
    if (idiomList && idiomIndex)
        checkAlignment(problems, listName, *idiomList, indexName, *idiomIndex);
    if (idiomList && idiomDefinitions && idiomDefinitions->size() < idiomList->size())
        problems.add(definitionsName, 0,
                     QStringLiteral("has %1 lines for the %2 idioms of %3")
                         .arg(idiomDefinitions->size())
                         .arg(idiomList->size())
                         .arg(listName));
    if (idiomList && idiomList->size() < store::kWholeIdiomListLines)
        problems.add(listName, 0,
                     QStringLiteral("has %1 idioms; the whole list shows %2")
                         .arg(idiomList->size())
                         .arg(store::kWholeIdiomListLines),
                     false);
}

// The usage ranking may be missing (a set made before it was written): the lookup then offers
// close words in the order of the index, as it does when the file is refused.
void checkUsageRanking(Collector &problems, const QString &programFolder)
{
    const QString name = datafiles::usageRanking();
    const qint64 cap = platform::caps::kUsageRanking.size;
    if (platform::openRegularFile(dataFile(programFolder, name), cap))
        return;
    const QString reason = platform::refusalReason(dataFile(programFolder, name), cap);
    if (reason != u"no such file")
        problems.add(name, 0,
                     u"is "_qs + reason + u": close words are offered in the order of the index"_qs,
                     false);
}

} // namespace

std::optional<QString> folderRefusal(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    if (!folder.exists())
        return u"no such folder"_qs;
    if (!folder.isDir())
        return u"not a folder"_qs;
    return std::nullopt;
}

QList<Problem> check(const QString &programFolder)
{
    if (const std::optional<QString> refusal = folderRefusal(programFolder))
        return {Problem{QString(), 0, *refusal}};
    Collector problems;
    if (swapInterrupted(programFolder))
        problems.add(u".swap-journal"_qs, 0,
                     u"a swap of the data set was interrupted: source and source1 may come from "
                     "two sets (the next run of the builder finishes it)"_qs);
    const Definitions definitions = {
        readLines(problems, programFolder, kDefinitionNames[0], platform::caps::kDefinitions),
        readLines(problems, programFolder, kDefinitionNames[1], platform::caps::kDefinitions)};
    for (int f = 0; f < 2; ++f) {
        if (definitions[f])
            checkDefinitions(problems, kDefinitionNames[f], *definitions[f]);
    }
    if (definitions[0] && definitions[0]->size() != store::kSecondFileBoundary)
        problems.add(kDefinitionNames[0], 0,
                     QStringLiteral("has %1 lines, not one for each of the %2 entries below j")
                         .arg(definitions[0]->size())
                         .arg(store::kSecondFileBoundary));
    for (int l = 0; l < 26; ++l)
        checkLetter(problems, programFolder, l, definitions);
    checkIdioms(problems, programFolder);
    checkUsageRanking(problems, programFolder);

    const std::pair<QString, int> tables[] = {{datafiles::symbolTable(), 36},
                                              {datafiles::tagTable(), 21}};
    for (const auto &[name, size] : tables) {
        const auto lines = readLines(problems, programFolder, name, kCheckedTable);
        if (lines && lines->size() != size)
            problems.add(name, 0,
                         QStringLiteral("has %1 lines, not %2").arg(lines->size()).arg(size));
    }
    return problems.take();
}

QString formatProblem(const Problem &problem)
{
    QString text = problem.file;
    if (problem.line > 0)
        text += QStringLiteral(" line %1").arg(problem.line);
    text += (text.isEmpty() ? QString() : u": "_qs) + problem.what;
    if (!problem.fatal)
        text += u" (warning)"_qs;
    return text;
}

} // namespace dataset
