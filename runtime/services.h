// The services that the game asks of the platform: the event pump that every
// wait is counted in, the clock, random numbers, the beep, the modal boxes,
// the screen-wide mouse pointer and the end of the program. The program
// builds the Qt ones; the tests hand in scripted ones.
#pragma once

#include <cstdint>
#include <string>

namespace jorv {

// Handles every pending window event and returns. Handlers of every window
// run nested inside the call, so any state may change across it.
class Pump {
public:
    virtual ~Pump() = default;
    virtual void pump() = 0;
    // n calls in a row, counted in `counter` from 1: each call sees the
    // counter at its number, a handler may move it, and the calls go on from
    // where it stands until it passes n (or reaches the top of its range).
    // This makes n single calls; a platform may instead sleep until an
    // event comes, as long as a handler sees the counter at the call it
    // would have run in.
    virtual void pumpCounted(std::int32_t& counter, std::int32_t n);
};

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with fraction; restarts at 0 at midnight
    // and follows every step of the time of day.
    virtual float secondsSinceMidnight() = 0;
    // Seconds from a fixed moment, never stepping back or jumping: for
    // timing an interval.
    virtual double steadySeconds() = 0;
};

class Random {
public:
    virtual ~Random() = default;
    virtual void seed(float clockReading) = 0;
    // The next uniform number in [0, 1); never 1.0.
    virtual float next() = 0;
};

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// Message-box styles and results, as numbers. The game only ever asks for
// an OK button, so the style's icon is all that varies.
namespace box {
constexpr int critical = 16;
constexpr int question = 32;
constexpr int exclamation = 48;
constexpr int information = 64;
constexpr int iconMask = 0x70;

constexpr int ok = 1;
} // namespace box

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Modal; returns the button pressed.
    virtual int show(const std::string& prompt, int style, const std::string& title) = 0;
};

class InputBox {
public:
    virtual ~InputBox() = default;
    // Modal; returns the typed text, or an empty text when cancelled.
    virtual std::string ask(const std::string& prompt, const std::string& title) = 0;
};

enum class Pointer { Arrow = 1, Hourglass = 11 };

class MousePointer {
public:
    virtual ~MousePointer() = default;
    virtual void set(Pointer pointer) = 0;
};

// Ends the program at once with status 0; no handler of any window runs.
// The program's own service never returns. A test's may unwind the caller
// by throwing, so code calls it as its last act.
class Ender {
public:
    virtual ~Ender() = default;
    virtual void endProgram() = 0;
};

// Everything above, handed to the game and the windows as one bundle.
struct Services {
    Pump& pump;
    Clock& clock;
    Random& random;
    Beeper& beeper;
    MessageBox& messageBox;
    InputBox& inputBox;
    MousePointer& mousePointer;
    Ender& ender;
};

} // namespace jorv
