// The program in the test world, for the window tests: started, showing the
// title screen, or with the game window loaded and shown.
#pragma once

#include "gamewindow.h"
#include "program.h"
#include "testworld.h"
#include "titlescreen.h"

#include <QCoreApplication>

namespace jorv::test {

// The program in the test world; the pump hands Qt's events over in every
// call.
struct Started {
    Started() {
        world.pump.onEveryCall = [](long) { QCoreApplication::processEvents(); };
    }
    World world;
    Program program{world.services};
};

// The program started: the title screen shows.
struct TitleShown : Started {
    TitleShown() {
        program.start();
        title = program.titleScreen();
    }
    TitleScreen* title;
};

// The real game window in the test world, loaded at `speed` and shown.
struct ShownWindow : Started {
    explicit ShownWindow(const std::string& speed) {
        world.ender.unwind = false;
        titleLabel3.setCaption(speed);
        window.load(titleLabel3, titleWindow);
        window.show();
    }
    GameWindow window{world.services, program};
    RecordingControl titleLabel3{world.trace, "TitleLabel3"};
    RecordingControl titleWindow{world.trace, "TitleForm"};
};

} // namespace jorv::test
