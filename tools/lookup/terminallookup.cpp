// SPDX-License-Identifier: GPL-3.0-or-later
#include "terminallookup.h"

#include "lookup/caption.h"
#include "lookup/engine.h"
#include "platform/codepage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace terminallookup {

namespace {

QString western(const QByteArray &bytes)
{
    return platform::codepage::fromWestern(bytes);
}

QString escaped(char16_t u)
{
    return u < 0x100 ? QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'))
                     : QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
}

// Line breaks as a terminal shows them, every other control escaped.
QString terminalText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return escapeControls(text, true);
}

QString quoted(const QString &typed)
{
    return QStringLiteral("\u201c%1\u201d").arg(escapeControls(typed, false));
}

} // namespace

WindowView lookUp(const QString &folder, lookup::Mode mode, const QString &text)
{
    lookup::Engine engine(folder);
    engine.loadTables();
    if (mode == lookup::Mode::Idioms) {
        engine.enterIdioms();
        engine.answerWholeList(lookup::WholeListAnswer::No);
    }

    WindowView view;
    view.typed = text;
    const QByteArray typed = platform::codepage::toWestern(text);
    // An empty text in idioms mode stands on the first idiom.
    view.matched = typed.isEmpty() && mode == lookup::Mode::Idioms;
    for (qsizetype i = 1; i <= typed.size(); ++i) {
        const lookup::SearchView step = engine.textChanged(typed.first(i));
        view.matched = step.matched;
        view.closeWords = step.closeWords;
    }
    const lookup::DefinitionView shown = engine.showDefinition();

    view.list = engine.list();
    view.caption = shown.caption;
    view.definition = shown.lookup.definition;
    view.definitionShown = shown.lookup.definitionShown && shown.lookup.finished;
    view.entryIndex = engine.state().entryIndex;
    view.stem = engine.state().stem;
    return view;
}

bool isTerminalControl(char16_t u)
{
    return u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029;
}

QString escapeControls(const QString &text, bool keepLayout)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!isTerminalControl(u) || (keepLayout && (u == u'\n' || u == u'\t')))
            result += c;
        else
            result += escaped(u);
    }
    return result;
}

QString textOutput(const WindowView &view)
{
    QString out;
    if (!view.matched) {
        out += QStringLiteral("No entry for %1.\n").arg(quoted(view.typed));
        if (!view.closeWords.isEmpty()) {
            QStringList words;
            for (const QByteArray &word : view.closeWords)
                words << escapeControls(western(word), false);
            out += QStringLiteral("Close words: ") + words.join(QStringLiteral(" \u00b7 ")) + u'\n';
        }
        out += QStringLiteral("\nNearest entry shown:\n");
    }
    for (const QByteArray &item : view.list)
        out += escapeControls(western(item), false) + u'\n';
    out += QStringLiteral("\n  Definitions for:");
    if (const QByteArray headword = lookup::shownHeadword(view.caption); !headword.isEmpty())
        out += QStringLiteral("  ") + escapeControls(western(headword), false);
    out += u'\n';
    if (view.definitionShown)
        out += terminalText(platform::codepage::fromArabic(view.definition)) + u'\n';
    return out;
}

QString jsonOutput(const WindowView &view)
{
    const auto strings = [](const QList<QByteArray> &items) {
        QJsonArray array;
        for (const QByteArray &item : items)
            array.append(western(item));
        return array;
    };
    QJsonObject object;
    object[QLatin1String("list")] = strings(view.list);
    object[QLatin1String("caption")] = western(view.caption);
    object[QLatin1String("definition")] =
        view.definitionShown ? platform::codepage::fromArabic(view.definition) : QString();
    object[QLatin1String("entry")] = view.entryIndex ? QJsonValue(*view.entryIndex) : QJsonValue();
    object[QLatin1String("stem")] = QString::fromLatin1(view.stem);
    object[QLatin1String("found")] = view.matched;
    object[QLatin1String("headword")] = western(lookup::shownHeadword(view.caption));
    object[QLatin1String("close_words")] = strings(view.closeWords);
    // The writer escapes what JSON must (below U+0020); the other terminal controls, which
    // JSON lets through, are escaped as well. They can stand only inside strings.
    const QString json = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    QString result;
    result.reserve(json.size());
    for (const QChar c : json) {
        const char16_t u = c.unicode();
        if (isTerminalControl(u))
            result += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result + u'\n';
}

Outcome outcome(const WindowView &view)
{
    if (!view.matched)
        return {NothingMatched, QStringLiteral("nothing begins with \"%1\"").arg(view.typed)};
    if (!view.definitionShown)
        return {NothingMatched, QStringLiteral("no definition to show")};
    return {Shown, QString()};
}

} // namespace terminallookup
