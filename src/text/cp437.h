// Code page 437, the character set of the screen and of the suite's files, against the
// character sets of the terminals the time clock runs in: Unicode (shown as UTF-8) where the
// locale has it, plain ASCII stand-ins where it has not, and the way back for typed text. The
// back-office command line writes the store's texts as UTF-8 with the same table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace shiftlog {

// The Unicode code point of the glyph the PC shows for a byte, control codes included
// (1 is the smiling face, 127 the house); 0 shows as a blank.
char32_t Cp437ToUnicode(std::uint8_t byte);

// The same glyph as UTF-8 bytes, ready to send to a terminal.
std::string_view Cp437ToUtf8(std::uint8_t byte);

// Appends a code point as UTF-8 (one to four bytes) to out.
void AppendUtf8(std::string& out, char32_t codePoint);

// A printable ASCII character that looks as much like the glyph as one can: box corners and
// joints "+", lines "-", "=" and "|", blocks and shades "#", accented letters without accent.
char Cp437ToAscii(std::uint8_t byte);

// The code page 437 byte for a typed character, or nothing when the code page has no such
// character. Only printable characters come back: the control-code glyphs are never typed.
std::optional<std::uint8_t> UnicodeToCp437(char32_t codePoint);

}  // namespace shiftlog
