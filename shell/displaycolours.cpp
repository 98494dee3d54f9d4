// SPDX-License-Identifier: GPL-3.0-or-later
#include "displaycolours.h"

#include "shell/prompts.h"
#include "shell/widgetcolour.h"

#include "colours/colourvalue.h"
#include "colours/settingslocation.h"

#include <QAction>
#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QTextEdit>
#include <QWidget>

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

DisplayColours::DisplayColours(QWidget &window, const QString &programFolder,
                               const Controls &controls)
    : m_controls(controls), m_prompts(std::make_unique<MessageBoxPrompts>(&window)),
      // One settings file serves the whole run: the program folder's when it can be written
      // there, otherwise the user's own, so that a chosen colour is still there next start.
      m_settingsFile(colours::chooseSettingsPath(programFolder, colours::userSettingsFolder()))
{
    connectControls();
    m_settingsFile.ensureExists();
    showStoredColours();
}

DisplayColours::~DisplayColours() = default;

void DisplayColours::setPrompts(std::unique_ptr<Prompts> prompts)
{
    m_prompts = std::move(prompts);
}

void DisplayColours::connectControls()
{
    using colours::Setting;
    const Controls &c = m_controls;
    connect(c.vocabcolor, &QAction::triggered, this, [this] { chooseColour(Setting::ListText); });
    connect(c.vocabbackcolor, &QAction::triggered, this,
            [this] { chooseColour(Setting::ListBackground); });
    connect(c.defincolor, &QAction::triggered, this,
            [this] { chooseColour(Setting::DefinitionText); });
    connect(c.definbackcolor, &QAction::triggered, this,
            [this] { chooseColour(Setting::DefinitionBackground); });
    connect(c.restore, &QAction::triggered, this, &DisplayColours::restoreColours);
    // A text box takes its mouse presses on its viewport.
    new ButtonPressWatcher(c.definitions->viewport(),
                           [this](Qt::MouseButton button) { definitionBoxPressed(button); });
}

void DisplayColours::showStoredColours()
{
    // Each record on its own: an unusable one leaves its colour as designed.
    const colours::StoredColours stored = m_settingsFile.read();
    for (colours::Setting setting : colours::AllSettings) {
        if (const std::optional<QColor> &colour = stored[colours::recordNumber(setting) - 1])
            applyColour(setting, *colour);
    }
    // The backdrop under the definition box takes the definitions background at start only.
    const int backdrop = colours::recordNumber(colours::Setting::DefinitionBackground);
    if (const std::optional<QColor> &colour = stored[backdrop - 1])
        setPaletteColour(m_controls.backdrop, QPalette::Base, *colour);
}

void DisplayColours::applyColour(colours::Setting setting, const QColor &colour)
{
    const bool onList =
        setting == colours::Setting::ListText || setting == colours::Setting::ListBackground;
    QWidget *control = onList ? static_cast<QWidget *>(m_controls.list) : m_controls.definitions;
    setPaletteColour(control, colours::paletteRole(setting), colour);
}

void DisplayColours::chooseColour(colours::Setting setting)
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

void DisplayColours::restoreColours()
{
    if (!m_settingsFile.ensureExists())
        return;
    if (!m_prompts->ask(Question::RestoreSettings))
        return;
    if (!m_settingsFile.storeRestoreValues())
        return;
    // The backdrop keeps its colour until the next start reads the restored file.
    for (colours::Setting setting : colours::AllSettings)
        applyColour(setting, colours::toColor(colours::restoreValue(setting)));
}

void DisplayColours::definitionBoxPressed(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    if (m_prompts->ask(Question::ChangeColour))
        chooseColour(colours::Setting::DefinitionText);
}
