#include "dataset.h"

#include "rtfwriter.h"
#include "store/letterbases.h"
#include "store/textcode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

namespace dataset {

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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return std::nullopt;
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

bool isReservedName(const QString &name)
{
    static const QStringList reserved = [] {
        QStringList names{u"3.dll"_qs,   u"5.dll"_qs,  u"first.dll"_qs, u"second.dll"_qs,
                          u"alf.dll"_qs, u"sp.dll"_qs, u"idioms.hhh"_qs};
        for (int i = 0; i < 26; ++i)
            names << letterListName(i) << letterIndexName(i);
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
    const QString source = root + u"/source"_qs;
    const QString source1 = root + u"/source1"_qs;
    if (!QDir().mkpath(source) || !QDir().mkpath(source1))
        return QStringLiteral("cannot create folders in %1").arg(root);

    // Definitions by entry slot; slot base + 0 is the letter line, which has none.
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
        if (auto error = writeFile(source + u'/' + letterListName(i), joinLines(list)))
            return error;
        if (auto error = writeFile(source1 + u'/' + letterIndexName(i), rtfDocument(index)))
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
        for (qsizetype n = 0; n < entries.size(); ++n)
            definitionLines[base - offset + n + 1] =
                encodeCounted(entries[n].definition, set.cells, loss);
    }
    if (auto error = writeFile(source + u"/first.dll"_qs, joinLines(first)))
        return error;
    if (auto error = writeFile(source + u"/second.dll"_qs, joinLines(second)))
        return error;

    QList<QByteArray> idiomList, idiomIndex, idiomDefinitions;
    for (const Entry &entry : set.idioms) {
        idiomList << entry.headword;
        idiomIndex << "  " + entry.headword;
        idiomDefinitions << encodeCounted(entry.definition, set.cells, loss);
    }
    if (auto error = writeFile(source + u"/3.dll"_qs, joinLines(idiomList)))
        return error;
    if (auto error = writeFile(source + u"/5.dll"_qs, joinLines(idiomDefinitions)))
        return error;
    if (auto error = writeFile(source1 + u"/idioms.hhh"_qs, rtfDocument(idiomIndex)))
        return error;

    if (auto error = writeFile(source + u"/alf.dll"_qs,
                               joinLines(QList<QByteArray>(set.cells.begin(), set.cells.end()))))
        return error;
    if (auto error = writeFile(source + u"/sp.dll"_qs,
                               joinLines(QList<QByteArray>(set.tags.begin(), set.tags.end()))))
        return error;
    for (const auto &[name, bytes] : set.extraFiles) {
        if (auto error = writeFile(source + u'/' + name, bytes))
            return error;
    }
    return std::nullopt;
}

// Puts root/name in the place of programFolder/name; what stood there moves to
// root/old-name, so that it goes away with the temporary folder.
std::optional<QString> moveIntoPlace(const QString &root, const QString &programFolder,
                                     const QString &name)
{
    QDir dir;
    const QString target = programFolder + u'/' + name;
    const QString old = root + u"/old-"_qs + name;
    const bool hadOld = QFileInfo::exists(target);
    if (hadOld && !dir.rename(target, old))
        return QStringLiteral("cannot move the old %1 aside").arg(target);
    if (!dir.rename(root + u'/' + name, target)) {
        if (hadOld)
            dir.rename(old, target);
        return QStringLiteral("cannot move the new data into %1").arg(target);
    }
    return std::nullopt;
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

QString letterListName(int letterIndex)
{
    return QChar(u'a' + letterIndex) + u".dll"_qs;
}
QString letterIndexName(int letterIndex)
{
    return QChar(u'a' + letterIndex) + u".hhh"_qs;
}

WriteOutcome writeWithLoss(const QString &programFolder, const DataSet &set)
{
    WriteOutcome outcome;
    if (auto error = validate(set)) {
        outcome.error = error;
        return outcome;
    }
    if (!QDir().mkpath(programFolder)) {
        outcome.error = QStringLiteral("cannot create the folder %1").arg(programFolder);
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
    if (auto error = moveIntoPlace(temporary.path(), programFolder, u"source"_qs)) {
        outcome.error = error;
        return outcome;
    }
    if (auto error = moveIntoPlace(temporary.path(), programFolder, u"source1"_qs)) {
        // Put the old source back, so that the two folders still belong together.
        QDir dir;
        const QString target = programFolder + u"/source"_qs;
        const QString old = temporary.path() + u"/old-source"_qs;
        if (dir.rename(target, temporary.path() + u"/source"_qs) && QFileInfo::exists(old))
            dir.rename(old, target);
        outcome.error = error;
    }
    return outcome;
}

std::optional<QString> write(const QString &programFolder, const DataSet &set)
{
    return writeWithLoss(programFolder, set).error;
}

} // namespace dataset
