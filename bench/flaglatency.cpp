// Flag-key latency: the real game window on the X display, with the real Qt
// services, plays stage 1 at a small speed count so that flag input opens
// within a fraction of a second, and receives real F1 presses through the
// XTest extension. Each press is timed from its sending to three points: the
// game's handling of it (the flag item's trigger, after the flag has moved),
// the start of the red flag's paint at its new place, and the end of the
// window's repaint, when the painted window has been handed to the X
// connection. Each press toggles the flag, so presses raise and lower it in
// turn; every replay of the stage lowers it again. Prints "samples=<n>
// raised=<n> lost=<n>" and, for each point, its median and 95th percentile
// in milliseconds; gives up after two minutes.
//
//     flaglatency [SAMPLES [SPEED_COUNT]]
#include "application.h"
#include "fakekeyboard.h"
#include "fonts.h"
#include "lonegamewindow.h"
#include "qtservices.h"

#include <QAction>
#include <QApplication>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace jorv;

namespace {

using Steady = std::chrono::steady_clock;

struct Press {
    Steady::time_point sent;
    bool raised = false;
    std::optional<Steady::time_point> handled, painted, repainted;
};

// Every press in flight and done. The application and the pump both see it.
struct Log {
    std::optional<Press> pending;
    std::vector<Press> done;
    int lost = 0;
};

// Watches the event delivery for the moved flag's paint and the end of the
// window's repaint that follows it.
class TimingApplication final : public Application {
public:
    TimingApplication(int& argc, char** argv)
        : Application(argc, argv) {}

    void watch(Log* log, const QWidget* flag, const QWidget* window) {
        log_ = log;
        flag_ = flag;
        window_ = window;
    }

    bool notify(QObject* receiver, QEvent* event) override {
        Press* press = log_ && log_->pending ? &*log_->pending : nullptr;
        if (press && press->handled && !press->painted && event->type() == QEvent::Paint &&
            receiver == flag_)
            press->painted = Steady::now();
        const bool result = Application::notify(receiver, event);
        if (press && press->painted && event->type() == QEvent::UpdateRequest &&
            (receiver == window_ || receiver == window_->windowHandle())) {
            press->repainted = Steady::now();
            log_->done.push_back(*press);
            log_->pending.reset();
        }
        return result;
    }

private:
    Log* log_ = nullptr;
    const QWidget* flag_ = nullptr;
    const QWidget* window_ = nullptr;
};

// Thrown from the pump, outside Qt's event dispatch, to leave the game.
struct Enough {};

// The game's own pump, with the player beside it: a press of F1 at a
// random moment 10 to 30 ms after the last one has been painted, while flag
// input is open, sent from a timer, so the pump sleeps until the key comes
// in as it does in play.
class PlayingPump final : public QObject, public Pump {
public:
    PlayingPump(Log& log, bench::FakeKeyboard& keyboard, std::size_t samples)
        : log_(log)
        , keyboard_(keyboard)
        , samples_(samples) {}

    // Play begins once the pump knows the red flag's item.
    void watch(const QAction* flagItem) { flagItem_ = flagItem; }

    void pump() override {
        qtPump_.pump();
        afterCalls();
    }
    void pumpCounted(std::int32_t& counter, std::int32_t n) override {
        qtPump_.pumpCounted(counter, n);
        afterCalls();
    }

protected:
    void timerEvent(QTimerEvent*) override {
        killTimer(timer_);
        timer_ = 0;
        if (!flagItem_->isEnabled()) {
            schedule(5);
            return;
        }
        log_.pending = Press{Steady::now(), false, {}, {}, {}};
        keyboard_.tapF1();
    }

private:
    void schedule(int milliseconds) { timer_ = startTimer(milliseconds, Qt::PreciseTimer); }

    // Outside Qt's event dispatch: the end of the run, a press lost, the
    // next press.
    void afterCalls() {
        if (!flagItem_)
            return;
        const auto now = Steady::now();
        if (log_.pending && now - log_.pending->sent > std::chrono::milliseconds(500)) {
            // Flag input closed before the key came in, or the paint was
            // lost: no sample.
            ++log_.lost;
            log_.pending.reset();
        }
        if (log_.done.size() >= samples_ || now > deadline_)
            throw Enough{};
        if (!log_.pending && !timer_)
            schedule(gap_(random_));
    }

    QtPump qtPump_;
    Log& log_;
    bench::FakeKeyboard& keyboard_;
    std::size_t samples_;
    const QAction* flagItem_ = nullptr;
    int timer_ = 0;
    Steady::time_point deadline_ = Steady::now() + std::chrono::minutes(2);
    std::mt19937 random_{7};
    std::uniform_int_distribution<int> gap_{10, 30};
};

double millisecondsBetween(Steady::time_point from, Steady::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void printFigures(const char* name, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const auto rank = [&](std::size_t percent) {
        return values[(values.size() * percent + 99) / 100 - 1];
    };
    std::printf(" %s_median_ms=%.2f %s_p95_ms=%.2f", name, rank(50), name, rank(95));
}

} // namespace

int main(int argc, char** argv) {
    TimingApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    registerJapaneseFaces();
    const std::size_t samples = argc > 1 ? std::stoul(argv[1]) : 200;
    const std::string speedCount = argc > 2 ? argv[2] : "30";

    bench::FakeKeyboard keyboard;
    if (!keyboard.ready()) {
        std::fprintf(stderr, "flaglatency: no X display with the XTest extension\n");
        return 1;
    }

    Log log;
    PlayingPump pump(log, keyboard, samples);
    QtServices real;
    bench::LoneGameWindow lone(real.with(pump), speedCount);
    if (!lone.active(pump, "flaglatency"))
        return 1;
    GameWindow& window = lone.window;

    Game& game = window.game();
    QAction* red = window.flagItem(1);
    QObject::connect(red, &QAction::triggered, red, [&log, &game] {
        if (log.pending && !log.pending->handled) {
            log.pending->handled = Steady::now();
            log.pending->raised = game.flagUp(1);
        }
    });
    app.watch(&log, window.flagShape(1), &window);
    pump.watch(red);

    // Stage 1 from its start, then the progress button after every miss,
    // with the misses topped up so that the game never ends.
    try {
        game.setUpStage();
        for (;;) {
            game.missesLeft = 10;
            game.進行ボタンClick();
        }
    } catch (const Enough&) {
    }

    if (log.done.empty()) {
        std::fprintf(stderr, "flaglatency: no press reached the flag\n");
        return 1;
    }
    std::vector<double> handled, painted, repainted;
    long raised = 0;
    for (const Press& press : log.done) {
        raised += press.raised;
        handled.push_back(millisecondsBetween(press.sent, *press.handled));
        painted.push_back(millisecondsBetween(press.sent, *press.painted));
        repainted.push_back(millisecondsBetween(press.sent, *press.repainted));
    }
    std::printf("samples=%zu raised=%ld lost=%d", log.done.size(), raised, log.lost);
    printFigures("handled", handled);
    printFigures("painted", painted);
    printFigures("repainted", repainted);
    std::printf("\n");
    std::fflush(stdout);
    // The game's end service: no window handler runs on the way out.
    real.ender.endProgram();
}
