// Rounding, number reading and the twips scale.
#include "numbers.h"

#include <algorithm>
#include <charconv>
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

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t';
}

bool digit(char c) {
    return c >= '0' && c <= '9';
}

struct Reading {
    double value;
    // Where the number ends in the text.
    std::size_t end;
};

// Blanks, then an optional sign, digits and a fraction; none without a digit.
// The digits are converted exactly and independently of the locale.
std::optional<Reading> readNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && blank(text[i]))
        ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t first = i;
    while (i < text.size() && digit(text[i]))
        ++i;
    const std::size_t point = i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && digit(text[i]))
            ++i;
    }
    if (point == first && i <= point + 1)
        return std::nullopt;

    double value = 0.0;
    const char* begin = text.data() + first;
    const std::from_chars_result converted =
        std::from_chars(begin, text.data() + i, value, std::chars_format::fixed);
    if (converted.ec == std::errc::result_out_of_range) {
        // Too large for a double, or too small to differ from 0.
        const bool whole = std::any_of(begin, text.data() + point, [](char c) { return c > '0'; });
        value = whole ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return Reading{negative ? -value : value, i};
}

} // namespace

double leadingNumber(std::string_view text) {
    const std::optional<Reading> reading = readNumber(text);
    return reading ? reading->value : 0.0;
}

std::optional<double> wholeNumber(std::string_view text) {
    const std::optional<Reading> reading = readNumber(text);
    if (!reading)
        return std::nullopt;
    for (std::size_t i = reading->end; i < text.size(); ++i)
        if (!blank(text[i]))
            return std::nullopt;
    return reading->value;
}

int toPixels(int twips) {
    return nearest(static_cast<double>(twips) / twipsPerPixel);
}

} // namespace jorv
