// The text forms every screen and printout shares.
#pragma once

#include <string>
#include <string_view>

namespace shiftlog {

// A field of width w: the text left-aligned, cut to w characters or padded with blanks.
std::string TextField(std::string_view text, int width);

// A whole number as text the way the suite writes numbers: a leading blank when it is not
// negative (" 12", "-3", " 0").
std::string NumberText(long long value);

// A whole number right-aligned in a field of width w ("##" is width 2); wider numbers are
// shown whole.
std::string NumberField(long long value, int width);

// The numeric value of a text as the suite reads numbers: leading blanks skipped, an optional
// sign, digits with an optional decimal point; reading stops at the first other character.
// Text that is not a number gives 0.
double NumericValue(std::string_view text);

// Upper-case and trim helpers for code page 437 byte strings (ASCII letters only).
std::string UpperCase(std::string_view text);
std::string TrimBlanks(std::string_view text);
std::string TrimTrailingBlanks(std::string_view text);

}  // namespace shiftlog
