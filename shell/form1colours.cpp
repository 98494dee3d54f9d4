// SPDX-License-Identifier: GPL-3.0-or-later
// The display colours of the main window: the four colour settings from the "Settings" menu
// and the right click on the definitions, stored at once in the settings file, read back
// at start, and "Restore".

#include "form1.h"

#include "shell/prompts.h"
#include "shell/widgetcolour.h"

#include "colours/colourvalue.h"
#include "colours/settingslocation.h"

#include <QAction>
#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QTextEdit>

#include <functional>

namespace {

// Reports every mouse button pressed on a widget, and swallows the right button: on the
// definition box it is the colour shortcut, not the text box's context menu.
class ButtonPressWatcher : public QObject
{
public:
    ButtonPressWatcher(QWidget *watched, std::function<void(Qt::MouseButton)> pressed)
        : QObject(watched), m_pressed(std::move(pressed))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ContextMenu)
            return true;
        if (event->type() != QEvent::MouseButtonPress)
            return false;
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        m_pressed(button);
        return button == Qt::RightButton;
    }

private:
    std::function<void(Qt::MouseButton)> m_pressed;
};

} // namespace

void Form1::setPrompts(std::unique_ptr<Prompts> prompts)
{
    m_prompts = std::move(prompts);
}

void Form1::connectColours()
{
    m_prompts = std::make_unique<MessageBoxPrompts>(this);

    using colours::Setting;
    connect(vocabcolor, &QAction::triggered, this, [this] { chooseColour(Setting::ListText); });
    connect(vocabbackcolor, &QAction::triggered, this,
            [this] { chooseColour(Setting::ListBackground); });
    connect(defincolor, &QAction::triggered, this,
            [this] { chooseColour(Setting::DefinitionText); });
    connect(definbackcolor, &QAction::triggered, this,
            [this] { chooseColour(Setting::DefinitionBackground); });
    connect(restore, &QAction::triggered, this, &Form1::restoreColours);
    // A text box takes its mouse presses on its viewport.
    new ButtonPressWatcher(rr1->viewport(),
                           [this](Qt::MouseButton button) { definitionBoxPressed(button); });
}

void Form1::loadStoredColours()
{
    // One settings file serves the whole run: the program folder's when it can be written
    // there, otherwise the user's own, so that a chosen colour is still there next start.
    m_settingsFile = colours::SettingsFile(colours::chooseSettingsPath(
        m_engine.dataFolder().programFolder(), colours::userSettingsFolder()));
    m_settingsFile.ensureExists();

    // Each record on its own: an unusable one leaves its colour as designed.
    const colours::StoredColours stored = m_settingsFile.read();
    for (colours::Setting setting : colours::AllSettings) {
        if (const std::optional<QColor> &colour = stored[colours::recordNumber(setting) - 1])
            applyColour(setting, *colour);
    }
    // The backdrop under the definition box takes the definitions background at start only.
    const int backdrop = colours::recordNumber(colours::Setting::DefinitionBackground);
    if (const std::optional<QColor> &colour = stored[backdrop - 1])
        setPaletteColour(rr3, QPalette::Base, *colour);
}

void Form1::applyColour(colours::Setting setting, const QColor &colour)
{
    const bool onList =
        setting == colours::Setting::ListText || setting == colours::Setting::ListBackground;
    setPaletteColour(onList ? static_cast<QWidget *>(l) : rr1, colours::paletteRole(setting),
                     colour);
}

void Form1::chooseColour(colours::Setting setting)
{
    if (!m_settingsFile.ensureExists())
        return;
    const std::optional<QColor> colour = m_prompts->chooseColour();
    if (!colour)
        return; // cancelled: nothing applied, nothing stored
    // Shown at once; it stays shown even if storing it fails.
    applyColour(setting, *colour);
    m_settingsFile.store(setting, *colour);
}

void Form1::restoreColours()
{
    if (!m_settingsFile.ensureExists())
        return;
    if (!m_prompts->ask(Question::RestoreSettings))
        return;
    if (!m_settingsFile.storeRestoreValues())
        return;
    // rr3 keeps its colour until the next start reads the restored file.
    for (colours::Setting setting : colours::AllSettings)
        applyColour(setting, colours::toColor(colours::restoreValue(setting)));
}

void Form1::definitionBoxPressed(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    if (m_prompts->ask(Question::ChangeColour))
        chooseColour(colours::Setting::DefinitionText);
}
