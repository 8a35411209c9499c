// The speed measurement and its hand-over.
#include "calibration.h"

#include "numbers.h"

namespace jorv {

namespace {
constexpr float secondsPerDay = 86400.0f;
}

void SpeedCalibration::measure(Label& label3) {
    const float start = services_.clock.secondsSinceMidnight();
    const std::int32_t deadline = nearest(static_cast<double>(start) + 3.0);
    if (deadline < 5)
        return;
    calibrating = -1;
    label3.setCaption("しばらくお待ちください。");
    services_.mousePointer.set(Pointer::Hourglass);
    for (;;) {
        float now = services_.clock.secondsSinceMidnight();
        // The clock restarts at midnight; a reading below the start belongs
        // to the next day, so the window still ends on time.
        if (now < start)
            now += secondsPerDay;
        if (now > deadline)
            break;
        ++calibrationCount;
        services_.pump.pump();
    }
    calibrationCount = nearest(calibrationCount * 1.5);
    services_.mousePointer.set(Pointer::Arrow);
}

void SpeedCalibration::handOver(Label& label3) {
    label3.setCaption(std::to_string(calibrationCount));
    services_.random.seed(services_.clock.secondsSinceMidnight());
    for (std::int32_t i = 1; i <= calibrationCount; ++i) {
        services_.pump.pump();
        services_.random.next();
    }
}

} // namespace jorv
