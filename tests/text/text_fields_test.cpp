#include "text/text_fields.h"

#include <gtest/gtest.h>

namespace shiftlog {
namespace {

TEST(TextFields, FieldsCutOrPadAndNumbersGetALeadingBlank) {
  EXPECT_EQ(TextField("abc", 5), "abc  ");
  EXPECT_EQ(TextField("abcdefg", 5), "abcde");
  EXPECT_EQ(TextField("abc", 0), "");
  EXPECT_EQ(NumberText(12), " 12");
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(-3), "-3");
  EXPECT_EQ(NumberField(7, 2), " 7");
  EXPECT_EQ(NumberField(123, 2), "123");
}

TEST(TextFields, NumericValueReadsLikeTheRunTime) {
  EXPECT_EQ(NumericValue("  12"), 12);
  EXPECT_EQ(NumericValue("08"), 8);
  EXPECT_EQ(NumericValue("00012345"), 12345);
  EXPECT_EQ(NumericValue("-3"), -3);
  EXPECT_EQ(NumericValue("1 2"), 12);
  EXPECT_EQ(NumericValue("12:30"), 12);
  EXPECT_DOUBLE_EQ(NumericValue("2.5x"), 2.5);
  EXPECT_EQ(NumericValue("ab"), 0);
  EXPECT_EQ(NumericValue(""), 0);
  EXPECT_EQ(NumericValue(std::string(3, '\0')), 0);
}

}  // namespace
}  // namespace shiftlog
