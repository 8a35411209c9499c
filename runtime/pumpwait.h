// The counted waits: every pause of the game is a counted number of pump
// calls, and every count is bounded here, once: a number of calls below zero
// is none, and no counter passes the top of its range.
#pragma once

#include "services.h"

#include <cstdint>
#include <functional>
#include <limits>

namespace jorv {

constexpr std::int32_t topOfRange = std::numeric_limits<std::int32_t>::max();

// Moves a counter on to the call after the one it shows. At the top of its
// range it stays there and the run is over: false.
bool stepOn(std::int32_t& counter);

// Runs the pump n times, counting in loopIndex from 1, as one request to the
// pump (Pump::pumpCounted). loopIndex is the caller's shared counter, not a
// local: handlers that run inside the pump calls see it and may change it. A
// wait of n <= 0 steps returns at once; one beyond the counter's range stops
// at its top.
void pumpWait(Pump& pump, std::int32_t& loopIndex, std::int64_t n);

// Runs the pump n times with a counter of its own: as one request to the
// pump, or, when `afterEachCall` is given, as n single calls with it run
// after each.
void pumpCalls(Pump& pump, std::int64_t n, const std::function<void()>& afterEachCall = {});

} // namespace jorv
