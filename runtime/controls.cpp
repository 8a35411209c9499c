// Text forms of control values, for traces and messages.
#include "controls.h"

namespace jorv {

std::string toString(const Colour& colour) {
    if (colour.buttonText)
        return "ButtonText";
    return "RGB(" + std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue) + ")";
}

} // namespace jorv
