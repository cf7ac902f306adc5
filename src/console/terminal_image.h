// What a terminal shows after the bytes the renderer and the real terminal send it: the
// glyph, colours and renditions of every cell, and the cursor. It understands the sequences
// this program writes (cursor placement and moves, erasing, SGR colours in all four colour
// levels, the alternate screen, cursor visibility) and skips any other sequence whole. The
// stress benchmark reads the stations' screens with it from their pseudo-terminals; the tests
// check that what the renderer writes shows the frame it was given.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/screen.h"

namespace shiftlog {

// A colour as the terminal was told it: one of its 16 colours (0-15, ANSI order; the bright
// ones from 90-97 / 100-107), an entry of the 256-colour palette, or red, green and blue.
struct TerminalColour {
  enum class Kind : std::uint8_t { kDefault, kIndexed, kRgb };
  Kind kind = Kind::kDefault;
  int value = 0;  // the index (0-255), or 0xRRGGBB
  bool operator==(const TerminalColour&) const = default;
};

struct TerminalCell {
  char32_t glyph = U' ';
  TerminalColour foreground;
  TerminalColour background;
  bool bold = false;
  bool blink = false;
  bool operator==(const TerminalCell&) const = default;
};

class TerminalImage {
 public:
  TerminalImage();

  // Takes the next bytes the program wrote; a sequence or character cut in two by the reads
  // is finished by the next call.
  void Feed(std::string_view bytes);

  const TerminalCell& At(int row, int column) const { return cells_[Index(row, column)]; }
  // length cells from (row, column) as UTF-8.
  std::string Text(int row, int column, int length) const;
  // The ANSI colour (0-15) a cell's background shows, or -1 for the default or a colour
  // outside the 16.
  int BackgroundIndex(int row, int column) const;
  // Whether text occurs anywhere on the screen, within one row.
  bool Shows(std::string_view text) const;
  // All 25 rows as UTF-8 lines, for failure messages.
  std::string Dump() const;

  int CursorRow() const { return row_; }
  int CursorColumn() const { return column_ > kColumns ? kColumns : column_; }
  bool CursorVisible() const { return cursorVisible_; }
  // How many bytes were taken since the start: lets a reader tell that the screen changed.
  std::uint64_t BytesFed() const { return bytesFed_; }

 private:
  static int Index(int row, int column) { return (row - 1) * kColumns + (column - 1); }
  void PutGlyph(char32_t glyph);
  void RunControlSequence(std::string_view parameters, char final);
  // The renditions of an SGR sequence, its parameters as numbers (-1 for an empty one).
  void SelectGraphicRendition(const std::vector<int>& numbers);
  void Erase(int fromIndex, int toIndex);

  std::array<TerminalCell, kRows * kColumns> cells_{};
  int row_ = 1;
  int column_ = 1;  // kColumns + 1: the last column was written and the next glyph wraps
  bool cursorVisible_ = true;
  TerminalCell pen_;
  std::uint64_t bytesFed_ = 0;

  // The parser's place within a sequence or a UTF-8 character.
  enum class State { kGround, kEscape, kCsi, kString, kStringEscape };
  State state_ = State::kGround;
  std::string sequence_;
  char32_t utf8Value_ = 0;
  int utf8Left_ = 0;
};

}  // namespace shiftlog
