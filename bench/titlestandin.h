// The title screen as the game window's load reads it, for the measuring
// programs that build the game window without one: its Label3 holds the
// speed count, and its place and unloading do not matter here.
#pragma once

#include "controls.h"

#include <string>
#include <utility>

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
    int top() const override { return 0; }
    void setTop(int) override {}
    int left() const override { return 0; }
    void setLeft(int) override {}
    void setBackColor(Colour) override {}
    void unload() override {}

private:
    std::string count_;
};

} // namespace jorv::bench
