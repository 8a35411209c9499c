// Starts a program on an X display without a window manager and waits until
// its first top-level window (the first mapped whose _NET_WM_PID is the
// program's) has been mapped and drawn on (the DAMAGE extension's report of
// the root window), lets it run SETTLE_MS milliseconds more and kills it;
// then prints its peak resident memory in kB. It fails, saying why, when no
// such window is drawn within 30 s.
//
//     firstpaint SETTLE_MS PROGRAM [ARGUMENT...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

extern char** environ;

namespace {

long pidOf(Display* display, Window window) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), 0, 1, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) == Success &&
        data && format == 32 && count == 1)
        pid = *reinterpret_cast<long*>(data);
    XFree(data);
    return pid;
}

} // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    int damageEvent, damageError;
    if (argc < 3 || !display || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr,
                     "usage, on an X display with DAMAGE: firstpaint SETTLE_MS PROGRAM...\n");
        return 2;
    }
    char** program = argv + 2;
    // Every top-level window is a child of the root, which reports its map,
    // and whatever is drawn on it.
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XDamageCreate(display, root, XDamageReportRawRectangles);
    XSync(display, False);
    pid_t pid;
    if (posix_spawn(&pid, program[0], nullptr, nullptr, program, environ) != 0) {
        std::fprintf(stderr, "firstpaint: cannot start %s\n", program[0]);
        return 1;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    XWindowAttributes mapped{};
    bool painted = false;
    siginfo_t ended{};
    while (!painted && std::chrono::steady_clock::now() < deadline) {
        XEvent event;
        if (XPending(display)) {
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect && !mapped.width &&
                pidOf(display, event.xmap.window) == pid)
                XGetWindowAttributes(display, event.xmap.window, &mapped);
            const auto& area = reinterpret_cast<XDamageNotifyEvent&>(event).area;
            painted = event.type == damageEvent + XDamageNotify && mapped.width &&
                      area.x < mapped.x + mapped.width && mapped.x < area.x + area.width &&
                      area.y < mapped.y + mapped.height && mapped.y < area.y + area.height;
        } else if (waitid(P_PID, pid, &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid) {
            break;
        } else {
            pollfd connection{ConnectionNumber(display), POLLIN, 0};
            poll(&connection, 1, 100);
        }
    }
    if (painted)
        std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(argv[1])));
    kill(pid, SIGKILL);
    rusage usage{};
    wait4(pid, nullptr, 0, &usage);
    if (!painted) {
        std::fprintf(stderr, "firstpaint: %s %s\n", program[0],
                     ended.si_pid ? "ended before a window of its own was drawn"
                                  : "drew no window of its own in 30 s");
        return 1;
    }
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}
