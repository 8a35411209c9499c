// The stage table.
#include "facts.h"

namespace jorv {

namespace {

constexpr bool o = true, _ = false;
constexpr std::array<bool, 5> redWhite{o, _, _, _, o};
constexpr std::array<bool, 5> withBlack{o, _, o, _, o};
constexpr std::array<bool, 5> allFive{o, o, o, o, o};

using namespace colours;
constexpr std::array<Colour, 11> lastStageFlashes{red, green, yellow, white, yellow, blue,
                                                  red, white, red,    green, grey};

// A stage that keeps the first command's pace and flashes nothing.
constexpr StageRow row(std::string_view name, std::array<bool, 5> inPlay, std::array<bool, 5> shown,
                       std::uint8_t patterns, std::optional<Colour> back = std::nullopt) {
    return {name, inPlay, shown, patterns, back, 0.8, {}, std::nullopt};
}

const std::array<StageRow, lastStage> stages{{
    row("まずは小手調べ", redWhite, allFive, 1),
    row("ちょっと意地悪", redWhite, allFive, 2),
    row("黒旗登場", withBlack, allFive, 2),
    row("さらに意地悪", withBlack, allFive, 4),
    row("見えない黒旗", withBlack, {o, o, _, o, o}, 2),
    row("さらに目かくし", withBlack, {_, _, _, _, _}, 2),
    row("黄旗登場", {o, o, o, _, o}, allFive, 4),
    row("５色で旗揚げ", allFive, allFive, 4),
    row("５色＆目かくし", allFive, {o, _, o, _, o}, 4),
    row("さらに目かくし", allFive, {_, o, _, o, _}, 4),
    row("全部目かくし", allFive, {_, _, _, _, _}, 4, lightBlue),
    {"最終兵器登場", allFive, allFive, 4, lightRed, 0.7, lastStageFlashes, lightRed},
}};

} // namespace

const StageRow* stageRow(int stage) {
    if (stage < 1 || stage > lastStage)
        return nullptr;
    return &stages[stage - 1];
}

} // namespace jorv
