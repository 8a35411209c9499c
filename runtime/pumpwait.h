// The counted waits: every pause of the game is a counted number of pump
// calls, and every count runs through the one loop here, which never passes
// its counter's range.
#pragma once

#include "services.h"

#include <cstdint>
#include <functional>

namespace jorv {

// Runs the pump n times, counting in loopIndex from 1, as one request to the
// pump (Pump::pumpCounted). loopIndex is the caller's shared counter, not a
// local: handlers that run inside the pump calls see it and may change it. A
// wait of n <= 0 steps returns at once.
void pumpWait(Pump& pump, std::int32_t& loopIndex, std::int32_t n);

// Runs the pump n times with a counter of its own: as one request to the
// pump, or, when `afterEachCall` is given, as n single calls with it run
// after each; n <= 0 runs it never, and a count beyond the counter's range
// stops at its top.
void pumpCalls(Pump& pump, std::int64_t n, const std::function<void()>& afterEachCall = {});

} // namespace jorv
