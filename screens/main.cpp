// Hyper Jorv: builds the real services and starts at the title screen.
#include "fonts.h"
#include "program.h"
#include "qtservices.h"
#include "stdrandom.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Every way out of the program goes through the end service; a hidden
    // title screen must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    jorv::registerJapaneseFaces();

    jorv::QtPump pump;
    jorv::QtClock clock;
    jorv::StdRandom random;
    jorv::QtBeeper beeper;
    jorv::QtMessageBox messageBox;
    jorv::QtInputBox inputBox;
    jorv::QtMousePointer mousePointer;
    jorv::QtEnder ender;
    const jorv::Services services{pump,       clock,    random,       beeper,
                                  messageBox, inputBox, mousePointer, ender};

    jorv::Program program(services);
    program.start();
    return QApplication::exec();
}
