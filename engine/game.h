// The game window's state and procedures, written against the runtime's
// controls and services only. Every procedure reads and writes the window's
// variables directly, and every pause is a counted pump wait in which the
// player's clicks and keys are handled.
#pragma once

#include "controls.h"
#include "services.h"

#include <cstdint>
#include <string>

namespace jorv {

// Flag geometry in twips: a flag's Top shows its position; its Left never
// changes.
constexpr int flagLoweredTop = 2625;
constexpr int flagRaisedTop = 2040;

// The controls of the game window that the game writes, by their names.
struct GameControls {
    Window& window;
    Label& Label1;
    Label& Label2;
    ControlArray<Shape, 5> Shape1;
    ControlArray<CommandButton, 5> Command1;
    ControlArray<MenuItem, 5> メニュー各旗;
    CommandButton& 進行ボタン;
    StatusBar& パネル;
    ProgressBar& バー残量;
};

class Game : private GameControls {
public:
    Game(const GameControls& controls, const Services& services);

    // The window load: takes over the measured count from the title screen's
    // Label3 and its place, unloads it and waits for the first press.
    void load(const Label& titleLabel3, Window& titleWindow);
    // Lowers every flag, clears what the commands require and shows the
    // flags in play.
    void resetFlags();
    // Opens or closes every way of moving a flag: the buttons, the flag menu
    // items and so their shortcut keys.
    void setFlagInput(bool on);

    // The window's variables.
    std::int32_t speedCount = 0;
    std::int32_t charDelay = 0;
    std::int32_t loopIndex = 0;
    std::uint8_t stage = 0;
    OneBased<bool, 5> flagUp;
    OneBased<bool, 5> expectedUp;
    OneBased<bool, 5> flagShown;
    OneBased<bool, 5> flagInPlay;
    std::uint8_t patternCount = 0;
    std::string stageName;
    std::uint8_t missesLeft = 0;
    OneBased<std::string, 5> colourWords;
    OneBased<std::string, 4> actionWords;
    std::string buttonAction;

private:
    Services services_;
};

} // namespace jorv
