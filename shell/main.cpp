// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The main window decides when the run ends (Exit, or its close once no other window is
    // left). Qt's own rule would end it when the about window closes while the main window
    // is hidden in the notification area, and the program would vanish.
    app.setQuitOnLastWindowClosed(false);

    Form1 window(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
