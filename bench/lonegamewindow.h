// The game window alone, for the measuring programs: loaded at a speed count
// as if from a title screen whose Label3 holds it, shown and made active. The
// title screen's place and unloading do not matter here.
#pragma once

#include "program.h"

#include <QApplication>

#include <cstdio>
#include <string>

namespace jorv::bench {

class TitleStandIn final : public Label, public Window {
public:
    explicit TitleStandIn(std::string count)
        : count_(std::move(count)) {}
    std::string caption() const override { return count_; }
    void setCaption(const std::string&) override {}
    void setForeColor(Colour) override {}
    void setBorderStyle(BorderStyle) override {}
    void setVisible(bool) override {}
    void announce() override {}
    int top() const override { return 0; }
    void setTop(int) override {}
    int left() const override { return 0; }
    void setLeft(int) override {}
    void setBackColor(Colour) override {}
    void unload() override {}

private:
    std::string count_;
};

struct LoneGameWindow {
    LoneGameWindow(const Services& services, const std::string& count)
        : program(services)
        , window(services, [this] { program.showHelp(); })
        , title(count) {
        window.load(title, title);
        window.show();
        window.activateWindow();
    }
    // Pumps until the window is active; says so where it never becomes so.
    bool active(Pump& pump, const char* who) {
        for (int i = 0; i < 5'000 && QApplication::activeWindow() != &window; ++i)
            pump.pump();
        if (QApplication::activeWindow() == &window)
            return true;
        std::fprintf(stderr, "%s: the game window never became active\n", who);
        return false;
    }

    Program program;
    GameWindow window;
    TitleStandIn title;
};

} // namespace jorv::bench
