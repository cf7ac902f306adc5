#include "console/double_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace shiftlog {

namespace {

constexpr int kSignificantDigits = 16;
constexpr int kLargestPlainExponent = 15;
constexpr int kMostPlacesAfterPoint = 17;
// Exponents whose magnitude is below this are written out in full on the calculator.
constexpr int kPlainExponentLimit = 25;

std::string StripTrailingZeros(std::string digits) {
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return digits;
}

}  // namespace

std::string DoubleText(double value) {
  if (!std::isfinite(value)) return std::string(kOverflowMark);
  if (value == 0) return "0";  // also -0, which the run-time shows as plain 0

  // Rounding to 16 significant digits first lets the carry (9.99...95 -> 1D+01) settle the
  // exponent, and hides the binary noise of sums such as .1 + .2.
  char scientific[48];
  std::snprintf(scientific, sizeof scientific, "%.*e", kSignificantDigits - 1, std::fabs(value));
  std::string digits(1, scientific[0]);
  digits.append(scientific + 2, static_cast<size_t>(kSignificantDigits - 1));
  digits = StripTrailingZeros(digits);
  const int exponent = std::atoi(scientific + kSignificantDigits + 2);  // after "d.ddd...e"
  const int count = static_cast<int>(digits.size());

  std::string text = value < 0 ? "-" : "";
  const int placesAfterPoint = count - 1 - exponent > 0 ? count - 1 - exponent : 0;
  if (exponent <= kLargestPlainExponent && placesAfterPoint <= kMostPlacesAfterPoint) {
    if (exponent < 0) {
      text += "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else if (count <= exponent + 1) {
      text += digits + std::string(static_cast<size_t>(exponent + 1 - count), '0');
    } else {
      text += digits.substr(0, static_cast<size_t>(exponent + 1)) + "." +
              digits.substr(static_cast<size_t>(exponent + 1));
    }
    return text;
  }

  text += digits.substr(0, 1);
  if (count > 1) text += "." + digits.substr(1);
  char exponentText[16];
  std::snprintf(exponentText, sizeof exponentText, "D%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return text + exponentText;
}

std::string PlainDoubleText(double value) {
  const std::string text = DoubleText(value);
  const size_t d = text.find('D');
  if (d == std::string::npos) return text;
  // The whole exponent decides: three-digit exponents such as D+105 stay as they are.
  const int exponent = std::atoi(text.c_str() + d + 1);
  if (std::abs(exponent) >= kPlainExponentLimit) return text;

  const bool negative = text[0] == '-';
  std::string digits;
  for (size_t i = negative ? 1 : 0; i < d; ++i) {
    if (text[i] != '.') digits += text[i];
  }
  std::string plain;
  if (exponent < 0) {
    plain = "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  } else {
    // Zeros enough to reach the units place whatever the exponent, then the point; the
    // trailing zeros and a bare point go again.
    const size_t whole = static_cast<size_t>(exponent + 1);
    if (digits.size() < whole) digits.append(whole - digits.size(), '0');
    plain = digits.substr(0, whole) + "." + digits.substr(whole);
    while (plain.back() == '0') plain.pop_back();
    if (plain.back() == '.') plain.pop_back();
  }
  return negative ? "-" + plain : plain;
}

}  // namespace shiftlog
