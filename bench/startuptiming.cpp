// Start-up timing: starts a program on the X display, times it from the spawn
// to the map of its first top-level window, lets it settle and reads its peak
// resident memory, then ends it. Prints "map_ms=<ms> hwm_kb=<kB>".
//
//     startuptiming SETTLE_MS PROGRAM [ARGUMENT...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The _NET_WM_PID that the window carries, or 0. Qt sets it on every
// top-level window it creates.
long pidOf(Display* display, Window window) {
    const Atom property = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32 && count == 1)
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pid;
}

// A field of /proc/PID/status in kB, or -1.
long statusKilobytes(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SETTLE_MS PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    const int settleMs = std::stoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startuptiming: cannot open the display\n");
        return 1;
    }
    // Without a window manager every top-level window is a child of the
    // root, so the root's substructure events report each map. The
    // selection is in force before the program starts.
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    pid_t pid = 0;
    const auto start = Clock::now();
    if (posix_spawn(&pid, argv[2], nullptr, nullptr, argv + 2, environ) != 0) {
        std::fprintf(stderr, "startuptiming: cannot start %s\n", argv[2]);
        return 1;
    }

    double mapMs = -1;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (mapMs < 0 && Clock::now() - start < std::chrono::seconds(30)) {
        if (!XPending(display)) {
            poll(&connection, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify || event.xmap.override_redirect)
            continue;
        const auto mapped = Clock::now();
        if (pidOf(display, event.xmap.window) == pid)
            mapMs = std::chrono::duration<double, std::milli>(mapped - start).count();
    }

    long hwm = -1;
    if (mapMs >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
        hwm = statusKilobytes(pid, "VmHWM");
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    if (mapMs < 0 || hwm < 0) {
        std::fprintf(stderr, "startuptiming: %s mapped no window within 30 s\n", argv[2]);
        return 1;
    }
    std::printf("map_ms=%.1f hwm_kb=%ld\n", mapMs, hwm);
    return 0;
}
