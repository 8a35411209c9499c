// The bare Qt Widgets window that the game's start-up is compared with: a
// widget holding one label, nothing else.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* label = new QLabel(QStringLiteral("Hyper Jorv"), &window);
    label->move(20, 20);
    window.resize(240, 80);
    window.show();
    return QApplication::exec();
}
