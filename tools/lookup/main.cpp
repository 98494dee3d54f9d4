// SPDX-License-Identifier: GPL-3.0-or-later
// vellumstack-lookup [--data FOLDER] [--idioms] [--json] TEXT
// vellumstack-lookup --help | --version
//
// Types TEXT character by character into an empty search box and presses Enter, in the
// lookup engine that the main window drives, and prints what the window then shows: the
// list, the caption beside "  Definitions for:" and the definition.
// Exit status: 0 when a definition was shown, 1 when nothing matched, 2 for bad usage, a
// data folder that cannot be read or a data set in the middle of an unfinished swap.

#include "dataset/folderswap.h"
#include "lookup/engine.h"

#include "platform/codepage.h"
#include "store/datafiles.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>

namespace {

enum ExitStatus { Shown = 0, NothingMatched = 1, BadUsage = 2 };

// What the main window shows after the lookup.
struct WindowView
{
    QList<QByteArray> list; // Windows-1252
    QByteArray caption;     // Label2, beside "  Definitions for:"; Windows-1252
    QByteArray definition;  // rr1; Windows-1256
    bool definitionShown = false;
    bool matched = false; // the last search step found the text
    std::optional<qint32> entryIndex;
    QByteArray stem;
};

// Types text into the window's engine, in idioms mode after answering No to the whole list,
// and presses Enter.
WindowView lookUp(const QString &folder, lookup::Mode mode, const QByteArray &text)
{
    lookup::Engine engine(folder);
    engine.loadTables();
    if (mode == lookup::Mode::Idioms) {
        engine.enterIdioms();
        engine.answerWholeList(lookup::WholeListAnswer::No);
    }

    WindowView view;
    // An empty text in idioms mode stands on the first idiom.
    view.matched = text.isEmpty() && mode == lookup::Mode::Idioms;
    for (qsizetype i = 1; i <= text.size(); ++i)
        view.matched = engine.textChanged(text.first(i)).matched;
    const lookup::DefinitionView shown = engine.search();

    view.list = engine.list();
    view.caption = shown.caption;
    view.definition = shown.lookup.definition;
    view.definitionShown = shown.lookup.definitionShown && shown.lookup.finished;
    view.entryIndex = engine.state().entryIndex;
    view.stem = engine.state().stem;
    return view;
}

QString western(const QByteArray &bytes)
{
    return platform::codepage::fromWestern(bytes);
}

// Control characters written as \xHH (\uHHHH beyond the first 256), so that neither the
// typed text nor the data set can move the cursor, retitle or recolour the terminal. Line
// breaks and tabs stay as they are where keepLayout says so.
QString escapeControls(const QString &text, bool keepLayout)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool control = u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029;
        if (!control || (keepLayout && (u == u'\n' || u == u'\t'))) {
            escaped += c;
            continue;
        }
        escaped += u < 0x100 ? QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'))
                             : QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
    }
    return escaped;
}

// Line breaks as a terminal shows them, every other control character escaped.
QString terminalText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return escapeControls(text, true);
}

void print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void printText(const WindowView &view)
{
    for (const QByteArray &item : view.list)
        print(escapeControls(western(item), false) + u'\n');
    // The label is one line high: it shows the caption up to its first line break.
    QString caption = western(view.caption);
    caption.truncate(caption.indexOf(QRegularExpression(QStringLiteral("[\r\n]"))));
    print(QLatin1String("\n  Definitions for:") + escapeControls(caption, false) + u'\n');
    if (view.definitionShown)
        print(terminalText(platform::codepage::fromArabic(view.definition)) + u'\n');
}

void printJson(const WindowView &view)
{
    QJsonArray list;
    for (const QByteArray &item : view.list)
        list.append(western(item));
    QJsonObject object;
    object[QLatin1String("list")] = list;
    object[QLatin1String("caption")] = western(view.caption);
    object[QLatin1String("definition")] =
        view.definitionShown ? platform::codepage::fromArabic(view.definition) : QString();
    object[QLatin1String("entry")] = view.entryIndex ? QJsonValue(*view.entryIndex) : QJsonValue();
    object[QLatin1String("stem")] = QString::fromLatin1(view.stem);
    // The writer escapes what JSON must (U+0000 to U+001F); DEL and the C1 controls, which
    // JSON lets through, are escaped as well. They can stand only inside strings.
    const QString json = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    QString escaped;
    escaped.reserve(json.size());
    for (const QChar c : json) {
        const char16_t u = c.unicode();
        if ((u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029)
            escaped += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    print(escaped + u'\n');
}

int fail(int status, const QString &message)
{
    std::fprintf(stderr, "vellumstack-lookup: %s\n",
                 escapeControls(message, false).toLocal8Bit().constData());
    return status;
}

bool readableFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vellumstack-lookup"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMSTACK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Looks TEXT up as the dictionary window does and prints the word list, the caption "
        "beside \"Definitions for:\" and the definition."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataOption(QStringLiteral("data"),
                                        QStringLiteral("The folder that holds source and source1 "
                                                       "(default: the folder of this program)."),
                                        QStringLiteral("FOLDER"));
    const QCommandLineOption idiomsOption(QStringLiteral("idioms"),
                                          QStringLiteral("Look up idioms and expressions."));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"),
        QStringLiteral("Print one JSON object: list, caption, definition, entry, stem."));
    parser.addOptions({dataOption, idiomsOption, jsonOption});
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("The text to type."));

    if (!parser.parse(app.arguments()))
        return fail(BadUsage, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        print(parser.helpText());
        return Shown;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        print(
            QStringLiteral("vellumstack-lookup %1\n").arg(QCoreApplication::applicationVersion()));
        return Shown;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return fail(BadUsage, QStringLiteral("give exactly one TEXT to look up (see --help)"));

    const QString folder = parser.isSet(dataOption)
                               ? QDir::cleanPath(QDir(parser.value(dataOption)).absolutePath())
                               : QCoreApplication::applicationDirPath();
    // Mid-swap the two folders may come from two different sets: no answer from a mix.
    if (dataset::swapInterrupted(folder))
        return fail(BadUsage, QStringLiteral("the data set in %1 is in the middle of an "
                                             "unfinished swap (%2); vellumstack-make-dataset "
                                             "--out %1 finishes it")
                                  .arg(folder, dataset::swapJournalPath(folder)));
    for (QStringView sub : {store::datafiles::kListFolder, store::datafiles::kIndexFolder}) {
        if (!readableFolder(store::datafiles::path(folder, sub.toString())))
            return fail(BadUsage,
                        QStringLiteral("cannot read the data folder %1/%2").arg(folder, sub));
    }

    // The search box holds Windows-1252 text; a character it cannot hold matches nothing.
    const QByteArray text = platform::codepage::toWestern(positional.front());
    const lookup::Mode mode =
        parser.isSet(idiomsOption) ? lookup::Mode::Idioms : lookup::Mode::Words;
    const WindowView view = lookUp(folder, mode, text);

    if (parser.isSet(jsonOption))
        printJson(view);
    else
        printText(view);

    if (!view.matched)
        return fail(NothingMatched,
                    QStringLiteral("nothing begins with \"%1\"").arg(positional.front()));
    if (!view.definitionShown)
        return fail(NothingMatched, QStringLiteral("no definition to show"));
    return Shown;
}
