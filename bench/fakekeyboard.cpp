// XTest key presses.
#include "fakekeyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace jorv::bench {

FakeKeyboard::FakeKeyboard() {
    display_ = XOpenDisplay(nullptr);
    int eventBase, errorBase, major, minor;
    if (display_ && !XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor)) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
    if (display_)
        f1_ = XKeysymToKeycode(display_, XK_F1);
}

FakeKeyboard::~FakeKeyboard() {
    if (display_)
        XCloseDisplay(display_);
}

void FakeKeyboard::tapF1() {
    XTestFakeKeyEvent(display_, f1_, True, CurrentTime);
    XTestFakeKeyEvent(display_, f1_, False, CurrentTime);
    XFlush(display_);
}

} // namespace jorv::bench
