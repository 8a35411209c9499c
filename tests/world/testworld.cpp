// The scripted services and recording controls of the test world.
#include "testworld.h"

#include "facts.h"

#include <cmath>
#include <regex>
#include <stdexcept>

namespace jorv::test {

void CountingPump::pump() {
    if (++calls > 10'000'000) // a game that never stops pumping fails instead of hanging
        throw std::runtime_error("the pump ran past ten million calls");
    auto [first, last] = actions_.equal_range(calls);
    for (auto it = first; it != last; ++it)
        it->second();
    if (onEveryCall)
        onEveryCall(calls);
}

std::vector<Write> World::of(const std::string& control, const std::string& property) const {
    std::vector<Write> found;
    for (const Write& w : writes)
        if (w.control == control && w.property == property)
            found.push_back(w);
    return found;
}

float World::moment(long read) const {
    const auto n = static_cast<std::size_t>(read), known = readings.size();
    return n < known ? readings[n] : readings.back() + step * static_cast<float>(n - known + 1);
}

float World::secondsSinceMidnight() {
    const float time = std::fmod(moment(reads > 0 ? reads - 1 : 0) + timeOfDayShift, 86400.0f);
    return time < 0.0f ? time + 86400.0f : time;
}

float World::next() {
    const auto n = static_cast<std::size_t>(draws++);
    return n < randomValues.size() ? randomValues[n]
                                   : static_cast<float>(generator() >> 8) / 16777216.0f;
}

int World::show(const std::string& prompt, int style, const std::string& title) {
    boxes.push_back(prompt + " " + std::to_string(style) + " " + title);
    return box::ok;
}

std::string World::ask(const std::string& prompt, const std::string& title) {
    boxes.push_back(prompt + " " + title);
    return asked < answers.size() ? answers[asked++] : "";
}

void World::endProgram() {
    ended = true;
    endedAtCall = pump.calls;
    if (unwind)
        throw ProgramEnded{};
}

GameWorld::GameWorld()
    : game(GameControls{window, Label1, Label2, ControlArray<Shape, 5>(Shape1),
                        ControlArray<CommandButton, 5>(Command1),
                        ControlArray<MenuItem, 5>(メニュー各旗), 進行ボタン, パネル, バー残量},
           services) {}

std::array<RecordingControl, 5> GameWorld::five(const std::string& name) {
    auto one = [&](int i) { return RecordingControl(*this, name + "(" + std::to_string(i) + ")"); };
    return {one(1), one(2), one(3), one(4), one(5)};
}

void GameWorld::load(const std::string& count) {
    titleLabel3.setCaption(count);
    game.load(titleLabel3, titleWindow);
}

void GameWorld::clickFlagButton(int i) {
    if (Command1[i - 1].visible() && Command1[i - 1].enabled())
        game.toggleFlag(static_cast<std::int16_t>(i));
}

void GameWorld::pressFlagKey(int i) {
    if (メニュー各旗[i - 1].enabled())
        game.toggleFlag(static_cast<std::int16_t>(i));
}

void GameWorld::pressProgressButton() {
    if (進行ボタン.visible())
        game.進行ボタンClick();
}

void GameWorld::answerPerfectly() {
    for (int i = 1; i <= 5; ++i)
        if (game.flagUp(i) != game.expectedUp(i))
            pressFlagKey(i);
}

std::string bits(const OneBased<bool, 5>& flags) {
    std::string row;
    for (bool up : flags.items_)
        row += up ? '1' : '0';
    return row;
}

std::string visible(const std::array<RecordingControl, 5>& controls) {
    std::string row;
    for (const RecordingControl& control : controls)
        row += control.visible() ? '1' : '0';
    return row;
}

Reading readCommand(const std::string& text) {
    std::string colours, anyColour; // three bytes each; 赤|黄|...
    for (const Flag& flag : flags) {
        colours += flag.word;
        anyColour += (anyColour.empty() ? "" : "|") + std::string(flag.word);
    }
    const std::regex clause("((?:" + anyColour + ")+)(あげ|さげ)(て|ない)");
    Reading reading;
    int clauses = 0;
    for (std::sregex_iterator it(text.begin(), text.end(), clause), end; it != end; ++it) {
        const std::string names = (*it)[1];
        const bool up = ((*it)[2] == "あげ") == ((*it)[3] == "て");
        for (std::size_t at = 0; at < names.size(); at += 3)
            reading.wanted.emplace_back(colours.find(names.substr(at, 3)) / 3 + 1, up);
        const int form = ++clauses > 1 ? 3 : names.size() > 3 ? 4 : (*it)[3] == "ない" ? 2 : 1;
        reading.form = std::max(reading.form, form);
    }
    return reading;
}

} // namespace jorv::test
