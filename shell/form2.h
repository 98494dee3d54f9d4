// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;

// The about window: one picture, shown at its own size, nothing else. Esc closes it as
// its close box does.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(QWidget *parent = nullptr);

Q_SIGNALS:
    // Emitted when the window is closed and about to go away.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *Image1 = nullptr;
};
