// SPDX-License-Identifier: GPL-3.0-or-later
#include "datasetfixtures.h"

#include "platform/linereader.h"
#include "platform/rtfreader.h"
#include "store/letterbases.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <zlib.h>

namespace testsupport {

QList<QByteArray> readLines(const QString &path)
{
    QList<QByteArray> lines;
    auto reader = platform::LineReader::open(path, {});
    if (!reader)
        return lines;
    while (auto line = reader->readLine())
        lines << *line;
    return lines;
}

// The plain text of an index file, split at its line breaks (CR LF).
QList<QByteArray> indexLines(const QString &path)
{
    const QByteArray text = platform::rtfPlainText(readFile(path));
    QList<QByteArray> lines;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf("\r\n", start);
        if (end < 0)
            end = text.size();
        lines << text.mid(start, end - start);
        start = end + 2;
    }
    return lines;
}

store::SymbolCells arabicCells()
{
    store::SymbolCells cells;
    for (int k = 0; k < 36; ++k)
        cells[k] = QByteArray(1, char(0xc1 + k));
    return cells;
}

int letterIndex(char letter)
{
    return letter - 'a';
}

// A set with words around both ends of the definitions files and every letter's bounds.
dataset::DataSet smallSet()
{
    dataset::DataSet set;
    set.cells = arabicCells();
    set.tags[0] = "adj.";
    set.letters[letterIndex('a')] = {{"apple", "\xc1\xc2 1. x"}, {"Axe", "\xc3"}};
    // The last place of i is the last line of first.dll.
    const int lastOfI = *dataset::headwordCapacity(letterIndex('i'));
    for (int n = 0; n < lastOfI; ++n)
        set.letters[letterIndex('i')]
            << dataset::Entry{"i" + QByteArray::number(n), "def i " + QByteArray::number(n)};
    set.letters[letterIndex('j')] = {{"jam", "\xc4 j"}};
    set.letters[letterIndex('z')] = {{"zeal", "z1"}, {"zoo{\\}\xe9", "z2"}};
    set.idioms = {{"break down", "(verb) to fail"}, {"by and large", "adv. mostly"}};
    return set;
}

QString sourceFile(const QString &folder, const QString &name)
{
    return folder + u"/source/"_qs + name;
}

// --- fixtures of the builder: a dictd dictionary and WordNet data files ---

QByteArray base64Number(qint64 value)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray text;
    do {
        text.prepend(digits[value % 64]);
        value /= 64;
    } while (value > 0);
    return text;
}

QByteArray gzip(const QByteArray &data, const QString &path)
{
    gzFile file = gzopen(QFile::encodeName(path).constData(), "wb");
    gzwrite(file, data.constData(), unsigned(data.size()));
    gzclose(file);
    return readFile(path);
}

// Writes articles (UTF-8 text, first line "Headword /ipa/") as folder/test.index and
// folder/test.dict.dz.
DictFixture writeDict(const QString &folder, const QList<QByteArray> &articles)
{
    QByteArray data = "00-database-info\nTest dictionary, GPL-2+.\n";
    QByteArray index = "00databaseinfo\tA\t" + base64Number(data.size()) + "\n";
    for (const QByteArray &article : articles) {
        const QByteArray key = article.left(article.indexOf(' '));
        index +=
            key + '\t' + base64Number(data.size()) + '\t' + base64Number(article.size()) + '\n';
        data += article;
    }
    DictFixture fixture{folder + u"/test.index"_qs, folder + u"/test.dict.dz"_qs};
    writeFile(fixture.index, index);
    gzip(data, fixture.data);
    return fixture;
}

QByteArray wordnetLine(int offset, char type, const QList<QByteArray> &lemmas,
                       const QByteArray &gloss)
{
    QByteArray line = QByteArray::number(offset).rightJustified(8, '0') + " 00 " + type + ' ' +
                      QByteArray::number(lemmas.size(), 16).rightJustified(2, '0');
    for (const QByteArray &lemma : lemmas)
        line += ' ' + lemma + " 0";
    return line + " 000 | " + gloss + "  \n";
}

