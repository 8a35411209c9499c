// The game's facts, in one place for the engine, the windows and the tests:
// the colours it shows, its five flags and its twelve stages.
#pragma once

#include "controls.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace jorv {

namespace colours {
constexpr Colour red = Colour::rgb(255, 0, 0);
constexpr Colour yellow = Colour::rgb(255, 255, 0);
constexpr Colour black = Colour::rgb(0, 0, 0);
constexpr Colour green = Colour::rgb(0, 192, 0);
constexpr Colour white = Colour::rgb(255, 255, 255);
constexpr Colour blue = Colour::rgb(0, 0, 255);
constexpr Colour grey = Colour::rgb(128, 128, 128);
constexpr Colour lightBlue = Colour::rgb(192, 192, 255);
constexpr Colour lightRed = Colour::rgb(255, 192, 192);
constexpr Colour pink = Colour::rgb(255, 128, 128);
constexpr Colour orange = Colour::rgb(255, 128, 0);
constexpr Colour lightCyan = Colour::rgb(192, 255, 255);

// The game window's background, which the ending sets again.
constexpr Colour gameBackground = lightBlue;
// "Ｍｉｓｓ!" and "GAME OVER".
constexpr Colour missBanner = orange;
// The command that was missed.
constexpr Colour missedCommand = red;
// "ALL Clear!".
constexpr Colour allClearBanner = lightCyan;
// The title screen: its name, its credit, and a choice with and without
// the pointer over it.
constexpr Colour titleName = black;
constexpr Colour titleCredit = blue;
constexpr Colour choice = black;
constexpr Colour choiceHighlighted = yellow;
// The white flag on its way to the black flag's button, in turn.
constexpr std::array<Colour, 3> whiteFlagBlushes{lightRed, pink, red};
} // namespace colours

struct Flag {
    // The colour's word in a command: "赤".
    std::string_view word;
    // The flag as a screen reader names it: "赤の旗".
    std::string_view name;
    // Its button's caption and its item in the flag menu.
    std::string_view button;
    std::string_view menuItem;
    Colour colour;
    // The function key that moves it: 1 for F1.
    int functionKey;
};

// Red, yellow, black, green and white, left to right; Shape1(i), Command1(i)
// and メニュー各旗(i) are flags[i - 1]'s.
constexpr std::array<Flag, 5> flags{{
    {"赤", "赤の旗", "赤 (F1)", "赤 &Red", colours::red, 1},
    {"黄", "黄色の旗", "黄色 (F2)", "黄 &Yellow", colours::yellow, 2},
    {"黒", "黒の旗", "黒 (F3)", "黒 &Black", colours::black, 3},
    {"緑", "緑の旗", "緑 (F4)", "緑 &Green", colours::green, 4},
    {"白", "白の旗", "白 (F5)", "白 &White", colours::white, 5},
}};

struct StageRow {
    std::string_view stageName;
    // Flags red, yellow, black, green, white.
    std::array<bool, 5> flagInPlay;
    // False: the flag is blindfolded while commands are called.
    std::array<bool, 5> flagShown;
    std::uint8_t patternCount;
    // The window background the stage sets; none keeps the current one.
    std::optional<Colour> backColor;
    // The first command's pause after each character, in units of the
    // measured speed count.
    double firstCharDelay;
    // The backgrounds the window flashes through, one a turn from the fifth.
    std::span<const Colour> flashes;
    // The background a miss puts back.
    std::optional<Colour> missBackColor;
};

// The last stage: its clear leads to the ending, and a level select past it
// goes there at once.
constexpr int lastStage = 12;

// The row of stage 1 to lastStage; none for any other number.
const StageRow* stageRow(int stage);

} // namespace jorv
