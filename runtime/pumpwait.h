// The pump wait: every pause of the game is a counted number of pump calls.
#pragma once

#include "services.h"

#include <cstdint>

namespace jorv {

// Runs the pump n times, counting in loopIndex from 1. loopIndex is the
// caller's shared counter, not a local: handlers that run inside the pump
// calls see it and may change it. A wait of n <= 0 steps returns at once.
void pumpWait(Pump& pump, std::int32_t& loopIndex, std::int32_t n);

} // namespace jorv
