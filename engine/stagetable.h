// The twelve stages: the colours in play, the blindfolds, the command
// patterns drawn from and the window background of each.
#pragma once

#include "controls.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace jorv {

namespace colours {
constexpr Colour lightBlue = Colour::rgb(192, 192, 255);
constexpr Colour lightRed = Colour::rgb(255, 192, 192);
} // namespace colours

struct StageRow {
    std::string_view stageName;
    // Flags red, yellow, black, green, white.
    std::array<bool, 5> flagInPlay;
    // False: the flag is blindfolded while commands are called.
    std::array<bool, 5> flagShown;
    std::uint8_t patternCount;
    // The window background the stage sets; none keeps the current one.
    std::optional<Colour> backColor;
};

// The row of stage 1 to 12; none for any other number.
const StageRow* stageRow(int stage);

} // namespace jorv
