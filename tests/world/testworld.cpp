// The scripted services and recording controls of the test world.
#include "testworld.h"

#include "stagetable.h"

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

float ScriptedRandom::next() {
    const auto n = static_cast<std::size_t>(draws++);
    if (n < values.size())
        return values[n];
    if (fallback)
        return fallback();
    return static_cast<float>(generator_() >> 8) / 16777216.0f;
}

void RecordingEnder::endProgram() {
    ended = true;
    endedAtCall = pump_.calls;
    if (unwind)
        throw ProgramEnded{};
}

namespace {
template <class Interface> ControlArray<Interface, 5> arrayOf(std::array<RecordingControl, 5>& cs) {
    return ControlArray<Interface, 5>({&cs[0], &cs[1], &cs[2], &cs[3], &cs[4]});
}

template <class Each> std::string row(Each on) {
    std::string bits;
    for (int i = 0; i < 5; ++i)
        bits += on(i) ? '1' : '0';
    return bits;
}
} // namespace

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
    return row([&](int i) { return flags.items_[i]; });
}

std::string visible(const std::array<RecordingControl, 5>& controls) {
    return row([&](int i) { return controls[i].visible(); });
}

std::string enabled(const std::array<RecordingControl, 5>& controls) {
    return row([&](int i) { return controls[i].enabled(); });
}

void enter(Game& game, int stage) {
    const StageRow& row = *stageRow(stage);
    game.stage = static_cast<std::uint8_t>(stage);
    game.stageName = row.stageName;
    game.flagInPlay.items_ = row.flagInPlay;
    game.flagShown.items_ = row.flagShown;
    game.patternCount = row.patternCount;
}

Reading readCommand(const std::string& text) {
    static const std::array<std::string, 5> colours{"赤", "黄", "黒", "緑", "白"};
    // Raise, lower, don't lower, don't raise: what each leaves the flag at.
    static const std::array<std::pair<std::string, bool>, 4> actions{
        {{"あげて", true}, {"さげて", false}, {"さげない", true}, {"あげない", false}}};
    Reading reading;
    std::vector<int> named;
    int clauses = 0;
    std::size_t at = 0;
    auto takes = [&](const std::string& word) {
        if (text.compare(at, word.size(), word) != 0)
            return false;
        at += word.size();
        return true;
    };
    for (bool progress = true; progress && at < text.size();) {
        progress = false;
        for (int c = 1; c <= 5 && !progress; ++c)
            if ((progress = takes(colours[c - 1])))
                named.push_back(c);
        for (int a = 0; a < 4 && !progress; ++a)
            if ((progress = takes(actions[a].first))) {
                for (int c : named)
                    reading.wanted.emplace_back(c, actions[a].second);
                reading.form = std::max(reading.form, named.size() > 1 ? 4 : a >= 2 ? 2 : 1);
                named.clear();
                ++clauses;
            }
        if (!progress)
            progress = takes("で");
    }
    if (clauses > 1)
        reading.form = std::max(reading.form, 3);
    if (named.size() > 1)
        reading.form = 4;
    return reading;
}

} // namespace jorv::test
