// SPDX-License-Identifier: GPL-3.0-or-later
#include "dataset.h"

#include "folderswap.h"
#include "platform/atomicwrite.h"
#include "rtfwriter.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/letterbases.h"
#include "store/textcode.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace dataset {

namespace datafiles = store::datafiles;

namespace {

constexpr char kLineEnd[] = "\r\n";

bool hasLineBreak(QByteArrayView text)
{
    return text.contains('\r') || text.contains('\n');
}

QByteArray joinLines(const QList<QByteArray> &lines)
{
    qsizetype size = 0;
    for (const QByteArray &line : lines)
        size += line.size() + 2;
    QByteArray text;
    text.reserve(size);
    for (const QByteArray &line : lines) {
        text.append(line);
        text.append(kLineEnd);
    }
    return text;
}

std::optional<QString> writeFile(const QString &path, const QByteArray &bytes)
{
    return platform::writeFileSynced(path, bytes);
}

// Encodes one definition and counts what the code could not hold.
QByteArray encodeCounted(const QByteArray &definition, const store::SymbolCells &cells,
                         EncodingLoss &loss)
{
    store::Encoded encoded = store::encode(definition, cells);
    loss.definitionBytes += definition.size();
    for (char c : encoded.unencodable)
        ++loss.lostBytes[uchar(c)];
    return encoded.line;
}

// The name of any file of the set, in either folder.
bool isReservedName(const QString &name)
{
    static const QStringList reserved = [] {
        QStringList names;
        for (const QString &file : datafiles::all() + datafiles::optional())
            names << file.section(u'/', -1);
        return names;
    }();
    return reserved.contains(name, Qt::CaseInsensitive);
}

std::optional<QString> validate(const DataSet &set)
{
    for (int i = 0; i < 26; ++i) {
        const char letter = char('a' + i);
        const auto capacity = headwordCapacity(i);
        if (capacity && set.letters[i].size() > *capacity)
            return QStringLiteral("letter %1 has %2 headwords, more than its %3 places")
                .arg(QChar(letter))
                .arg(set.letters[i].size())
                .arg(*capacity);
        for (const Entry &entry : set.letters[i]) {
            if (hasLineBreak(entry.headword))
                return QStringLiteral("a headword of letter %1 holds a line break")
                    .arg(QChar(letter));
        }
    }
    for (const Entry &entry : set.idioms) {
        if (hasLineBreak(entry.headword))
            return QStringLiteral("an idiom holds a line break");
    }
    for (const QByteArray &headword : set.usage) {
        if (hasLineBreak(headword))
            return QStringLiteral("a headword of the usage ranking holds a line break");
    }
    for (const QByteArray &cell : set.cells) {
        if (hasLineBreak(cell))
            return QStringLiteral("a symbol cell holds a line break");
    }
    for (const QByteArray &tag : set.tags) {
        if (hasLineBreak(tag))
            return QStringLiteral("a tag holds a line break");
    }
    for (const auto &[name, bytes] : set.extraFiles) {
        if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') ||
            name.startsWith(u'.') || isReservedName(name))
            return QStringLiteral("the extra file name \"%1\" is not allowed").arg(name);
    }
    return std::nullopt;
}

// Writes source/ and source1/ below root.
std::optional<QString> writeInto(const QString &root, const DataSet &set, EncodingLoss &loss)
{
    const store::DataFolder data(root);
    const auto file = [&data](const QString &relative) { return data.path(relative); };
    for (const QString &folder : {data.listFolder(), data.indexFolder()}) {
        if (auto error = platform::makeFolders(folder))
            return error;
    }

    // Definitions by entry slot; slot base + 0 is the letter line.
    QList<QByteArray> first(store::kSecondFileBoundary);
    QList<QByteArray> second;
    for (int i = 0; i < 26; ++i) {
        const QList<Entry> &entries = set.letters[i];
        const QByteArray letter(1, char('a' + i));

        QList<QByteArray> list{letter};
        QList<QByteArray> index{"  " + letter};
        list.reserve(entries.size() + 1);
        index.reserve(entries.size() + 1);
        for (const Entry &entry : entries) {
            list << entry.headword;
            index << "  " + entry.headword;
        }
        if (auto error = writeFile(file(datafiles::letterList(initialName(i))), joinLines(list)))
            return error;
        if (auto error =
                writeFile(file(datafiles::letterIndex(initialName(i))), rtfDocument(index)))
            return error;

        const int base = store::kLetterBases[i].base;
        const bool inFirst = base < store::kSecondFileBoundary;
        const int offset = inFirst ? 0 : store::kSecondFileBoundary;
        QList<QByteArray> &definitionLines = inFirst ? first : second;
        // Each letter owns its slots up to the next letter's base, used or not.
        const qsizetype end = i + 1 < 26 ? store::kLetterBases[i + 1].base - offset
                                         : base - offset + entries.size() + 1;
        if (definitionLines.size() < end)
            definitionLines.resize(end);
        if (!set.letterDefinitions[i].isEmpty())
            definitionLines[base - offset] =
                encodeCounted(set.letterDefinitions[i], set.cells, loss);
        for (qsizetype n = 0; n < entries.size(); ++n)
            definitionLines[base - offset + n + 1] =
                encodeCounted(entries[n].definition, set.cells, loss);
    }
    if (auto error = writeFile(file(datafiles::definitions("first")), joinLines(first)))
        return error;
    if (auto error = writeFile(file(datafiles::definitions("second")), joinLines(second)))
        return error;

    QList<QByteArray> idiomList, idiomIndex, idiomDefinitions;
    for (const Entry &entry : set.idioms) {
        idiomList << entry.headword;
        idiomIndex << "  " + entry.headword;
        idiomDefinitions << encodeCounted(entry.definition, set.cells, loss);
    }
    if (auto error = writeFile(file(datafiles::idiomList()), joinLines(idiomList)))
        return error;
    if (auto error = writeFile(file(datafiles::idiomDefinitions()), joinLines(idiomDefinitions)))
        return error;
    if (auto error = writeFile(file(datafiles::idiomIndex()), rtfDocument(idiomIndex)))
        return error;

    if (auto error = writeFile(file(datafiles::symbolTable()),
                               joinLines(QList<QByteArray>(set.cells.begin(), set.cells.end()))))
        return error;
    if (auto error = writeFile(file(datafiles::tagTable()),
                               joinLines(QList<QByteArray>(set.tags.begin(), set.tags.end()))))
        return error;
    if (auto error = writeFile(file(datafiles::usageRanking()), joinLines(set.usage)))
        return error;
    for (const auto &[name, bytes] : set.extraFiles) {
        if (auto error = writeFile(file(datafiles::listFolderFile(name)), bytes))
            return error;
    }
    // The names of the new files reach the disk before the folders are moved into place.
    for (const QString &folder : {data.listFolder(), data.indexFolder(), root}) {
        if (auto error = platform::syncFolder(folder))
            return error;
    }
    return std::nullopt;
}

