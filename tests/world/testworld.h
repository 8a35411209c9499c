// The deterministic test world: a counting pump that runs scripted actions at
// chosen calls, controls that record every property write with the pump call
// it happened in, a scripted clock and random source, and an end service that
// records the end and unwinds the game's call chain.
#pragma once

#include "controls.h"
#include "game.h"
#include "services.h"

#include <array>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace jorv::test {

class CountingPump final : public Pump {
public:
    void pump() override;
    // Runs action inside pump call number `call` (counted from 1).
    void at(long call, std::function<void()> action) { actions_.emplace(call, std::move(action)); }
    // Runs hook inside every pump call, after the scheduled actions.
    std::function<void(long call)> onEveryCall;
    long calls = 0;
    // A game that never stops pumping fails the test instead of hanging it.
    long limit = 10'000'000;

private:
    std::multimap<long, std::function<void()>> actions_;
};

struct Write {
    std::string control;
    std::string property;
    std::string value;
    long pumpCall;
};

// Every write, in order; of() and values() give those of one property of one
// control.
struct Trace {
    const CountingPump& pump;
    std::vector<Write> writes;
    std::vector<Write> of(const std::string& control, const std::string& property) const;
    std::vector<std::string> values(const std::string& control, const std::string& property) const;
};

// One recorder stands in for a control of any kind: a property that two kinds
// share is one property here, and every write lands in the trace. An unloaded
// window reads as a fresh one, at the top left.
class RecordingControl final : public Window,
                               public Label,
                               public CommandButton,
                               public Shape,
                               public MenuItem,
                               public StatusBar,
                               public ProgressBar {
public:
    RecordingControl(Trace& trace, std::string name)
        : trace_(trace)
        , name_(std::move(name)) {}
    int top() const override { return unloaded ? 0 : top_; }
    void setTop(int twips) override { write("Top", top_, twips); }
    int left() const override { return unloaded ? 0 : left_; }
    void setLeft(int twips) override { write("Left", left_, twips); }
    std::string caption() const override { return caption_; }
    void setCaption(const std::string& text) override { write("Caption", caption_, text); }
    Colour backColor() const override { return backColor_; }
    void setBackColor(Colour colour) override { write("BackColor", backColor_, colour); }
    void unload() override { write("Unload", unloaded, true); }
    Colour foreColor() const override { return foreColor_; }
    void setForeColor(Colour colour) override { write("ForeColor", foreColor_, colour); }
    BorderStyle borderStyle() const override { return borderStyle_; }
    void setBorderStyle(BorderStyle style) override { write("BorderStyle", borderStyle_, style); }
    bool visible() const override { return visible_; }
    void setVisible(bool on) override { write("Visible", visible_, on); }
    bool enabled() const override { return enabled_; }
    void setEnabled(bool on) override { write("Enabled", enabled_, on); }
    Colour fillColor() const override { return fillColor_; }
    void setFillColor(Colour colour) override { write("FillColor", fillColor_, colour); }
    int fillStyle() const override { return fillStyle_; }
    void setFillStyle(int style) override { write("FillStyle", fillStyle_, style); }
    bool checked() const override { return checked_; }
    void setChecked(bool on) override { write("Checked", checked_, on); }
    std::string panelText(int panel) const override { return panels_.at(panel - 1); }
    void setPanelText(int panel, const std::string& text) override {
        write("Panel" + std::to_string(panel), panels_.at(panel - 1), text);
    }
    float value() const override { return value_; }
    void setValue(float value) override { write("Value", value_, value); }
    bool unloaded = false;

private:
    template <class T> void write(const std::string& property, T& field, const T& value) {
        field = value;
        trace_.writes.push_back({name_, property, show(value), trace_.pump.calls});
    }
    static std::string show(bool v) { return v ? "True" : "False"; }
    static std::string show(int v) { return std::to_string(v); }
    static std::string show(float v) { return std::to_string(static_cast<int>(v)); }
    static std::string show(const std::string& v) { return v; }
    static std::string show(const Colour& v) { return toString(v); }
    static std::string show(BorderStyle v) { return show(static_cast<int>(v)); }

    Trace& trace_;
    std::string name_;
    int top_ = 0, left_ = 0, fillStyle_ = 0;
    std::string caption_;
    Colour backColor_, fillColor_, foreColor_ = Colour::systemButtonText();
    BorderStyle borderStyle_ = BorderStyle::None;
    bool visible_ = true, enabled_ = true, checked_ = false;
    std::array<std::string, 3> panels_;
    float value_ = 0.0f;
};

// The steady clock reads `readings` in order, one per read; past the last
// one, each read adds `step` to it. The time of day is the moment of the last
// steady reading (the first before any), moved by `timeOfDayShift` and
// wrapped at midnight.
class ScriptedClock final : public Clock {
public:
    float secondsSinceMidnight() override;
    double steadySeconds() override { return moment(reads++); }
    std::vector<float> readings{0.0f};
    float step = 0.0f;
    float timeOfDayShift = 0.0f;
    long reads = 0;

private:
    float moment(long read) const;
};

