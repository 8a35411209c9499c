// F1 to the moved red flag on the screen. The real program's game window,
// loaded as if the title screen had measured a speed count of 30 (short
// waits), plays stage 1, pressed on after every miss with the misses topped
// up. While the flag keys act, F1 goes through XTest 10 to 30 ms after the
// last press was painted, so the pump sleeps until it comes, as in play; it
// is timed from its request to the end of the window's repaint (handed to the
// X connection) that follows the red flag's item and the flag's paint. Prints
// the presses lost (no repaint in 500 ms), then each press's time in ms.
//
//     flaglatency [PRESSES]
#include "application.h"
#include "fonts.h"
#include "program.h"
#include "qtservices.h"

#include <QAction>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <optional>
#include <random>
#include <vector>

// Last: the X headers define names that Qt's headers use.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using Steady = std::chrono::steady_clock;

class Player final : public jorv::Application {
public:
    Player(int& argc, char** argv)
        : Application(argc, argv) {}

    bool play(jorv::GameWindow* window, std::size_t presses) {
        window_ = window;
        presses_ = presses;
        connect(window->flagItem(1), &QAction::triggered, [this] { handled_ = sent_.has_value(); });
        timer_ = startTimer(5);
        return x_;
    }

    bool notify(QObject* receiver, QEvent* event) override {
        painted_ |= handled_ && event->type() == QEvent::Paint && receiver == window_->flagShape(1);
        const bool result = Application::notify(receiver, event);
        if (painted_ && event->type() == QEvent::UpdateRequest &&
            (receiver == window_ || receiver == window_->windowHandle())) {
            times_.push_back(
                std::chrono::duration<double, std::milli>(Steady::now() - *sent_).count());
            sent_.reset();
            handled_ = painted_ = false;
            killTimer(timer_);
            timer_ = startTimer(gap_(random_), Qt::PreciseTimer);
        }
        return result;
    }

protected:
    void timerEvent(QTimerEvent* event) override {
        killTimer(event->timerId());
        if (times_.size() >= presses_ || Steady::now() > deadline_) {
            std::printf("%d\n", lost_);
            for (double time : times_)
                std::printf("%.3f\n", time);
            std::fflush(stdout);
            std::_Exit(times_.empty());
        }
        // Flag input closed before the key came in, or the paint was lost.
        lost_ += sent_.has_value();
        handled_ = painted_ = false;
        sent_.reset();
        if (!window_->flagItem(1)->isEnabled()) {
            timer_ = startTimer(5);
            return;
        }
        sent_ = Steady::now();
        XTestFakeKeyEvent(x_, XKeysymToKeycode(x_, XK_F1), True, CurrentTime);
        XTestFakeKeyEvent(x_, XKeysymToKeycode(x_, XK_F1), False, CurrentTime);
        XFlush(x_);
        timer_ = startTimer(500);
    }

private:
    _XDisplay* x_ = XOpenDisplay(nullptr);
    jorv::GameWindow* window_ = nullptr;
    std::size_t presses_ = 0;
    std::optional<Steady::time_point> sent_;
    bool handled_ = false, painted_ = false;
    int timer_ = 0, lost_ = 0;
    std::vector<double> times_;
    const Steady::time_point deadline_ = Steady::now() + std::chrono::minutes(2);
    std::mt19937 random_{7};
    std::uniform_int_distribution<int> gap_{10, 30};
};

} // namespace

int main(int argc, char** argv) {
    Player app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    jorv::registerJapaneseFaces();
    jorv::QtServices services;
    jorv::Program program(services.all());
    program.start();
    program.titleScreen()->label3().setCaption("30");
    program.showGameWindow();
    jorv::GameWindow* window = program.gameWindow();
    for (int i = 0; i < 5'000 && QApplication::activeWindow() != window; ++i)
        services.pump.pump();
    if (QApplication::activeWindow() != window ||
        !app.play(window, argc > 1 ? std::stoul(argv[1]) : 200)) {
        std::fprintf(stderr, "flaglatency: no X display, or the game window never became active\n");
        return 1;
    }
    jorv::Game& game = window->game();
    game.setUpStage();
    for (;;) {
        game.missesLeft = 10;
        game.進行ボタンClick();
    }
}
