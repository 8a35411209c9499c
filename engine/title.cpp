// The title screen's choices and their highlight.
#include "title.h"

#include "facts.h"

namespace jorv {

Title::Title(const TitleControls& controls, const Services& services, TitleExits exits)
    : TitleControls(controls)
    , services_(services)
    , exits_(std::move(exits))
    , calibration_(services) {}

void Title::choose(int index) {
    if (index != 3 && calibration_.calibrating)
        return;
    switch (index) {
    case 1:
        calibration_.measure(Label3);
        calibration_.handOver(Label3);
        // The game window's load unloads the title screen; nothing may follow.
        exits_.showGameWindow();
        break;
    case 2:
        exits_.showRules();
        break;
    case 3:
        Label3.setCaption("Thank you.");
        services_.pump.pump();
        services_.ender.endProgram();
        break;
    default:
        break;
    }
}

void Title::highlight(int index) {
    if (calibration_.calibrating)
        return;
    for (int i = 1; i <= 3; ++i) {
        if (i == index) {
            Label4(i).setForeColor(colours::choiceHighlighted);
        } else {
            Label4(i).setForeColor(colours::choice);
            Label4(i).setBorderStyle(BorderStyle::None);
        }
    }
}

void Title::clearHighlight() {
    for (int i = 1; i <= 3; ++i) {
        Label4(i).setForeColor(colours::choice);
        Label4(i).setBorderStyle(BorderStyle::None);
    }
}

} // namespace jorv
