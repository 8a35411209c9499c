// The services of the game over Qt: the paced event pump, the clock, the beep,
// the modal boxes, the mouse pointer and the end of the program.
#pragma once

#include "services.h"
#include "stdrandom.h"

namespace jorv {

// A single call handles every pending event, then sleeps to the next 1 ms
// tick of a steady clock; a counted run of n calls lasts n ticks and sleeps in
// between, waking only for an event or its end (see qtservices.cpp). So a
// counted wait keeps its count, lasts the same on a fast and a slow machine,
// and leaves the processor idle instead of spinning.
class QtPump final : public Pump {
public:
    void pump() override;
    void pumpCounted(std::int32_t& counter, std::int32_t n) override;
};

class QtClock final : public Clock {
public:
    float secondsSinceMidnight() override;
    double steadySeconds() override;
};

class QtBeeper final : public Beeper {
public:
    void beep() override;
};

class QtMessageBox final : public MessageBox {
public:
    int show(const std::string& prompt, int style, const std::string& title) override;
};

class QtInputBox final : public InputBox {
public:
    std::string ask(const std::string& prompt, const std::string& title) override;
};

// The hourglass is a wait cursor over every window of the program; the arrow
// gives every widget its own cursor back.
class QtMousePointer final : public MousePointer {
public:
    void set(Pointer pointer) override;

private:
    bool overridden_ = false;
};

// Ends the process at once with status 0, from however deep inside nested
// pump calls and modal boxes: no handler runs and nothing unwinds through Qt.
class QtEnder final : public Ender {
public:
    [[noreturn]] void endProgram() override;
};

// The real services, as the program's entry point builds them; a measuring
// program may pace the game with a pump of its own.
struct QtServices {
    Services with(Pump& paced) {
        return {paced, clock, random, beeper, messageBox, inputBox, mousePointer, ender};
    }
    Services all() { return with(pump); }

    QtPump pump;
    QtClock clock;
    StdRandom random;
    QtBeeper beeper;
    QtMessageBox messageBox;
    QtInputBox inputBox;
    QtMousePointer mousePointer;
    QtEnder ender;
};

} // namespace jorv
