// A stage from its introduction through fifteen commands to the miss or the
// clear. Every pause is a counted pump wait, and the player's clicks and keys
// move the flags inside those pump calls, between the steps of a turn.
#include "game.h"

#include "facts.h"
#include "numbers.h"
#include "pumpwait.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace jorv {

namespace {

// The rules of the stage in play; a stage outside the table has none.
const StageRow& rulesOf(int stage) {
    static const StageRow none{};
    const StageRow* row = stageRow(stage);
    return row ? *row : none;
}

// Byte offsets at which the characters of a UTF-8 text end.
std::vector<std::size_t> characterEnds(const std::string& text) {
    std::vector<std::size_t> ends;
    for (std::size_t i = 1; i <= text.size(); ++i)
        if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            ends.push_back(i);
    return ends;
}

bool odd(int n) {
    return n % 2 != 0;
}

} // namespace

void Game::wait(std::int64_t steps) {
    pumpWait(services_.pump, loopIndex, steps);
}

void Game::waitUnits(double units) {
    wait(nearest(speedCount * units));
}

std::uint8_t Game::randomUpTo(std::uint8_t max) {
    // Worked out exactly, and kept in range even if the source misbehaves: a
    // draw just below 1 must not round up to max + 1.
    const double drawn = std::floor(static_cast<double>(services_.random.next()) * max) + 1;
    if (!(drawn > 1.0))
        return 1;
    return drawn >= max ? max : static_cast<std::uint8_t>(drawn);
}

void Game::spellOut(const std::string& text) {
    for (std::size_t end : characterEnds(text)) {
        Label1.setCaption(text.substr(0, end));
        // Read out once, as soon as it stands whole.
        if (end == text.size())
            Label1.announce();
        services_.pump.pump();
        pumpCalls(services_.pump, std::int64_t{charDelay} + 1);
    }
}

void Game::setUpStage() {
    ++stage;
    if (const StageRow* row = stageRow(stage)) {
        stageName = row->stageName;
        flagInPlay.items_ = row->flagInPlay;
        flagShown.items_ = row->flagShown;
        patternCount = row->patternCount;
        if (row->backColor)
            window.setBackColor(*row->backColor);
    }
    for (loopIndex = 1; loopIndex <= 5; ++loopIndex) {
        Shape1(loopIndex).setVisible(flagInPlay(loopIndex));
        Command1(loopIndex).setVisible(flagInPlay(loopIndex));
    }
    runStage();
}

std::string Game::drawCommand() {
    std::uint8_t c1, c2;
    do
        c1 = randomUpTo(5);
    while (!flagInPlay(c1));
    do
        c2 = randomUpTo(5);
    while (!flagInPlay(c2) || c2 == c1);
    const std::uint8_t a1 = randomUpTo(4);
    const std::uint8_t a2 = randomUpTo(4);
    const std::uint8_t p = randomUpTo(patternCount);

    switch (p) {
    case 1: {
        const int b = (a1 + 1) / 2;
        expectedUp(c1) = b == 1;
        return colourWords(c1) + actionWords(b);
    }
    case 2:
        expectedUp(c1) = odd(a1);
        return colourWords(c1) + actionWords(a1);
    case 3: {
        // The first half is always a negation: "don't raise" for an odd draw,
        // "don't lower" for an even one.
        const int b = odd(a1) ? 4 : 3;
        expectedUp(c1) = b == 3;
        expectedUp(c2) = odd(a2);
        return colourWords(c1) + actionWords(b) + "で" + colourWords(c2) + actionWords(a2);
    }
    default:
        expectedUp(c1) = odd(a1);
        expectedUp(c2) = odd(a1);
        return colourWords(c1) + colourWords(c2) + actionWords(a1);
    }
}

void Game::setCharDelay() {
    const std::int64_t s = speedCount;
    const int n = loopIndex;
    if (n == 1) {
        charDelay = nearest(s * rulesOf(stage).firstCharDelay);
    } else if (n >= 13 && n <= 15) {
        charDelay = nearest(static_cast<double>(2 * s / 6));
    } else {
        // The pace quickens every other turn.
        const std::int64_t k = nearest((n + 1) / 2.0);
        charDelay = nearest(static_cast<double>(2 * s / k) * 0.9);
    }
}

void Game::runStage() {
    パネル.setPanelText(1, "レベル" + std::to_string(stage) + "：" + stageName);
    パネル.setPanelText(2, "残りミス：" + std::to_string(missesLeft));
    Label1.setCaption("レベル" + std::to_string(stage));
    Label1.announce();
    waitUnits(3);
    Label1.setCaption(stageName);
    Label1.announce();
    waitUnits(3);
    setFlagInput(true);
    for (loopIndex = 1; loopIndex <= 5; ++loopIndex)
        Shape1(loopIndex).setVisible(flagInPlay(loopIndex) && flagShown(loopIndex));
    Label1.setCaption("");
    waitUnits(1);

    // The turn number lives in loopIndex for the whole turn loop.
    for (loopIndex = 1; loopIndex <= 15; ++loopIndex) {
        バー残量.setValue(static_cast<float>(15 - loopIndex));
        const std::string command = drawCommand();
        const std::span<const Colour> flashes = rulesOf(stage).flashes;
        if (loopIndex >= 5 && static_cast<std::size_t>(loopIndex - 5) < flashes.size())
            window.setBackColor(flashes[loopIndex - 5]);
        setCharDelay();
        spellOut(command);
        // The answer time has a counter of its own: loopIndex keeps the turn.
        pumpCalls(services_.pump, nearest(speedCount * 1.1));
        for (int i = 1; i <= 5; ++i) {
            if (expectedUp(i) != flagUp(i)) {
                reportMiss();
                return;
            }
        }
    }

    waitUnits(1.5);
    Label1.setCaption("Stage Clear");
    Label1.announce();
    waitUnits(3);
    if (stage == lastStage) {
        allClearEnding();
    } else {
        resetFlags();
        setUpStage();
    }
}

void Game::reportMiss() {
    setFlagInput(false);
    if (const std::optional<Colour> back = rulesOf(stage).missBackColor)
        window.setBackColor(*back);
    for (loopIndex = 1; loopIndex <= 5; ++loopIndex)
        Shape1(loopIndex).setVisible(flagInPlay(loopIndex));
    Label1.setForeColor(colours::missedCommand);
    Label2.setVisible(true);
    Label2.announce();
    進行ボタン.setVisible(true);
    buttonAction = "ミス";
}

} // namespace jorv
