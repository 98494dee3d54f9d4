// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/prompts.h"

#include <QList>

#include <optional>

namespace testsupport {

// Answers the window's questions and colour dialogs from a script, and records what was
// asked. An empty script answers No and cancels the dialog.
class ScriptedPrompts : public Prompts
{
public:
    QList<bool> answers;
    QList<std::optional<QColor>> colours;
    QList<Question> asked;
    int dialogsShown = 0;

    bool ask(Question question) override
    {
        asked.append(question);
        return answers.isEmpty() ? false : answers.takeFirst();
    }

    std::optional<QColor> chooseColour() override
    {
        ++dialogsShown;
        return colours.isEmpty() ? std::nullopt : colours.takeFirst();
    }
};

} // namespace testsupport
