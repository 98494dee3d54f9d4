// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colours/coloursetting.h"
#include "colours/settingsfile.h"

#include <QObject>

#include <memory>

class Prompts;
class QAction;
class QColor;
class QListWidget;
class QTextEdit;

// The display colours of the main window: the four colour settings from the "Settings" menu
// and the right click on the definitions, stored at once in the settings file, read back
// at start, and "Restore". It holds the run's settings file and the window's prompts.
// Constructing it chooses the settings file, makes sure it is there and shows the colours
// stored in it.
class DisplayColours : public QObject
{
    Q_OBJECT

public:
    // The window's controls and items the colours are shown on and chosen from; they
    // belong to the window.
    struct Controls
    {
        QListWidget *list = nullptr;      // l: the list colours
        QTextEdit *definitions = nullptr; // rr1: the definition colours
        QTextEdit *backdrop = nullptr;    // rr3: the definitions background, at start only
        QAction *vocabcolor = nullptr;
        QAction *vocabbackcolor = nullptr;
        QAction *defincolor = nullptr;
        QAction *definbackcolor = nullptr;
        QAction *restore = nullptr;
    };

    // window: the parent of the questions and the colour dialog. programFolder: where the
    // settings file lies when it can be written there.
    DisplayColours(QWidget &window, const QString &programFolder, const Controls &controls);
    ~DisplayColours() override;

    // The settings file of this run, chosen once at start.
    const colours::SettingsFile &settingsFile() const { return m_settingsFile; }

    // The questions and the colour dialog; message boxes and QColorDialog unless replaced.
    Prompts &prompts() const { return *m_prompts; }
    void setPrompts(std::unique_ptr<Prompts> prompts);

private:
    void connectControls();
    void showStoredColours();
    void applyColour(colours::Setting setting, const QColor &colour);
    void chooseColour(colours::Setting setting);
    void restoreColours();
    void definitionBoxPressed(Qt::MouseButton button);

    Controls m_controls;
    std::unique_ptr<Prompts> m_prompts;
    colours::SettingsFile m_settingsFile;
};
