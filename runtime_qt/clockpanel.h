// The status bar's clock.
#pragma once

#include "fittinglabel.h"
#include "services.h"

#include <QTimer>

namespace jorv {

// A status-bar panel that shows the time of day in hours and minutes, "9:05"
// or "21:40", and keeps it current: it wakes once at each change of minute.
// The time comes from the clock service, so a scripted clock fixes it.
class ClockPanel final : public FittingLabel {
public:
    explicit ClockPanel(Clock& clock);

private:
    // Reads the time afresh and waits for the next change of minute.
    void refresh();

    Clock& clock_;
    QTimer timer_;
};

} // namespace jorv
