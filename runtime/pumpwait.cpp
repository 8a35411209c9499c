// The counted pump waits, and the bounds of every count.
#include "pumpwait.h"

#include <algorithm>

namespace jorv {

namespace {

std::int32_t callsIn(std::int64_t n) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 0, topOfRange));
}

// One pump call per step while the counter has not passed n. A handler may
// move the counter, also to the top of its range.
void countPumpCalls(Pump& pump, std::int32_t& counter, std::int32_t n,
                    const std::function<void()>& afterEachCall = {}) {
    counter = 1;
    while (counter <= n) {
        pump.pump();
        if (afterEachCall)
            afterEachCall();
        if (!stepOn(counter))
            break;
    }
}

} // namespace

bool stepOn(std::int32_t& counter) {
    if (counter == topOfRange)
        return false;
    ++counter;
    return true;
}

void Pump::pumpCounted(std::int32_t& counter, std::int32_t n) {
    countPumpCalls(*this, counter, n);
}

void pumpWait(Pump& pump, std::int32_t& loopIndex, std::int64_t n) {
    pump.pumpCounted(loopIndex, callsIn(n));
}

void pumpCalls(Pump& pump, std::int64_t n, const std::function<void()>& afterEachCall) {
    std::int32_t counter = 0;
    const std::int32_t calls = callsIn(n);
    if (afterEachCall)
        countPumpCalls(pump, counter, calls, afterEachCall);
    else
        pump.pumpCounted(counter, calls);
}

} // namespace jorv
