// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

// The three Yes/No questions the main window asks.
enum class Question {
    SeeWholeList,    // before the whole idiom list is shown
    RestoreSettings, // before "Restore" writes the default colours
    ChangeColour,    // on a right click on the definition box
};

// How a question is put: its box's title and text, its icon; Yes is always the default.
struct QuestionBox
{
    enum class Icon { None, QuestionMark };

    QString title;
    QString text;
    Icon icon;
};

QuestionBox questionBox(Question question);

// Everything the main window asks of the user: the questions and the colour dialog. The
// program uses MessageBoxPrompts; tests give the window scripted answers.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // true when the answer is Yes.
    virtual bool ask(Question question) = 0;

    // Shows the colour dialog, which opens on the colour it held last (all four colour
    // settings share it); std::nullopt when the user cancels, which applies and stores
    // nothing.
    virtual std::optional<QColor> chooseColour() = 0;
};

// Modal QMessageBox questions and the QColorDialog, parented to the window.
class MessageBoxPrompts : public Prompts
{
public:
    explicit MessageBoxPrompts(QWidget *parent) : m_parent(parent) {}

    bool ask(Question question) override;
    std::optional<QColor> chooseColour() override;

private:
    QWidget *m_parent;
    QColor m_colour = Qt::black;
};
