// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cellchoice.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <utility>

// The last stage of the builder: what it read, kept, dropped and could not encode.
namespace dataset {

struct ArabicConverter;
class NearestLetters;

struct LostCharacter
{
    char32_t character = 0;
    qint64 count = 0;
    bool notInCodePage = false; // Windows-1256 has no such character at all
};

struct ReplacedCharacter
{
    char32_t character = 0;
    char16_t letter = 0; // the nearest letter written in its place
    qint64 count = 0;
};

struct BuildReport
{
    qint64 articles = 0;                 // articles read, the dictionary's own ones not counted
    qint64 withoutLetter = 0;            // headwords that begin with no letter a..z
    qint64 notWestern = 0;               // headwords that Windows-1252 cannot hold
    qint64 withoutDefinition = 0;        // articles that carry no translation
    qint64 merged = 0;                   // articles merged into an earlier one of the same headword
    qint64 softwareStrings = 0;          // headwords left out as strings of a program
    std::array<qint64, 26> entries{};    // headwords written, per letter
    std::array<bool, 26> ownEntry{};     // the letter alone had an entry, written on line 0
    std::array<qint64, 26> dropped{};    // headwords over the letter's capacity, left out
    std::array<qint64, 26> knownDrops{}; // of the dropped ones, those that WordNet has
    qint64 idiomCandidates = 0;          // distinct multi-word lemmas
    qint64 idioms = 0;                   // idioms written
    QList<QByteArray> tags;              // the tags chosen
    qint64 definitionCharacters = 0;     // characters of all definitions, lost ones included
    QList<ReplacedCharacter> replaced;   // by the nearest letter, most frequent first
    QList<LostCharacter> lost;           // left out, most frequent first
    // Per letter, the most useful of the dropped headwords (ten at most) with their sense
    // frequency.
    std::array<QList<std::pair<QByteArray, qint64>>, 26> mostFrequentDropped;
    qint64 replacedTotal() const;
    qint64 lostTotal() const;
};

// What is replaced by the nearest letter, most frequent first: on the way into the code page
// and where the text code does not hold a byte.
QList<ReplacedCharacter> replacedCharacters(const ArabicConverter &converter,
                                            const NearestLetters &nearest);

// What is lost, most frequent first: the characters the code page lacks, and the bytes of
// the definitions that the text code does not hold and has no near letter for.
QList<LostCharacter> lostCharacters(const ArabicConverter &converter, const ByteCounts &frequency,
                                    const NearestLetters &nearest);

// The report as the builder prints it at the end of a run.
QString formatReport(const BuildReport &report);

} // namespace dataset
