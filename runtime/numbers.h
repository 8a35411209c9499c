// Number conversions shared by the whole game: rounding to nearest with ties
// to even, reading numbers from texts, and twips to pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace jorv {

// x taken to the nearest signed 32-bit integer, ties to even; values beyond
// the range saturate and NaN gives 0.
std::int32_t nearest(double x);

// The number that a text begins with (blanks first allowed, then an optional
// sign, digits and a fraction); 0 when it begins with none.
double leadingNumber(std::string_view text);

// The number that a whole text spells in the same form, blanks around it
// allowed; none when anything else is in the text or it holds no digit.
std::optional<double> wholeNumber(std::string_view text);

// The game's layouts are in twips; the screen is laid out at 96 dpi, 15 twips
// to a pixel, and Qt's high-DPI scaling takes care of denser screens.
constexpr int twipsPerPixel = 15;
int toPixels(int twips);
constexpr int toTwips(int pixels) {
    return pixels * twipsPerPixel;
}

} // namespace jorv
