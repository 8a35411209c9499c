// The counted pump waits.
#include "pumpwait.h"

#include <algorithm>
#include <limits>

namespace jorv {

namespace {

constexpr std::int32_t topOfRange = std::numeric_limits<std::int32_t>::max();

// One pump call per step while the counter has not passed n. A handler may
// move the counter, also to the top of its range: the loop then stops rather
// than step past it.
void countPumpCalls(Pump& pump, std::int32_t& counter, std::int32_t n,
                    const std::function<void()>& afterEachCall = {}) {
    counter = 1;
    while (counter <= n) {
        pump.pump();
        if (afterEachCall)
            afterEachCall();
        if (counter == topOfRange)
            break;
        ++counter;
    }
}

} // namespace

void Pump::pumpCounted(std::int32_t& counter, std::int32_t n) {
    countPumpCalls(*this, counter, n);
}

void pumpWait(Pump& pump, std::int32_t& loopIndex, std::int32_t n) {
    pump.pumpCounted(loopIndex, n);
}

void pumpCalls(Pump& pump, std::int64_t n, const std::function<void()>& afterEachCall) {
    std::int32_t counter = 0;
    const auto calls = static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 0, topOfRange));
    if (afterEachCall)
        countPumpCalls(pump, counter, calls, afterEachCall);
    else
        pump.pumpCounted(counter, calls);
}

} // namespace jorv