QStringList writeWordNet(const QString &folder)
{
    const QByteArray licence = "  1 This software and database is provided by Princeton.  \n"
                               "  2 WordNet 3.0 Copyright 2006 by Princeton University.  \n";
    writeFile(folder + u"/data.verb"_qs,
              licence + wordnetLine(100, 'v', {"break_down", "collapse"}, "stop working") +
                  wordnetLine(200, 'v', {"break_down"}, "lose control of one's emotions") +
                  wordnetLine(300, 'v', {"give_up"}, "use the verb form of surrender"));
    writeFile(folder + u"/data.adj"_qs,
              licence + wordnetLine(400, 'a', {"well_known(a)"}, "widely known") +
                  wordnetLine(500, 's', {"all_right"}, "adequate"));
    writeFile(folder + u"/data.adv"_qs,
              licence + wordnetLine(600, 'r', {"by_and_large"}, "mostly"));
    return {folder + u"/data.verb"_qs, folder + u"/data.adj"_qs, folder + u"/data.adv"_qs};
}

// The articles of the builder tests: words around the first/second boundary, a duplicate
// in other case, an initial that is no letter, a character Windows-1256 lacks.
QList<QByteArray> fixtureArticles()
{
    return {
        "apple /ap/\n\xd8\xaa\xd9\x81\xd8\xa7\xd8\xad\n",
        "ibis /ib/\n1. \xd8\xa7\xd8\xa8\xd9\x88\n2. \xd8\xb7\xd8\xa7\xd8\xa6\xd8\xb1\n",
        "jam /dj/\n\xd9\x85\xd8\xb1\xd8\xa8\xd9\x89 \xe2\x98\x83\n",
        "Bank /b/\n\xd8\xb6\xd9\x81\xd8\xa9\n",
        "bank /b/\n\xd9\x85\xd8\xb5\xd8\xb1\xd9\x81\n",
        "10th /t/\n\xd8\xa7\xd9\x84\xd8\xb9\xd8\xa7\xd8\xb4\xd8\xb1\n",
    };
}

// A file's lines split at CR LF, and written back.
QList<QByteArray> fileLines(const QString &path)
{
    QList<QByteArray> lines = readFile(path).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(line.endsWith('\r') ? 1 : 0);
    return lines;
}

void writeLines(const QString &path, const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    writeFile(path, bytes);
}

// The set that replaces smallSet() in the kill tests: one more idiom before "by and large",
// so that a list of one set read with the definitions of the other gives a wrong answer.
dataset::DataSet replacingSet()
{
    dataset::DataSet set = smallSet();
    set.idioms = {{"bear out", "(verb) new bear out"},
                  {"break down", "(verb) new break down"},
                  {"by and large", "adv. new by and large"}};
    return set;
}

// The terminal lookup, built beside the tests.
QString lookupTool()
{
    return QStringLiteral(VELLUMSTACK_TEST_PROGRAM_FOLDER
                          "/vellumstack-lookup" VELLUMSTACK_TEST_PROGRAM_SUFFIX);
}

LookupRun lookUpIdiom(const QString &folder, const QString &idiom)
{
    QProcess process;
    process.start(lookupTool(), {u"--data"_qs, folder, u"--idioms"_qs, u"--json"_qs, idiom});
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(),
            QJsonDocument::fromJson(process.readAllStandardOutput())
                .object()
                .value(u"definition"_qs)
                .toString(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QList<QByteArray> headwords(const QList<dataset::Entry> &entries)
{
    QList<QByteArray> words;
    for (const dataset::Entry &entry : entries)
        words << entry.headword;
    return words;
}

Fixture::Fixture(const QList<QByteArray> &articles)
{
    const DictFixture dict = writeDict(dir.path(), articles);
    sources.dictIndex = dict.index;
    sources.dictData = dict.data;
    sources.wordnetData = writeWordNet(dir.path());
}

} // namespace testsupport
