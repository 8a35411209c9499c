// The counted pump wait.
#include "pumpwait.h"

namespace jorv {

void pumpWait(Pump& pump, std::int32_t& loopIndex, std::int32_t n) {
    loopIndex = 1;
    while (loopIndex <= n) {
        pump.pump();
        // A handler may have left loopIndex at the top of its range; stop
        // rather than overflow it.
        if (loopIndex == INT32_MAX)
            break;
        ++loopIndex;
    }
}

} // namespace jorv
