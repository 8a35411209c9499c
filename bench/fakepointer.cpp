// XTest pointer motion.
#include "fakepointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace jorv::bench {

FakePointer::FakePointer() {
    display_ = XOpenDisplay(nullptr);
    int eventBase, errorBase, major, minor;
    if (display_ && !XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

FakePointer::~FakePointer() {
    if (display_)
        XCloseDisplay(display_);
}

void FakePointer::moveTo(int x, int y) {
    // Screen -1: the screen the pointer is on.
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
}

} // namespace jorv::bench
