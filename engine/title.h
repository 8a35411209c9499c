// The title screen's rules: the choice under the pointer lights up, and the
// three choices start the game after measuring the machine, show the rules
// and end the program. Once the measurement has begun, only the end is
// heard.
#pragma once

#include "calibration.h"
#include "controls.h"
#include "services.h"

#include <functional>

namespace jorv {

// The controls of the title screen that its rules write, by their names.
struct TitleControls {
    Label& Label3;
    ControlArray<Label, 3> Label4;
};

// Where the choices lead, which the program provides.
struct TitleExits {
    std::function<void()> showGameWindow;
    std::function<void()> showRules;
};

class Title : private TitleControls {
public:
    Title(const TitleControls& controls, const Services& services, TitleExits exits);

    // The choice of Label4(index): 1 starts the game, 2 shows the rules,
    // 3 ends the program.
    void choose(int index);
    // The pointer over the choice Label4(index): that line turns yellow and
    // the others black, unless the measurement has begun.
    void highlight(int index);
    // The pointer over the window's background: all three lines turn black.
    void clearHighlight();

private:
    Services services_;
    TitleExits exits_;
    SpeedCalibration calibration_;
};

} // namespace jorv
