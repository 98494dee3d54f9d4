// SPDX-License-Identifier: GPL-3.0-or-later
#include "closewordsline.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

namespace {

const QString kOpening = QStringLiteral("No entry for \u201c");
const QString kClosing = QStringLiteral("\u201d");
const QString kBeforeWords = QStringLiteral(" \u2014 ");
const QString kBetweenWords = QStringLiteral(" \u00b7 ");
const QString kEllipsis = QStringLiteral("\u2026");

// The words part of the line, plain or as links; the first count words only.
QString wordsPart(const QStringList &words, qsizetype count, bool links)
{
    if (count == 0)
        return QString();
    QStringList shown;
    for (qsizetype k = 0; k < count; ++k)
        shown << (links
                      ? QStringLiteral("<a href=\"%1\">%2</a>").arg(k).arg(words[k].toHtmlEscaped())
                      : words[k]);
    return kBeforeWords + shown.join(kBetweenWords);
}

} // namespace

CloseWordsLine::CloseWordsLine(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::RichText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setWordWrap(false);
    // Links for the mouse and for the keyboard: Tab reaches each word in turn.
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setAccessibleDescription(
        QStringLiteral("The search text matches no entry. Choosing one of the words that "
                       "follow puts it into the search box."));
    connect(this, &QLabel::linkActivated, this, [this](const QString &link) {
        bool number = false;
        const int k = link.toInt(&number);
        if (number && k >= 0 && k < m_words.size())
            emit wordChosen(m_words[k]);
    });
}

QString CloseWordsLine::lineText(const QString &text, const QStringList &words)
{
    return kOpening + text + kClosing + wordsPart(words, words.size(), false);
}

void CloseWordsLine::offer(const QString &text, const QStringList &words)
{
    m_text = text;
    m_words = words;
    // Tab stops at the line only where it has words to choose; a click on the line chooses a
    // word without taking the focus from where it was.
    setFocusPolicy(words.isEmpty() ? Qt::NoFocus : Qt::TabFocus);
    setAccessibleName(lineText(text, words));
    fitToWidth();
    show();
}

bool CloseWordsLine::event(QEvent *event)
{
    // Enter on a word chooses it; elsewhere in the window it clicks Search.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QLabel::event(event);
}

void CloseWordsLine::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    // Tab lands on the first word, Shift+Tab on the last, not on the line as a whole.
    if (event->reason() == Qt::TabFocusReason)
        focusNextPrevChild(true);
    else if (event->reason() == Qt::BacktabFocusReason)
        focusNextPrevChild(false);
}

void CloseWordsLine::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitToWidth();
}

void CloseWordsLine::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    fitToWidth();
}

void CloseWordsLine::fitToWidth()
{
    const QFontMetrics metrics(font());
    // A pixel to spare for the rounding of the rich text's own layout.
    const int room = contentsRect().width() - 1;
    // All the words, with the text elided in its middle as far as needed; then one word
    // fewer, down to none.
    for (qsizetype count = m_words.size(); count >= 0; --count) {
        const QString words = wordsPart(m_words, count, false);
        const int left = room - metrics.horizontalAdvance(kOpening + kClosing + words);
        QString text = m_text;
        if (metrics.horizontalAdvance(text) > left) {
            if (left < metrics.horizontalAdvance(kEllipsis))
                continue;
            text = metrics.elidedText(m_text, Qt::ElideMiddle, left);
            if (text.isEmpty())
                continue;
        }
        setText(QStringLiteral("<p style=\"margin:0; white-space:pre\">") +
                (kOpening + text + kClosing).toHtmlEscaped() + wordsPart(m_words, count, true) +
                QStringLiteral("</p>"));
        return;
    }
    // Not even the opening fits: the plain line, cut short.
    setText(QStringLiteral("<p style=\"margin:0; white-space:pre\">") +
            metrics.elidedText(lineText(m_text, m_words), Qt::ElideRight, std::max(0, room))
                .toHtmlEscaped() +
            QStringLiteral("</p>"));
}
