// SPDX-License-Identifier: GPL-3.0-or-later
// vellumstack-lookup [--data FOLDER] [--idioms] [--json] TEXT
// vellumstack-lookup --help | --version
//
// Types TEXT character by character into an empty search box and presses Enter, in the
// lookup engine that the main window drives, and prints what the window then shows: the
// list, the caption beside "  Definitions for:" and the definition. A text that matches
// nothing is said first, with the headwords closest to it.
// Exit status: 0 when a definition was shown, 1 when nothing matched, 2 for bad usage, a
// data folder that cannot be read or a data set in the middle of an unfinished swap.

#include "terminallookup.h"

#include "dataset/folderswap.h"
#include "store/datafiles.h"
#include "store/datafolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

using terminallookup::BadUsage;
using terminallookup::Shown;

void print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

int fail(int status, const QString &message)
{
    std::fprintf(stderr, "vellumstack-lookup: %s\n",
                 terminallookup::escapeControls(message, false).toLocal8Bit().constData());
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
        QStringLiteral("Print one JSON object: list, caption, definition, entry, stem, found, "
                       "headword, close_words."));
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
    const store::DataFolder data(folder);
    for (const QString &sub : {data.listFolder(), data.indexFolder()}) {
        if (!readableFolder(sub))
            return fail(BadUsage, QStringLiteral("cannot read the data folder %1").arg(sub));
    }

    const lookup::Mode mode =
        parser.isSet(idiomsOption) ? lookup::Mode::Idioms : lookup::Mode::Words;
    const terminallookup::WindowView view =
        terminallookup::lookUp(folder, mode, positional.front());

    print(parser.isSet(jsonOption) ? terminallookup::jsonOutput(view)
                                   : terminallookup::textOutput(view));
    const terminallookup::Outcome outcome = terminallookup::outcome(view);
    if (outcome.status != Shown)
        return fail(outcome.status, outcome.message);
    return Shown;
}
