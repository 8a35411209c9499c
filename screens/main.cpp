// Hyper Jorv: builds the real services and starts at the title screen.
#include "application.h"
#include "fonts.h"
#include "program.h"
#include "qtservices.h"

int main(int argc, char** argv) {
    // The game places its windows, which a Wayland client cannot do, and asks
    // for frames without minimise and maximise buttons, which Qt's own
    // Wayland decorations draw anyway. In a Wayland session that also offers
    // X (XWayland), the game runs as an X client, unless the player has
    // chosen a platform; without X, on Wayland as it can.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    jorv::Application app(argc, argv);
    // Every way out of the program goes through the end service; a hidden
    // title screen must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    jorv::registerJapaneseFaces();

    jorv::QtServices services;
    jorv::Program program(services.all());
    program.start();
    return QApplication::exec();
}
