// The controls that the game writes, as the game sees them: windows, labels,
// buttons, shapes, menu items, the status bar and the progress bar. The Qt
// windows implement them over real widgets; the tests implement them as
// recorders. Positions and sizes are in twips of the window's client area.
#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <string>

namespace jorv {

// An RGB colour, or the platform's button-text colour, which follows the theme.
struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool buttonText = false;

    static constexpr Colour rgb(int r, int g, int b) { return {r, g, b, false}; }
    static constexpr Colour systemButtonText() { return {0, 0, 0, true}; }
    friend bool operator==(const Colour&, const Colour&) = default;
};

std::string toString(const Colour& colour);

// Of each control the game reads back only what it needs: the title screen's
// place and the count its status line shows, and whether the progress button
// is shown. Everything else it only writes.
class Window {
public:
    virtual ~Window() = default;
    // Outer position on the screen, in twips.
    virtual int top() const = 0;
    virtual void setTop(int twips) = 0;
    virtual int left() const = 0;
    virtual void setLeft(int twips) = 0;
    virtual void setBackColor(Colour colour) = 0;
    // Closes the window and discards it; no handler of the window runs.
    virtual void unload() = 0;
};

enum class BorderStyle { None = 0, FixedSingle = 1 };

class Label {
public:
    virtual ~Label() = default;
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& text) = 0;
    virtual void setForeColor(Colour colour) = 0;
    virtual void setBorderStyle(BorderStyle style) = 0;
    virtual void setVisible(bool on) = 0;
    // Has a screen reader read the caption out as it stands, whichever
    // control holds the keyboard's focus.
    virtual void announce() = 0;
};

// A disabled button ignores clicks.
class CommandButton {
public:
    virtual ~CommandButton() = default;
    virtual void setCaption(const std::string& text) = 0;
    virtual void setTop(int twips) = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool visible() const = 0;
    virtual void setVisible(bool on) = 0;
};

// Fill styles of a shape; any other value fills solid.
enum FillStyle : int { DownwardDiagonal = 5, DiagonalCross = 7 };

// A flag's square. Whether the flag is raised is the game's own word, which
// assistive technology reads; where the square stands is only its picture.
class Shape {
public:
    virtual ~Shape() = default;
    virtual void setLeft(int twips) = 0;
    virtual void setTop(int twips) = 0;
    virtual void setRaised(bool raised) = 0;
    virtual void setVisible(bool on) = 0;
    virtual void setFillColor(Colour colour) = 0;
    virtual void setFillStyle(int style) = 0;
    // Has a screen reader read out the flag and whether it is raised.
    virtual void announce() = 0;
};

// A disabled menu item ignores clicks and its shortcut key.
class MenuItem {
public:
    virtual ~MenuItem() = default;
    virtual void setEnabled(bool on) = 0;
};

// Panels are numbered from 1.
class StatusBar {
public:
    virtual ~StatusBar() = default;
    virtual void setPanelText(int panel, const std::string& text) = 0;
};

class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void setValue(float value) = 0;
};

// A fixed-size array indexed from 1 to N, read and written as a(i) like the
// game's own arrays. An index outside the range is a programming error.
template <class T, int N> class OneBased {
public:
    T& operator()(int i) {
        assert(i >= 1 && i <= N);
        return items_[i - 1];
    }
    const T& operator()(int i) const {
        assert(i >= 1 && i <= N);
        return items_[i - 1];
    }

    std::array<T, N> items_{};
};

// A control array: controls of one kind that share a name and differ by index.
template <class Control, int N> class ControlArray {
public:
    ControlArray() = default;
    // Over the controls of an array, each of a kind that is a Control.
    template <class Each> explicit ControlArray(std::array<Each, N>& controls) {
        for (std::size_t i = 0; i < N; ++i)
            controls_[i] = &controls[i];
    }

    Control& operator()(int i) const {
        assert(i >= 1 && i <= N && controls_[i - 1]);
        return *controls_[i - 1];
    }

private:
    std::array<Control*, N> controls_{};
};

} // namespace jorv
