// SPDX-License-Identifier: GPL-3.0-or-later
// vellumstack-make-dataset: builds a dictionary data set from a FreeDict dictd dictionary
// and WordNet 3.0 data files, or checks a data set.
//
//   vellumstack-make-dataset --out PROGRAM_FOLDER [--dict-index F] [--dict-data F]
//                            [--wordnet DIR] [--idioms N]
//   vellumstack-make-dataset --check PROGRAM_FOLDER
//   vellumstack-make-dataset --help | --version    (printed to stdout, status 0)
#include "dataset/builder.h"
#include "dataset/checker.h"
#include "dataset/dataset.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {

void printErr(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

int runCheck(const QString &folder)
{
    // Without a folder there is nothing to name file by file.
    if (const std::optional<QString> refusal = dataset::folderRefusal(folder)) {
        std::printf("%s: %s\n", qPrintable(folder), qPrintable(*refusal));
        return 1;
    }
    const QList<dataset::Problem> problems = dataset::check(folder);
    int fatal = 0;
    for (const dataset::Problem &problem : problems) {
        std::printf("%s\n", qPrintable(dataset::formatProblem(problem)));
        if (problem.fatal)
            ++fatal;
    }
    if (fatal > 0) {
        std::printf("%s: %d problems\n", qPrintable(folder), fatal);
        return 1;
    }
    std::printf("%s: the data set is sound\n", qPrintable(folder));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"vellumstack-make-dataset"_qs);
    QCoreApplication::setApplicationVersion(QStringLiteral(VELLUMSTACK_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Builds a Vellumstack data set (source/ and source1/ in a program folder) from a "
        "FreeDict dictd dictionary and WordNet 3.0, or checks one."_qs);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption check(u"check"_qs, u"Check the data set in FOLDER."_qs, u"FOLDER"_qs);
    const QCommandLineOption out(u"out"_qs, u"Write the data set into FOLDER."_qs, u"FOLDER"_qs);
    const QCommandLineOption dictIndex(u"dict-index"_qs, u"The dictd index."_qs, u"FILE"_qs,
                                       u"/usr/share/dictd/freedict-eng-ara.index"_qs);
    const QCommandLineOption dictData(u"dict-data"_qs, u"The dictd data (.dict.dz)."_qs, u"FILE"_qs,
                                      u"/usr/share/dictd/freedict-eng-ara.dict.dz"_qs);
    const QCommandLineOption wordnet(u"wordnet"_qs, u"The WordNet 3.0 database folder."_qs,
                                     u"DIR"_qs, u"/usr/share/wordnet"_qs);
    const QCommandLineOption idioms(u"idioms"_qs, u"How many idioms to choose."_qs, u"N"_qs,
                                    QString::number(store::kWholeIdiomListLines));
    const QCommandLineOption gpl(u"gpl"_qs, u"The GPL text to carry with the set."_qs, u"FILE"_qs,
                                 u"/usr/share/common-licenses/GPL-2"_qs);
    parser.addOptions({check, out, dictIndex, dictData, wordnet, idioms, gpl});
    parser.process(app);

    if (parser.isSet(check))
        return runCheck(parser.value(check));
    if (!parser.isSet(out)) {
        printErr(u"vellumstack-make-dataset: give --out FOLDER or --check FOLDER (see --help)"_qs);
        return 2;
    }
    bool idiomsOk = false;
    const int idiomCount = parser.value(idioms).toInt(&idiomsOk);
    if (!idiomsOk || idiomCount < 0) {
        printErr(u"vellumstack-make-dataset: --idioms needs a whole number"_qs);
        return 2;
    }

    QElapsedTimer timer;
    timer.start();
    // Before anything else: a swap that a killed run left unfinished is completed, and the
    // temporary folders of earlier runs go.
    bool finished = false;
    if (auto error = dataset::finishInterruptedWrite(parser.value(out), &finished)) {
        printErr(u"vellumstack-make-dataset: "_qs + *error);
        return 1;
    }
    if (finished)
        printErr(QStringLiteral("finished the interrupted swap of the data set in %1")
                     .arg(parser.value(out)));
    dataset::BuildSources sources;
    sources.dictIndex = parser.value(dictIndex);
    sources.dictData = parser.value(dictData);
    const QString wordnetFolder = parser.value(wordnet);
    for (const char *name : {"data.verb", "data.adj", "data.adv"})
        sources.wordnetData << wordnetFolder + u'/' + QLatin1StringView(name);
    sources.wordnetCounts = wordnetFolder + u"/cntlist.rev"_qs;
    for (const char *part : {"noun", "verb", "adj", "adv"}) {
        sources.wordnetIndexes << wordnetFolder + u"/index."_qs + QLatin1StringView(part);
        sources.wordnetExceptions << wordnetFolder + u'/' + QLatin1StringView(part) + u".exc"_qs;
    }
    sources.idioms = idiomCount;
    // The system's GPL text goes with the set where there is one; a text given by name must
    // be there.
    if (parser.isSet(gpl) || QFileInfo::exists(parser.value(gpl)))
        sources.gplText = parser.value(gpl);

    const dataset::Build built =
        dataset::build(sources, [](const QString &message) { printErr(message); });
    if (built.error) {
        printErr(u"vellumstack-make-dataset: "_qs + *built.error);
        return 1;
    }
    printErr(QStringLiteral("writing %1").arg(parser.value(out)));
    const dataset::WriteOutcome written = dataset::writeWithLoss(parser.value(out), built.set);
    if (written.error) {
        printErr(u"vellumstack-make-dataset: "_qs + *written.error);
        return 1;
    }
    std::printf("%s", qPrintable(dataset::formatReport(built.report)));
    std::printf("built in %.1f s\n", double(timer.elapsed()) / 1000.0);
    return 0;
}
