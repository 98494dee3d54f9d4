// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QString>
#include <QStringList>

// The line right of the Search button that says a search text matches no entry and offers
// the headwords closest to it: "No entry for “recieve” — receive · recipe · recite". Each
// word is a link: a click on it, or Enter on it once Tab has reached it, chooses it. The
// line keeps to its width: the quoted text gives way first, then the words from the last.
class CloseWordsLine : public QLabel
{
    Q_OBJECT

public:
    explicit CloseWordsLine(QWidget *parent = nullptr);

    // The line for text and words as it reads in full.
    static QString lineText(const QString &text, const QStringList &words);

    // Shows the line for text, with words when there are any.
    void offer(const QString &text, const QStringList &words);

    const QStringList &words() const { return m_words; }

signals:
    void wordChosen(const QString &word);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The rich text that fits the width at the current font.
    void fitToWidth();

    QString m_text;
    QStringList m_words;
};
