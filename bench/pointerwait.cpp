// Counted waits under pointer motion: the real game window on the X display,
// with the real Qt services, idle before its first stage, while another
// thread moves the pointer back and forth across it through the XTest
// extension at a given rate. Times QtPump::pumpCounted over 3,000 calls,
// which should last 3,000 ms however many events come in, at each rate, and
// at 1,000 motions a second the same 3,000 calls made one by one with
// QtPump::pump. Prints one line a wait:
// "rate=<none|125|500|1000|max> run=<n> wait_ms=<ms> counter=<after the wait>
// moves=<pointer moves Qt delivered> sent_hz=<motions sent a second>", then
// "rate=1000 run=<n> single_ms=<ms> calls=3000 moves=<..> sent_hz=<..>".
//
//     pointerwait [RUNS]
#include "fakepointer.h"
#include "fonts.h"
#include "lonegamewindow.h"
#include "qtservices.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

using namespace jorv;

namespace {

using Steady = std::chrono::steady_clock;

constexpr std::int32_t calls = 3'000;
// Motions a second; none moves nothing, and max as many as the X server
// takes, one round trip each.
constexpr int none = 0;
constexpr int max = -1;

double millisecondsSince(Steady::time_point from) {
    return std::chrono::duration<double, std::milli>(Steady::now() - from).count();
}

// Sweeps the pointer along a line across the window and back, one pixel a
// motion, from a thread of its own until it is destroyed.
class Mover {
public:
    Mover(bench::FakePointer& pointer, QRect area, int rate)
        : thread_([this, &pointer, area, rate] { run(pointer, area, rate); }) {}
    ~Mover() {
        stop_ = true;
        thread_.join();
    }
    Mover(const Mover&) = delete;
    Mover& operator=(const Mover&) = delete;

    long motions() const { return motions_; }

private:
    void run(bench::FakePointer& pointer, QRect area, int rate) {
        const int y = area.center().y();
        int x = area.left();
        int step = 1;
        const auto period =
            rate > 0 ? std::chrono::nanoseconds(1'000'000'000 / rate) : std::chrono::nanoseconds(0);
        auto next = Steady::now();
        while (!stop_) {
            pointer.moveTo(x, y);
            ++motions_;
            if (x + step < area.left() || x + step > area.right())
                step = -step;
            x += step;
            if (rate <= 0)
                continue;
            next += period;
            // A sender held up (by a busy core) goes on at its rate from
            // now rather than catching up in a burst.
            const auto now = Steady::now();
            if (next < now - period)
                next = now;
            std::this_thread::sleep_until(next);
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<long> motions_{0};
    // Last: the thread starts once the counters exist.
    std::thread thread_;
};

// Counts the pointer moves that reach the program's windows, after Qt has
// merged those that queued up together.
class MoveCounter final : public QObject {
public:
    long moves = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseMove && watched->isWindowType())
            ++moves;
        return false;
    }
};

const char* rateName(int rate) {
    static std::string name;
    name = rate == none ? "none" : rate == max ? "max" : std::to_string(rate);
    return name.c_str();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    registerJapaneseFaces();
    const int runs = argc > 1 ? std::stoi(argv[1]) : 3;

    bench::FakePointer pointer;
    if (!pointer.ready()) {
        std::fprintf(stderr, "pointerwait: no X display with the XTest extension\n");
        return 1;
    }

    QtServices real;
    bench::LoneGameWindow lone(real.all(), "30");
    if (!lone.active(real.pump, "pointerwait"))
        return 1;
    GameWindow& window = lone.window;
    // The sweep keeps clear of the window's edges, where the pointer would
    // leave it between two motions.
    const QRect area =
        QRect(window.mapToGlobal(QPoint(0, 0)), window.size()).adjusted(10, 10, -10, -10);
    pointer.moveTo(area.center().x(), area.center().y());

    MoveCounter counter;
    app.installEventFilter(&counter);
    const auto pumpFor = [&real](int milliseconds) {
        for (int i = 0; i < milliseconds; ++i)
            real.pump.pump();
    };
    pumpFor(500);

    for (const int rate : {none, 125, 500, 1000, max}) {
        for (int run = 1; run <= runs; ++run) {
            std::optional<Mover> mover;
            if (rate != none)
                mover.emplace(pointer, area, rate);
            // The motion is flowing and Qt has caught up with it.
            pumpFor(200);
            const long sent = mover ? mover->motions() : 0;
            counter.moves = 0;
            std::int32_t count = 0;
            const auto start = Steady::now();
            real.pump.pumpCounted(count, calls);
            const double wait = millisecondsSince(start);
            const long motions = (mover ? mover->motions() : 0) - sent;
            mover.reset();
            std::printf("rate=%s run=%d wait_ms=%.1f counter=%d moves=%ld sent_hz=%.0f\n",
                        rateName(rate), run, wait, count, counter.moves,
                        1000.0 * static_cast<double>(motions) / wait);
            std::fflush(stdout);
            pumpFor(200);
        }
    }

    for (int run = 1; run <= runs; ++run) {
        std::optional<Mover> mover(std::in_place, pointer, area, 1000);
        pumpFor(200);
        const long sent = mover->motions();
        counter.moves = 0;
        const auto start = Steady::now();
        pumpFor(calls);
        const double single = millisecondsSince(start);
        const long motions = mover->motions() - sent;
        mover.reset();
        std::printf("rate=1000 run=%d single_ms=%.1f calls=%d moves=%ld sent_hz=%.0f\n", run,
                    single, calls, counter.moves, 1000.0 * static_cast<double>(motions) / single);
        std::fflush(stdout);
        pumpFor(200);
    }
    // The game's end service: no window handler runs on the way out.
    real.ender.endProgram();
}
