// The program: the main window on the Workspace of the executable's folder.
#include "app/TfrmMainWin.h"
#include "message_service.h"

#include "io/files.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "Lite_TELM_KOV needs a graphical display and none is set (DISPLAY is empty).\n"
                     "Start it from a desktop session, or under a virtual display:\n"
                     "  xvfb-run -a -s \"-screen 0 1280x800x24\" %s\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));

    BoxMessageService messages;
    TfrmMainWin window(messages, kov::workspace_of_executable(
                                     QCoreApplication::applicationFilePath().toStdString()));
    if (window.terminated()) {
        return 1;
    }
    // Without a window manager (a bare X server) maximising does nothing, so the window also
    // takes the screen's whole work area itself.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window.setGeometry(screen->availableGeometry());
    }
    window.showMaximized();
    return app.exec();
}
