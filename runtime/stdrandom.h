// The program's random source: a Mersenne Twister seeded from a clock
// reading. It needs nothing of Qt.
#pragma once

#include "services.h"

#include <cstdint>
#include <random>

namespace jorv {

class StdRandom final : public Random {
public:
    void seed(float clockReading) override;
    float next() override;

    // Maps a 32-bit draw to [0, 1): the top 24 bits fit a float's mantissa
    // exactly, so even the largest draw stays below 1.0.
    static float toUnit(std::uint32_t draw);

private:
    std::mt19937 engine_;
};

} // namespace jorv
