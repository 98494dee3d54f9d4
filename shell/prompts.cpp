// SPDX-License-Identifier: GPL-3.0-or-later
#include "prompts.h"

#include <QColorDialog>
#include <QMessageBox>

QuestionBox questionBox(Question question)
{
    switch (question) {
    case Question::SeeWholeList:
        return {QStringLiteral("Idioms"),
                QStringLiteral("Do you want to see all the list?\r\nIt might take a minute!"),
                QuestionBox::Icon::None};
    case Question::RestoreSettings:
        return {QStringLiteral("Restore"),
                QStringLiteral("Are you sure you want to restore all the settings?"),
                QuestionBox::Icon::QuestionMark};
    case Question::ChangeColour:
        return {QStringLiteral("Color"), QStringLiteral("Do you want to change the color?"),
                QuestionBox::Icon::None};
    }
    return {};
}

bool MessageBoxPrompts::ask(Question question)
{
    const QuestionBox box = questionBox(question);
    QMessageBox message(box.icon == QuestionBox::Icon::QuestionMark ? QMessageBox::Question
                                                                    : QMessageBox::NoIcon,
                        box.title, box.text, QMessageBox::Yes | QMessageBox::No, m_parent);
    message.setDefaultButton(QMessageBox::Yes);
    // Closing the box without a button counts as No.
    message.setEscapeButton(QMessageBox::No);
    return message.exec() == QMessageBox::Yes;
}

std::optional<QColor> MessageBoxPrompts::chooseColour()
{
    const QColor chosen = QColorDialog::getColor(m_colour, m_parent);
    if (!chosen.isValid())
        return std::nullopt;
    m_colour = chosen;
    return chosen;
}
