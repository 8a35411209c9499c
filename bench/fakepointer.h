// Real pointer motion on the X display through the XTest extension, kept
// apart from the Qt code: the X headers define names that clash with Qt's.
#pragma once

// Xlib's display connection.
struct _XDisplay;

namespace jorv::bench {

// Owns a display connection of its own, so that another thread may move the
// pointer while the Qt thread reads its events; only one thread may use it.
class FakePointer {
public:
    // Opens its own connection to the display named by DISPLAY; check ready().
    FakePointer();
    ~FakePointer();
    FakePointer(const FakePointer&) = delete;
    FakePointer& operator=(const FakePointer&) = delete;
    bool ready() const { return display_ != nullptr; }
    // Moves the pointer to (x, y) of the screen and returns once the X
    // server has handled the motion, so a sender never runs ahead of it.
    void moveTo(int x, int y);

private:
    _XDisplay* display_ = nullptr;
};

} // namespace jorv::bench
