// Uniform numbers in [0, 1) from a Mersenne Twister.
#include "stdrandom.h"

#include <bit>

namespace jorv {

void StdRandom::seed(float clockReading) {
    engine_.seed(std::bit_cast<std::uint32_t>(clockReading));
}

float StdRandom::next() {
    return toUnit(static_cast<std::uint32_t>(engine_()));
}

float StdRandom::toUnit(std::uint32_t draw) {
    return static_cast<float>(draw >> 8) * (1.0f / 16777216.0f);
}

} // namespace jorv
