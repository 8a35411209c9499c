// The test world: a counting pump that runs scripted actions, controls that
// record every write with its pump call, and scripted services.
#pragma once

#include "controls.h"
#include "game.h"
#include "services.h"

#include <functional>
#include <map>
#include <random>
#include <vector>

namespace jorv::test {

class CountingPump final : public Pump {
public:
    void pump() override;
    // Runs action inside pump call number `call` (from 1), then onEveryCall.
    void at(long call, std::function<void()> action) { actions_.emplace(call, std::move(action)); }
    std::function<void(long call)> onEveryCall;
    long calls = 0;

private:
    std::multimap<long, std::function<void()>> actions_;
};

struct Write {
    std::string control, property, value;
    long pumpCall;
};

#define JORV_RECORDED(Type, Param, get, set, Name)                                                 \
    Type get() const {                                                                             \
        return Name##_;                                                                            \
    }                                                                                              \
    void set(Param v) override {                                                                   \
        write(#Name, Name##_, v);                                                                  \
    }

// Thrown by the recording end service, and by a test from a pump call, to
// unwind the game's call chain.
struct ProgramEnded {};
struct Stop {};

// Every service but the pump, scripted. The steady clock reads `readings`,
// then adds `step` at each read; the time of day is the last of them, moved by
// `timeOfDayShift`, wrapped at midnight. Random numbers are `randomValues`,
// then `generator`'s. The boxes shown are kept as "prompt style title" or
// "prompt title"; the input box answers `answers`, then as cancelled.
struct World : Clock, Random, Beeper, MessageBox, InputBox, MousePointer, Ender {
    float secondsSinceMidnight() override;
    double steadySeconds() override { return moment(reads++); }
    void seed(float) override {}
    float next() override;
    void beep() override { ++beeps; }
    int show(const std::string& prompt, int style, const std::string& title) override;
    std::string ask(const std::string& prompt, const std::string& title) override;
    void set(Pointer pointer) override { pointers.push_back(static_cast<int>(pointer)); }
    void endProgram() override;
    // The recorded writes to one property of one control.
    std::vector<Write> of(const std::string& control, const std::string& property) const;

    CountingPump pump;
    std::vector<Write> writes;
    Services services{pump, *this, *this, *this, *this, *this, *this, *this};
    std::vector<float> readings{0.0f}, randomValues;
    float step = 0.0f, timeOfDayShift = 0.0f;
    long reads = 0, draws = 0, endedAtCall = -1;
    std::mt19937 generator{1};
    int beeps = 0;
    std::vector<std::string> boxes, answers;
    std::size_t asked = 0;
    std::vector<int> pointers;
    bool ended = false;
    bool unwind = true; // off inside Qt's event dispatch, which no exception may cross

private:
    float moment(long read) const;
};

// One recorder stands in for any control; an unloaded window reads as fresh.
struct AnyControl : Window, Label, CommandButton, Shape, MenuItem, StatusBar, ProgressBar {};

struct RecordingControl final : AnyControl {
    RecordingControl(World& world, std::string name)
        : world_(world)
        , name_(std::move(name)) {}
    int top() const override { return unloaded ? 0 : Top_; }
    void setTop(int twips) override { write("Top", Top_, twips); }
    int left() const override { return unloaded ? 0 : Left_; }
    void setLeft(int twips) override { write("Left", Left_, twips); }
    void unload() override { write("Unload", unloaded, true); }
    JORV_RECORDED(std::string, const std::string&, caption, setCaption, Caption)
    JORV_RECORDED(Colour, Colour, backColor, setBackColor, BackColor)
    JORV_RECORDED(Colour, Colour, foreColor, setForeColor, ForeColor)
    JORV_RECORDED(Colour, Colour, fillColor, setFillColor, FillColor)
    JORV_RECORDED(BorderStyle, BorderStyle, borderStyle, setBorderStyle, BorderStyle)
    JORV_RECORDED(bool, bool, visible, setVisible, Visible)
    JORV_RECORDED(bool, bool, enabled, setEnabled, Enabled)
    JORV_RECORDED(bool, bool, raised, setRaised, Raised)
    JORV_RECORDED(int, int, fillStyle, setFillStyle, FillStyle)
    JORV_RECORDED(float, float, value, setValue, Value)
    std::string panelText(int panel) const { return panels_.at(panel - 1); }
    void setPanelText(int panel, const std::string& text) override {
        write("Panel" + std::to_string(panel), panels_.at(panel - 1), text);
    }
    // Kept as a write of "Announce": what is read out, a label's caption or
    // whether a flag is raised.
    void announce() override {
        world_.writes.push_back(
            {name_, "Announce", Caption_.empty() ? show(Raised_) : Caption_, world_.pump.calls});
    }
    bool unloaded = false;

private:
    template <class T> void write(const std::string& property, T& field, const T& value) {
        field = value;
        world_.writes.push_back({name_, property, show(value), world_.pump.calls});
    }
    template <class T> static std::string show(T v) { return std::to_string(static_cast<int>(v)); }
    static std::string show(const std::string& v) { return v; }
    static std::string show(const Colour& v) { return toString(v); }

    World& world_;
    std::string name_, Caption_;
    int Top_ = 0, Left_ = 0, FillStyle_ = 0;
    Colour BackColor_, FillColor_, ForeColor_ = Colour::systemButtonText();
    BorderStyle BorderStyle_ = BorderStyle::None;
    bool Visible_ = true, Enabled_ = true, Raised_ = false;
    std::array<std::string, 3> panels_;
    float Value_ = 0.0f;
};
#undef JORV_RECORDED

// The game with a recording game window and title screen.
struct GameWorld : World {
    GameWorld();
    // Loads the game window from a title screen whose Label3 shows `count`.
    void load(const std::string& count = "100");
    // The player's ways in, each only as the window lets it.
    void clickFlagButton(int i);
    void pressFlagKey(int i);
    void pressProgressButton();
    // Keys in whatever the commands so far require.
    void answerPerfectly();

    RecordingControl window{*this, "Form"}, titleWindow{*this, "TitleForm"},
        titleLabel3{*this, "TitleLabel3"}, Label1{*this, "Label1"}, Label2{*this, "Label2"};
    std::array<RecordingControl, 5> Shape1 = five("Shape1"), Command1 = five("Command1"),
                                    メニュー各旗 = five("メニュー各旗");
    RecordingControl 進行ボタン{*this, "進行ボタン"}, パネル{*this, "パネル"},
        バー残量{*this, "バー残量"};
    Game game;

private:
    std::array<RecordingControl, 5> five(const std::string& name);
};

// Flags, or shown controls, red to white, as 0 and 1.
std::string bits(const OneBased<bool, 5>& flags);
std::string visible(const std::array<RecordingControl, 5>& controls);

// What a player reads in a command so far: each flag that a whole clause
// names and whether it must end up raised; and its form: 1 one colour raised
// or lowered, 2 with "don't", 3 two clauses, 4 two colours, one action.
struct Reading {
    std::vector<std::pair<int, bool>> wanted;
    int form = 0;
};
Reading readCommand(const std::string& text);

} // namespace jorv::test
