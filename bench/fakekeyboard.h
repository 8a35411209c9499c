// Real key presses on the X display through the XTest extension, kept apart
// from the Qt code: the X headers define names that clash with Qt's.
#pragma once

// Xlib's display connection.
struct _XDisplay;

namespace jorv::bench {

class FakeKeyboard {
public:
    // Opens its own connection to the display named by DISPLAY; check ready().
    FakeKeyboard();
    ~FakeKeyboard();
    bool ready() const { return display_ != nullptr; }
    // Presses and releases F1 and hands both to the X server at once.
    void tapF1();

private:
    _XDisplay* display_ = nullptr;
    unsigned char f1_ = 0;
};

} // namespace jorv::bench
