// Double-precision numbers as text, the way the suite's run-time writes them, and the plain
// form the calculator shows.
#pragma once

#include <string>
#include <string_view>

namespace shiftlog {

// What stands in for a number that has run past the range of doubles (or is not a number at
// all after such a run): there are no digits worth showing.
inline constexpr std::string_view kOverflowMark = "OVERFLOW";

// The run-time's text for a double, without its leading blank: up to 16 significant digits,
// no zero before the point (".1", "-.25"); numbers from 1D+16 up, or that would need more
// than 17 places after the point, as a mantissa, "D", the exponent's sign and at least two
// exponent digits ("1D+25", "-1.5D-18"). Infinity and NaN give kOverflowMark.
std::string DoubleText(double value);

// The calculator's display text: DoubleText, with exponents of -24 to +24 written out in
// plain decimals (1D+16 becomes 1 and 16 zeros, 1D-18 becomes .000000000000000001).
std::string PlainDoubleText(double value);

}  // namespace shiftlog
