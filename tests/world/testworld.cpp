// The scripted services and recording controls of the test world.
#include "testworld.h"

#include "stagetable.h"

#include <sstream>
#include <stdexcept>

namespace jorv::test {

void CountingPump::pump() {
    if (++calls > limit)
        throw std::runtime_error("the pump ran past its limit of " + std::to_string(limit));
    auto [first, last] = actions_.equal_range(calls);
    for (auto it = first; it != last; ++it)
        it->second();
    if (onEveryCall)
        onEveryCall(calls);
}

void Trace::record(const std::string& control, const std::string& property, std::string value) {
    writes.push_back({control, property, std::move(value), pump_.calls});
}

std::vector<Write> Trace::of(const std::string& control, const std::string& property) const {
    std::vector<Write> found;
    for (const Write& w : writes)
        if (w.control == control && w.property == property)
            found.push_back(w);
    return found;
}

std::vector<std::string> Trace::values(const std::string& control,
                                       const std::string& property) const {
    std::vector<std::string> found;
    for (const Write& w : of(control, property))
        found.push_back(w.value);
    return found;
}

std::vector<std::string> Trace::lines() const {
    std::vector<std::string> found;
    for (const Write& w : writes)
        found.push_back(w.control + "." + w.property + "=" + w.value);
    return found;
}

std::string Recorder::show(float v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

float ScriptedClock::moment(long read) const {
    const auto n = static_cast<std::size_t>(read);
    if (n < readings.size())
        return readings[n];
    return readings.back() + step * static_cast<float>(n - readings.size() + 1);
}

float ScriptedClock::secondsSinceMidnight() {
    float time = moment(reads > 0 ? reads - 1 : 0) + timeOfDayShift;
    while (time >= 86400.0f)
        time -= 86400.0f;
    while (time < 0.0f)
        time += 86400.0f;
    return time;
}

double ScriptedClock::steadySeconds() {
    return moment(reads++);
}

float ScriptedRandom::next() {
    if (++draws > limit)
        throw std::runtime_error("random draws ran past their limit");
    const auto n = static_cast<std::size_t>(draws - 1);
    if (n < values.size())
        return values[n];
    if (fallback)
        return fallback();
    return static_cast<float>(generator_() >> 8) / 16777216.0f;
}

std::string ScriptedInputBox::ask(const std::string& prompt, const std::string& title) {
    calls.push_back({prompt, 0, title});
    return calls.size() <= answers.size() ? answers[calls.size() - 1] : std::string();
}

void RecordingEnder::endProgram() {
    ended = true;
    endedAtCall = pump_.calls;
    if (unwind)
        throw ProgramEnded{};
}

GameWorld::GameWorld()
    : game(GameControls{window, Label1, Label2, arrayOf<Shape>(Shape1),
                        arrayOf<CommandButton>(Command1), arrayOf<MenuItem>(メニュー各旗),
                        進行ボタン, パネル, バー残量},
           services) {}

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

void GameWorld::run(const std::function<void()>& start, const std::function<void()>& player,
                    const std::function<bool()>& until) {
    pump.onEveryCall = [&](long) {
        if (until())
            throw Stop{};
        player();
    };
    try {
        start();
    } catch (const Stop&) {
    } catch (const ProgramEnded&) {
    }
    pump.onEveryCall = nullptr;
}

std::string bits(const OneBased<bool, 5>& flags) {
    std::string row;
    for (bool on : flags.items_)
        row += on ? '1' : '0';
    return row;
}

std::string visible(const std::array<RecordingControl, 5>& controls) {
    std::string row;
    for (const RecordingControl& c : controls)
        row += c.visible() ? '1' : '0';
    return row;
}

std::string enabled(const std::array<RecordingControl, 5>& controls) {
    std::string row;
    for (const RecordingControl& c : controls)
        row += c.enabled() ? '1' : '0';
    return row;
}

void enter(Game& game, int stage) {
    const StageRow& row = *stageRow(stage);
    game.stage = static_cast<std::uint8_t>(stage);
    game.stageName = row.stageName;
    game.flagInPlay.items_ = row.flagInPlay;
    game.flagShown.items_ = row.flagShown;
    game.patternCount = row.patternCount;
}

} // namespace jorv::test
