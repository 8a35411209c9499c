// The bare Qt Widgets window that the game's start-up is compared with: a
// widget holding one label. Each part named adds what the title screen has
// of it, on top of the parts before it in this order:
//   lines    the title's size and its six lines at their places, in Qt's font
//   fonts    the Japanese faces and the lines' layout fonts
//   fitting  the lines sized to their texts (SelfSizingLabel)
//   icon     the game's window icon
//
//     barewindow [lines [fonts [fitting [icon]]]]
#include "fonts.h"
#include "icon.h"
#include "qtcontrols.h"
#include "selfsizinglabel.h"

#include <QApplication>

using namespace jorv;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int parts = argc - 1;
    QWidget window;
    const auto line = [&](const char* text, QRect twips, const QFont& font, bool sized = true,
                          QRect room = {}) {
        auto* label = new SelfSizingLabel(QString::fromUtf8(text), &window);
        placeInTwips(label, twips.x(), twips.y(), twips.width(), twips.height());
        label->setAutoFillBackground(true);
        if (parts >= 2)
            label->setFont(font);
        if (parts >= 3 && sized)
            label->sizeItselfToText(room);
    };
    if (parts == 0) {
        (new QLabel(QStringLiteral("Hyper Jorv"), &window))->move(20, 20);
        window.resize(240, 80);
    } else {
        if (parts >= 2)
            registerJapaneseFaces();
        window.setFixedSize(toPixels(7515), toPixels(5175));
        // The title line keeps to its design width, the credit line ends at its design's edge.
        line("Hyper Jorv", {330, 120, 6795, 1455}, layoutFont(faces::pMincho, 72), true,
             {22, 0, 453, 345});
        line("Produced By QLM", {1770, 4440, 5685, 720}, layoutFont(faces::pMincho, 36, true), true,
             {0, 0, 497, 345});
        line("Version 1.2", {210, 1680, 7095, 615}, layoutFont(faces::pGothic, 24), false);
        const QFont choice = layoutFont(faces::pMincho, 24, true, true);
        line("☆Game Start", {240, 2400, 2925, 495}, choice);
        line("☆Show Help", {240, 3000, 2730, 495}, choice);
        line("☆End This Game", {240, 3600, 3765, 495}, choice);
        if (parts >= 4)
            window.setWindowIcon(gameIcon());
    }
    window.show();
    return QApplication::exec();
}
