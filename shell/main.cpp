#include "shell/form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The window stays reachable from the notification icon while it is hidden.
    app.setQuitOnLastWindowClosed(true);

    Form1 window(QCoreApplication::applicationDirPath());
    window.show();
    return app.exec();
}