// Numbers in order; past the last one, `fallback` answers, by default from a
// fixed-seed generator so that play goes on.
class ScriptedRandom final : public Random {
public:
    void seed(float clockReading) override { seeds.push_back(clockReading); }
    float next() override;
    std::vector<float> values;
    std::function<float()> fallback;
    std::vector<float> seeds;
    long draws = 0;

private:
    std::mt19937 generator_{1};
};

// The boxes shown, each as "prompt style title", and the answers typed into
// them in order, then an empty one (a cancelled box).
struct ScriptedMessageBox final : MessageBox {
    int show(const std::string& prompt, int style, const std::string& title) override {
        calls.push_back(prompt + " " + std::to_string(style) + " " + title);
        return box::ok;
    }
    std::vector<std::string> calls;
};

struct ScriptedInputBox final : InputBox {
    std::string ask(const std::string& prompt, const std::string& title) override {
        calls.push_back(prompt + " " + title);
        return calls.size() <= answers.size() ? answers[calls.size() - 1] : std::string();
    }
    std::vector<std::string> answers;
    std::vector<std::string> calls;
};

struct CountingBeeper final : Beeper {
    void beep() override { ++beeps; }
    int beeps = 0;
};

struct RecordingPointer final : MousePointer {
    void set(Pointer pointer) override { shapes.push_back(static_cast<int>(pointer)); }
    std::vector<int> shapes;
};

// Thrown by the recording end service to unwind the game's call chain.
struct ProgramEnded {};

class RecordingEnder final : public Ender {
public:
    explicit RecordingEnder(const CountingPump& pump)
        : pump_(pump) {}
    void endProgram() override;
    bool ended = false;
    long endedAtCall = -1;
    // Off where the end is reached from inside Qt's event dispatch, which no
    // exception may cross.
    bool unwind = true;

private:
    const CountingPump& pump_;
};

// All services, scripted.
struct World {
    CountingPump pump;
    Trace trace{pump, {}};
    ScriptedClock clock;
    ScriptedRandom random;
    CountingBeeper beeper;
    ScriptedMessageBox messageBox;
    ScriptedInputBox inputBox;
    RecordingPointer pointer;
    RecordingEnder ender{pump};
    Services services{pump, clock, random, beeper, messageBox, inputBox, pointer, ender};
};

// Thrown from a pump call to leave the game's call chain.
struct Stop {};

// The game with a recording game window and a recording title screen.
struct GameWorld : World {
    GameWorld();
    // Loads the game window from a title screen whose Label3 shows `count`.
    void load(const std::string& count = "100");
    // The player's ways in, each working only as the window lets it: a
    // click on a flag button needs it shown and enabled, a flag key needs
    // its menu item enabled, the progress button needs to be shown.
    void clickFlagButton(int i);
    void pressFlagKey(int i);
    void pressProgressButton();
    // Keys in whatever the commands so far require.
    void answerPerfectly();
    // Runs `start` with `player` acting in every pump call, until `until`
    // holds in a pump call, the call chain returns or the program ends.
    void run(const std::function<void()>& start, const std::function<void()>& player,
             const std::function<bool()>& until);

    RecordingControl window{trace, "Form"};
    RecordingControl titleWindow{trace, "TitleForm"};
    RecordingControl titleLabel3{trace, "TitleLabel3"};
    RecordingControl Label1{trace, "Label1"};
    RecordingControl Label2{trace, "Label2"};
    std::array<RecordingControl, 5> Shape1 = five("Shape1");
    std::array<RecordingControl, 5> Command1 = five("Command1");
    std::array<RecordingControl, 5> メニュー各旗 = five("メニュー各旗");
    RecordingControl 進行ボタン{trace, "進行ボタン"};
    RecordingControl パネル{trace, "パネル"};
    RecordingControl バー残量{trace, "バー残量"};
    Game game;

private:
    std::array<RecordingControl, 5> five(const std::string& name) {
        auto one = [&](int i) {
            return RecordingControl(trace, name + "(" + std::to_string(i) + ")");
        };
        return {one(1), one(2), one(3), one(4), one(5)};
    }
};

// Flags, or shown or enabled controls, red to white, as 0 and 1.
std::string bits(const OneBased<bool, 5>& flags);
std::string visible(const std::array<RecordingControl, 5>& controls);
std::string enabled(const std::array<RecordingControl, 5>& controls);

// Enters `stage` as the stage table gives it, without running it.
void enter(Game& game, int stage);

// What a player reads in a command shown so far: each flag that a complete
// clause (colours, then an action word) names, and whether it must end up
// raised, in the order named; and the form of the command: 1 one colour
// raised or lowered, 2 one colour with "don't", 3 two clauses joined by
// "で", 4 two colours with one action.
struct Reading {
    std::vector<std::pair<int, bool>> wanted;
    int form = 0;
};
Reading readCommand(const std::string& text);

} // namespace jorv::test
