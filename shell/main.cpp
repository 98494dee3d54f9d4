// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/form1.h"
#include "shell/onecopy.h"

#include "platform/userlock.h"

#include <QApplication>

#include <memory>

namespace {

// The display the program shows its windows on; empty where windows go to no display that
// a second start could share (an off-screen platform).
QString displayOfThisRun()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == u"xcb")
        return qEnvironmentVariable("DISPLAY");
    if (platform == u"wayland")
        return qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    // A Windows user has one desktop; the runtime folder is the user's own.
    if (platform == u"windows")
        return QStringLiteral("desktop");
    return QString();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The main window decides when the run ends (Exit, or its close, which it refuses
    // while the about window is open). Qt's own rule would end it when the about window
    // closes while the main window is hidden in the notification area, and the program
    // would vanish.
    app.setQuitOnLastWindowClosed(false);

    // One copy for a user on a display, per program folder: a later start brings the
    // running window forward, as Show does, and ends at once, with no window and no icon of
    // its own. Any other start gets its window.
    const QString programFolder = QCoreApplication::applicationDirPath();
    std::unique_ptr<OneCopy> oneCopy;
    const QString display = displayOfThisRun();
    const std::optional<QString> folder = platform::userRuntimeFolder();
    if (!display.isEmpty() && folder) {
        oneCopy = std::make_unique<OneCopy>(
            *folder, OneCopy::displayName(QGuiApplication::platformName(), display), programFolder);
        switch (oneCopy->claim(OneCopy::kAnswerWithinMs)) {
        case OneCopy::Claim::Forwarded:
            return 0;
        case OneCopy::Claim::OnItsOwn:
            oneCopy.reset();
            break;
        case OneCopy::Claim::Held:
            break;
        }
    }

    Form1 window(programFolder);
    if (oneCopy)
        QObject::connect(oneCopy.get(), &OneCopy::startedAgain, &window, &Form1::bringForward);
    window.show();
    return app.exec();
}
