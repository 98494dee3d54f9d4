// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/scriptedprompts.h"

#include "shell/form1.h"

#include <QListWidget>
#include <QStringList>
#include <QTest>

#include <memory>

namespace testsupport {

// The main window on a data set, shown, with its questions and colour dialogs answered
// from a script.
struct ScriptedWindow
{
    explicit ScriptedWindow(const QString &programFolder) : form(programFolder)
    {
        auto owned = std::make_unique<ScriptedPrompts>();
        prompts = owned.get();
        form.setPrompts(std::move(owned));
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qWarning("the main window was not shown");
    }

    template <typename T> T *child(const char *name)
    {
        return form.findChild<T *>(QLatin1String(name));
    }

    QStringList listItems()
    {
        QStringList items;
        auto *list = child<QListWidget>("l");
        for (int row = 0; row < list->count(); ++row)
            items.append(list->item(row)->text());
        return items;
    }

    Form1 form;
    ScriptedPrompts *prompts = nullptr;
};

} // namespace testsupport
