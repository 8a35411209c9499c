// Qt implementations of the game's services.
#include "qtservices.h"

#include "pumpwait.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTime>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>

namespace jorv {

void QtPump::pump() {
    using namespace std::chrono;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const auto now = steady_clock::now();
    std::this_thread::sleep_until(floor<milliseconds>(now) + milliseconds(1));
}

namespace {

using Ticks = std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

// A counted run of pump calls as time: call k is the k-th tick of 1 ms from
// the run's origin, and the counter follows the clock from tick to tick. It
// sleeps in the event dispatcher until an event comes or the last tick ends.
// The first event of a wake-up sets the counter to the tick it came in,
// before any handler sees it, and the handlers of that wake-up are part of
// that call: a call ends at the end of its tick however many events it
// handles, so no stream of events (a fast mouse, key repeat, accessibility
// queries) shortens the run. Handlers that hold the call past the tick after
// its own (a modal box held open) count as one call, and the ticks go on
// from there; so do the ticks after a handler that moved the counter.
class CountedWait final : public QObject {
public:
    CountedWait(std::int32_t& counter, std::int32_t n)
        : counter_(counter)
        , n_(n)
        , enclosing_(innermost_) {
        innermost_ = this;
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~CountedWait() override {
        QCoreApplication::instance()->removeEventFilter(this);
        innermost_ = enclosing_;
    }
    CountedWait(const CountedWait&) = delete;
    CountedWait& operator=(const CountedWait&) = delete;

    void run() {
        counter_ = 1;
        origin_ = SteadyClock::now();
        for (;;) {
            const std::int64_t tick = tickNow();
            if (tick > n_) {
                // The last tick is over: the counter has passed n.
                counter_ = n_;
                stepOn(counter_);
                return;
            }
            counter_ = static_cast<std::int32_t>(tick);
            const auto end = origin_ + Ticks(n_);
            const auto left = std::chrono::ceil<Ticks>(end - SteadyClock::now());
            const int timer = startTimer(std::max(left, Ticks(1)), Qt::PreciseTimer);
            woken_ = false;
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
            killTimer(timer);
            if (!woken_)
                continue;
            const bool moved = counter_ != call_;
            if (!moved && tickNow() <= std::int64_t{call_} + 1)
                continue; // the call ends with its tick
            // The handlers were one call; the next is the one after the
            // counter as they left it, and it begins now.
            if (!stepOn(counter_) || counter_ > n_)
                return;
            origin_ = SteadyClock::now() - Ticks(counter_ - 1);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent*) override {
        if (innermost_ == this && !woken_ && watched != this) {
            woken_ = true;
            call_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(tickNow(), 1, n_));
            counter_ = call_;
        }
        return false;
    }

private:
    // The tick that the steady clock is in, counted from the origin.
    std::int64_t tickNow() const {
        return std::chrono::floor<Ticks>(SteadyClock::now() - origin_).count() + 1;
    }

    static inline CountedWait* innermost_ = nullptr;
    std::int32_t& counter_;
    const std::int32_t n_;
    CountedWait* const enclosing_;
    SteadyClock::time_point origin_;
    // The call that the handlers of the last wake-up ran in.
    std::int32_t call_ = 0;
    bool woken_ = false;
};

} // namespace

void QtPump::pumpCounted(std::int32_t& counter, std::int32_t n) {
    counter = 1;
    if (n < 1)
        return;
    CountedWait(counter, n).run();
}

float QtClock::secondsSinceMidnight() {
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

double QtClock::steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void QtBeeper::beep() {
    QApplication::beep();
}

// Both boxes open over the active window, which is the one that asked.
int QtMessageBox::show(const std::string& prompt, int style, const std::string& title) {
    static const std::map<int, QMessageBox::Icon> icons{
        {box::critical, QMessageBox::Critical},
        {box::question, QMessageBox::Question},
        {box::exclamation, QMessageBox::Warning},
        {box::information, QMessageBox::Information}};
    const auto icon = icons.find(style & box::iconMask);
    QMessageBox(icon == icons.end() ? QMessageBox::NoIcon : icon->second,
                QString::fromStdString(title), QString::fromStdString(prompt), QMessageBox::Ok,
                QApplication::activeWindow())
        .exec();
    return box::ok;
}

std::string QtInputBox::ask(const std::string& prompt, const std::string& title) {
    bool accepted = false;
    const QString text = QInputDialog::getText(
        QApplication::activeWindow(), QString::fromStdString(title), QString::fromStdString(prompt),
        QLineEdit::Normal, QString(), &accepted);
    return accepted ? text.toStdString() : std::string();
}

void QtMousePointer::set(Pointer pointer) {
    if (pointer == Pointer::Hourglass && !overridden_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        overridden_ = true;
    } else if (pointer == Pointer::Arrow && overridden_) {
        QApplication::restoreOverrideCursor();
        overridden_ = false;
    }
}

void QtEnder::endProgram() {
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace jorv
