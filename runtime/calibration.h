// The speed measurement that the title screen runs when play is started:
// how many pump calls fit into about three seconds, times 1.5. The result
// paces every wait of the game; it reaches the game window as the text of
// the title screen's Label3.
#pragma once

#include "controls.h"
#include "services.h"

#include <cstdint>

namespace jorv {

class SpeedCalibration {
public:
    explicit SpeedCalibration(const Services& services)
        : services_(services) {}

    // Counts pump calls until the clock passes the deadline (the clock plus
    // 3 seconds, as a whole number). A deadline below 5 measures nothing.
    void measure(Label& label3);
    // Shows the count in Label3, seeds the random source from the clock and
    // spends one pump call and one discarded random number per count.
    void handOver(Label& label3);

    std::int32_t calibrationCount = 0;
    // -1 once the measurement has begun; never set back.
    std::int16_t calibrating = 0;

private:
    Services services_;
};

} // namespace jorv
