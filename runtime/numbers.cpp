// Rounding, number reading and the twips scale.
#include "numbers.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace jorv {

std::int32_t nearest(double x) {
    if (std::isnan(x))
        return 0;
    // nearbyint follows the default rounding mode, which rounds ties to even.
    const double r = std::nearbyint(x);
    if (r <= std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (r >= std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(r);
}

double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        sign = text[i++] == '-' ? -1.0 : 1.0;
    double value = 0.0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value * 10.0 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            value += (text[i] - '0') * scale;
            scale /= 10.0;
        }
    }
    return sign * value;
}

int toPixels(int twips) {
    return nearest(static_cast<double>(twips) / twipsPerPixel);
}

} // namespace jorv
