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
// The flags stand in columns 840 twips apart, red at the left, each over
// its button.
constexpr int flagLeft(int i) {
    return 1920 + 840 * (i - 1);
}
constexpr int flagButtonTop = 3225;

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
    // Raises a lowered flag and lowers a raised one; a colour out of play
    // stays as it is. The flag buttons and flag menu items all end here.
    void toggleFlag(std::int16_t index);

    // Moves on to the next stage, applies its row of the stage table and
    // runs it.
    void setUpStage();
    // Introduces the stage and calls its fifteen commands. Returns after a
    // miss, or once it has handed over to the next stage or the ending:
    // the stages of one press nest in one chain of calls.
    void runStage();
    // A uniform draw from 1 to max.
    std::uint8_t randomUpTo(std::uint8_t max);
    // Shows text in Label1 one character at a time, charDelay + 2 pump calls
    // a character.
    void spellOut(const std::string& text);
    // Draws one command from the patterns the stage allows, records in
    // expectedUp what it requires and returns its text.
    std::string drawCommand();
    // Stops the turns: flag input closes, hidden flags show where they
    // stand and the progress button waits.
    void reportMiss();
    // What follows a cleared last stage: the flags leave one by one, the
    // white flag slides over to the black flag's button, and the progress
    // button waits to close the program.
    void allClearEnding();

    // The press of the progress button: starts play, goes on after a miss,
    // or leaves the program after the ending. Play runs inside this call.
    void 進行ボタンClick();
    // Spends one forgiven miss and plays the stage again; with none left,
    // the game is over.
    void continueAfterMiss();
    // Falls back one stage with a fresh allowance; losing stage 1 ends it.
    void gameOver();
    void finalGameOver();
    // The hidden level select, from a double-click on any panel of the
    // status bar while play waits for the progress button.
    void パネルDoubleClick(int panel);

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
    // A pump wait counted in loopIndex; lengths beyond its range saturate.
    void wait(std::int64_t steps);
    // A wait of `units` times speedCount, taken to the nearest step.
    void waitUnits(double units);
    void setCharDelay();

    Services services_;
};

} // namespace jorv
