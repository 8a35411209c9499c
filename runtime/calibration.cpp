// The speed measurement and its hand-over.
#include "calibration.h"

#include "numbers.h"
#include "pumpwait.h"

namespace jorv {

void SpeedCalibration::measure(Label& label3) {
    const float start = services_.clock.secondsSinceMidnight();
    const std::int32_t deadline = nearest(static_cast<double>(start) + 3.0);
    if (deadline < 5)
        return;
    // The window runs from the reading to the deadline, timed on the steady
    // clock: a step of the time of day (daylight saving, a time sync) or
    // midnight inside it neither ends it early nor stretches it.
    const double window = deadline - static_cast<double>(start);
    const double began = services_.clock.steadySeconds();
    calibrating = -1;
    label3.setCaption("しばらくお待ちください。");
    services_.mousePointer.set(Pointer::Hourglass);
    while (services_.clock.steadySeconds() - began <= window) {
        ++calibrationCount;
        services_.pump.pump();
    }
    calibrationCount = nearest(calibrationCount * 1.5);
    services_.mousePointer.set(Pointer::Arrow);
}

void SpeedCalibration::handOver(Label& label3) {
    label3.setCaption(std::to_string(calibrationCount));
    services_.random.seed(services_.clock.secondsSinceMidnight());
    pumpCalls(services_.pump, calibrationCount, [this] { services_.random.next(); });
}

} // namespace jorv
