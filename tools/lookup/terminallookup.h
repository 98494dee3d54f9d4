// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lookup/mode.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What the terminal lookup does between its command line and its output: it types a text
// into the lookup engine the main window drives, presses Enter, and writes what the window
// then shows as text or as one JSON object, safe for a terminal.
namespace terminallookup {

enum ExitStatus { Shown = 0, NothingMatched = 1, BadUsage = 2 };

// What the main window shows after the lookup, and what the last search step found.
struct WindowView
{
    QString typed;          // the text as given
    QList<QByteArray> list; // Windows-1252
    QByteArray caption;     // Label2, beside "  Definitions for:"; Windows-1252
    QByteArray definition;  // rr1; Windows-1256
    bool definitionShown = false;
    bool matched = false; // the last search step found the text
    // When it did not: the headwords closest to the text, best first; Windows-1252.
    QList<QByteArray> closeWords;
    std::optional<qint32> entryIndex;
    QByteArray stem;
};

// Types text character by character into an empty search box of an engine on the data set
// in folder, in idioms mode after answering No to the whole list, and presses Enter. The
// search box holds Windows-1252 text: a character it cannot hold matches nothing.
WindowView lookUp(const QString &folder, lookup::Mode mode, const QString &text);

// Whether a terminal takes the character for a control: C0, DEL, C1, and the line and
// paragraph separators.
bool isTerminalControl(char16_t u);

// Every terminal control written as \xHH (\uHHHH beyond the first 256), so that neither the
// typed text nor the data set can move the cursor, retitle or recolour the terminal. Line
// breaks and tabs stay as they are where keepLayout says so.
QString escapeControls(const QString &text, bool keepLayout);

// The output as text. A text that matched nothing is said first, with the close words, and
// what the window then shows follows as the nearest entry: its list, the caption beside
// "  Definitions for:" and the definition.
QString textOutput(const WindowView &view);

// The output as one line of JSON: list, caption, definition, entry, stem, found, headword,
// close_words. The terminal controls that JSON lets through stand as \u escapes.
QString jsonOutput(const WindowView &view);

// The exit status, and the message for the error output when it is not Shown.
struct Outcome
{
    ExitStatus status = Shown;
    QString message;
};
Outcome outcome(const WindowView &view);

} // namespace terminallookup
