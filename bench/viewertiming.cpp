// The help viewer on the rules file of the current folder, opened once a
// window like the title screen has painted (the X connection and the
// Japanese faces warm). Prints each figure once it has it: the load
// (building the viewer, which reads the file), the first paint (from the
// show until the viewer is exposed and its text box has painted), a
// player's actions, each to the text box's next paint (the last section,
// the 16-point and the 9-point sizes, the scroll bar dragged to its end),
// and what it shows: the sections, or that the file is too large.
#include "fonts.h"
#include "helpfile.h"
#include "helpviewer.h"
#include "qtservices.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWindow>

#include <cstdio>

namespace {

struct Paints final : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    jorv::registerJapaneseFaces();
    jorv::QtPump pump;
    Paints paints;
    // Pumps until the window is exposed and `widget` has painted once more.
    const auto painted = [&](QWidget* window, QWidget* widget) {
        widget->installEventFilter(&paints);
        for (const int before = paints.count;
             !(window->windowHandle()->isExposed() && paints.count > before);)
            pump.pump();
    };
    QElapsedTimer clock;
    const auto say = [&clock](const char* figure) {
        std::printf("%s=%.1f\n", figure, static_cast<double>(clock.nsecsElapsed()) / 1e6);
        std::fflush(stdout);
        clock.start();
    };
    {
        QLabel title(QStringLiteral("ルールの説明を読む前に"));
        title.setFont(jorv::layoutFont(jorv::faces::pGothic, 12));
        title.show();
        painted(&title, &title);
    }

    clock.start();
    auto* viewer = new jorv::HelpViewer(jorv::readHelpFile());
    say("load_ms");
    QWidget* text = viewer->text1()->viewport();
    viewer->show();
    painted(viewer, text);
    say("paint_ms");

    QComboBox* list = viewer->combo1();
    // What the list does when a player picks its last entry.
    list->setCurrentIndex(list->count() - 1);
    Q_EMIT list->activated(list->count() - 1);
    painted(viewer, text);
    for (int size : {16, 9}) {
        viewer->サイズ(size)->trigger();
        painted(viewer, text);
    }
    QScrollBar* bar = viewer->text1()->verticalScrollBar();
    if (bar->value() < bar->maximum()) {
        bar->setValue(bar->maximum());
        painted(viewer, text);
    }
    say("actions_ms");
    const bool tooLarge = list->count() == 1 &&
                          viewer->text1()->toPlainText().contains(QStringLiteral("大きすぎます"));
    std::printf("shown=%s\n", tooLarge ? "too-large" : "sections");
    return 0;
}