// The temporary folders of the writer: ".dataset-" and six letters or digits.
bool isTemporaryName(const QString &name)
{
    static const QRegularExpression pattern(u"^\\.dataset-[A-Za-z0-9]{6}$"_qs);
    return pattern.match(name).hasMatch();
}

} // namespace

qint64 EncodingLoss::lostTotal() const
{
    qint64 total = 0;
    for (qint64 count : lostBytes)
        total += count;
    return total;
}

std::optional<int> headwordCapacity(int letterIndex)
{
    const auto capacity = store::letterCapacity(char('a' + letterIndex));
    if (!capacity)
        return std::nullopt;
    return *capacity - 1;
}

QString initialName(int letterIndex)
{
    return QChar(u'a' + letterIndex);
}

namespace {

// What finishInterruptedWrite() does, for a caller that holds the folder's lock.
std::optional<QString> finishUnderLock(const QString &programFolder, bool *finished)
{
    if (auto error = finishSwap(programFolder, finished))
        return error;
    const QDir folder(programFolder);
    for (const QString &name : folder.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (isTemporaryName(name)) {
            if (auto error = platform::removeAll(folder.filePath(name)))
                return error;
        }
    }
    return std::nullopt;
}

} // namespace

WriteOutcome writeWithLoss(const QString &programFolder, const DataSet &set)
{
    WriteOutcome outcome;
    if (auto error = validate(set)) {
        outcome.error = error;
        return outcome;
    }
    if (auto error = platform::makeFolders(programFolder)) {
        outcome.error = error;
        return outcome;
    }
    // Held to the end of the swap: another run must neither clean up this run's temporary
    // folder nor swap at the same time.
    FolderLock lock;
    if (auto error = FolderLock::take(programFolder, &lock)) {
        outcome.error = error;
        return outcome;
    }
    if (auto error = finishUnderLock(programFolder, nullptr)) {
        outcome.error = error;
        return outcome;
    }
    // The temporary folder lies inside the program folder, so that moving it into place is
    // a rename on one file system.
    QTemporaryDir temporary(programFolder + u"/.dataset-XXXXXX"_qs);
    if (!temporary.isValid()) {
        outcome.error =
            QStringLiteral("cannot write into %1: %2").arg(programFolder, temporary.errorString());
        return outcome;
    }
    if (auto error = writeInto(temporary.path(), set, outcome.loss)) {
        outcome.error = error;
        return outcome;
    }
    // From the journal on, the temporary folder belongs to the swap: a swap that fails
    // half-way is finished by the next run, which needs what the folder holds.
    temporary.setAutoRemove(false);
    if (auto error =
            swapFolders(programFolder, temporary.path(),
                        {datafiles::kListFolder.toString(), datafiles::kIndexFolder.toString()})) {
        if (swapInterrupted(programFolder))
            *error += u" (the next run of the builder finishes the swap)"_qs;
        else
            platform::removeAll(temporary.path());
        outcome.error = error;
    }
    return outcome;
}

std::optional<QString> finishInterruptedWrite(const QString &programFolder, bool *finished)
{
    FolderLock lock;
    if (auto error = FolderLock::take(programFolder, &lock))
        return error;
    return finishUnderLock(programFolder, finished);
}

std::optional<QString> write(const QString &programFolder, const DataSet &set)
{
    return writeWithLoss(programFolder, set).error;
}

} // namespace dataset
