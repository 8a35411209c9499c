// The stage table.
#include "stagetable.h"

namespace jorv {

namespace {

constexpr bool o = true, _ = false;
constexpr std::array<bool, 5> redWhite{o, _, _, _, o};
constexpr std::array<bool, 5> withBlack{o, _, o, _, o};
constexpr std::array<bool, 5> allFive{o, o, o, o, o};

const std::array<StageRow, 12> stages{{
    {"まずは小手調べ", redWhite, allFive, 1, std::nullopt},
    {"ちょっと意地悪", redWhite, allFive, 2, std::nullopt},
    {"黒旗登場", withBlack, allFive, 2, std::nullopt},
    {"さらに意地悪", withBlack, allFive, 4, std::nullopt},
    {"見えない黒旗", withBlack, {o, o, _, o, o}, 2, std::nullopt},
    {"さらに目かくし", withBlack, {_, _, _, _, _}, 2, std::nullopt},
    {"黄旗登場", {o, o, o, _, o}, allFive, 4, std::nullopt},
    {"５色で旗揚げ", allFive, allFive, 4, std::nullopt},
    {"５色＆目かくし", allFive, {o, _, o, _, o}, 4, std::nullopt},
    {"さらに目かくし", allFive, {_, o, _, o, _}, 4, std::nullopt},
    {"全部目かくし", allFive, {_, _, _, _, _}, 4, colours::lightBlue},
    {"最終兵器登場", allFive, allFive, 4, colours::lightRed},
}};

} // namespace

const StageRow* stageRow(int stage) {
    if (stage < 1 || stage > static_cast<int>(stages.size()))
        return nullptr;
    return &stages[stage - 1];
}

} // namespace jorv
