// The clock panel's minute-by-minute refresh.
#include "clockpanel.h"

#include <QTime>

#include <algorithm>

namespace jorv {

ClockPanel::ClockPanel(Clock& clock)
    : clock_(clock) {
    // A coarse timer may fire seconds early; the clock would lag a minute.
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, this, &ClockPanel::refresh);
    refresh();
}

void ClockPanel::refresh() {
    // A reading rounded up to midnight itself still shows the day's last minute.
    const double msecs = static_cast<double>(clock_.secondsSinceMidnight()) * 1000.0;
    const QTime time =
        QTime::fromMSecsSinceStartOfDay(static_cast<int>(std::clamp(msecs, 0.0, 86'399'999.0)));
    setText(time.toString(QStringLiteral("H:mm")));
    // Wake a little after the minute has turned; a wake that still reads the
    // old minute only waits again for the rest of it.
    const int intoMinute = time.second() * 1000 + time.msec();
    timer_.start(60000 - intoMinute + 50);
}

} // namespace jorv
