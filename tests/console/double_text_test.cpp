#include "console/double_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace shiftlog {
namespace {

TEST(DoubleText, SixteenDigitsNoLeadingZeroAndTheDExponent) {
  EXPECT_EQ(DoubleText(5), "5");
  EXPECT_EQ(DoubleText(-0.25), "-.25");
  EXPECT_EQ(DoubleText(0.1 + 0.2), ".3");
  EXPECT_EQ(DoubleText(2.0 / 3), ".6666666666666666");
  EXPECT_EQ(DoubleText(-0.0), "0");
  EXPECT_EQ(DoubleText(9.99999999999999999), "10");
  EXPECT_EQ(DoubleText(1e15), "1000000000000000");
  EXPECT_EQ(DoubleText(1e16), "1D+16");
  EXPECT_EQ(DoubleText(-1.5e20), "-1.5D+20");
  EXPECT_EQ(DoubleText(1e-17), ".00000000000000001");
  EXPECT_EQ(DoubleText(1e-18), "1D-18");
  EXPECT_EQ(DoubleText(1e300), "1D+300");
  EXPECT_EQ(DoubleText(std::numeric_limits<double>::infinity()), kOverflowMark);
  EXPECT_EQ(DoubleText(std::nan("")), kOverflowMark);
}

TEST(PlainDoubleText, ExponentsBelow25AreWrittenOut) {
  EXPECT_EQ(PlainDoubleText(1e16), "1" + std::string(16, '0'));
  EXPECT_EQ(PlainDoubleText(-1.5e20), "-15" + std::string(19, '0'));
  EXPECT_EQ(PlainDoubleText(1e24), "1" + std::string(24, '0'));  // more zeros than the mantissa has
  EXPECT_EQ(PlainDoubleText(1e25), "1D+25");
  EXPECT_EQ(PlainDoubleText(1e-18), "." + std::string(17, '0') + "1");
  EXPECT_EQ(PlainDoubleText(-1.5e-18), "-." + std::string(17, '0') + "15");
  EXPECT_EQ(PlainDoubleText(1e-25), "1D-25");
  EXPECT_EQ(PlainDoubleText(1.5e105), "1.5D+105");  // the last two digits alone must not decide
  EXPECT_EQ(PlainDoubleText(std::sqrt(5.0)), "2.23606797749979");
}

}  // namespace
}  // namespace shiftlog
