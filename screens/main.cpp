// Hyper Jorv: builds the real services and starts at the title screen.
#include "fonts.h"
#include "program.h"
#include "qtservices.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Every way out of the program goes through the end service; a hidden
    // title screen must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    jorv::registerJapaneseFaces();

    jorv::QtServices services;
    jorv::Program program(services.all());
    program.start();
    return QApplication::exec();
}
