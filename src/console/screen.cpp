#include "console/screen.h"

#include <cassert>

namespace shiftlog {

std::uint8_t DefaultEgaColour(int colourNumber) {
  static constexpr std::array<std::uint8_t, 16> kDefault = {0,  1,  2,  3,  4,  5,  20, 7,
                                                            56, 57, 58, 59, 60, 61, 62, 63};
  return kDefault[colourNumber & 15];
}

Screen::Screen() {
  for (int i = 0; i < 16; ++i) palette_[i] = DefaultEgaColour(i);
}

void Screen::Locate(int row, int column) {
  assert(row >= 1 && row <= kRows && column >= 1 && column <= kColumns);
  row_ = row;
  column_ = column;
  cursor_.row = row;
  cursor_.column = column;
}

void Screen::Locate(int row, int column, bool cursorVisible) {
  Locate(row, column);
  cursor_.visible = cursorVisible;
}

void Screen::SetCursorVisible(bool visible) { cursor_.visible = visible; }

void Screen::SetCursorShape(int firstLine, int lastLine) {
  cursor_.firstLine = firstLine;
  cursor_.lastLine = lastLine;
}

void Screen::SetColour(int foreground, int background) {
  SetForeground(foreground);
  SetBackground(background);
}

void Screen::SetForeground(int foreground) {
  assert(foreground >= 0 && foreground <= 31);
  foreground_ = foreground & 31;
}

void Screen::SetBackground(int background) {
  assert(background >= 0 && background <= 15);
  background_ = background & 7;
}

std::uint8_t Screen::CurrentAttribute() const {
  const int blink = foreground_ >= 16 ? 0x80 : 0;
  return static_cast<std::uint8_t>(blink | (background_ << 4) | (foreground_ & 15));
}

void Screen::PrintText(std::string_view text, bool endLine) {
  Page& page = pages_[written_];
  const std::uint8_t attribute = CurrentAttribute();
  for (char c : text) {
    if (row_ > kRows) break;
    page.At(row_, column_) = Cell{static_cast<std::uint8_t>(c), attribute};
    if (++column_ > kColumns) {
      column_ = 1;
      ++row_;
    }
  }
  // A line that just filled the last column has already moved on; an empty one has not.
  if (endLine && (column_ != 1 || text.empty())) {
    column_ = 1;
    ++row_;
  }
  // The position may stand one row below the screen after the last cell; the next Locate
  // brings it back, and the cursor stays on the last real cell meanwhile.
  cursor_.row = row_ > kRows ? kRows : row_;
  cursor_.column = row_ > kRows ? kColumns : column_;
}

void Screen::ClearScreen() {
  const Cell blank{' ', CurrentAttribute()};
  pages_[written_].cells.fill(blank);
  Locate(1, 1);
}

std::uint8_t Screen::CellAttribute(int row, int column) const {
  return pages_[written_].At(row, column).attribute;
}

std::uint8_t Screen::CellCharacter(int row, int column) const {
  return pages_[written_].At(row, column).character;
}

void Screen::SetPalette(int colourNumber, int egaColour) {
  assert(colourNumber >= 0 && colourNumber < 16 && egaColour >= 0 && egaColour < 64);
  palette_[colourNumber & 15] = static_cast<std::uint8_t>(egaColour & 63);
}

void Screen::CopyPage(int source, int target) {
  assert(source >= 0 && source < kPageCount && target >= 0 && target < kPageCount);
  pages_[target] = pages_[source];
}

void Screen::SelectPages(int written, int shown) {
  assert(written >= 0 && written < kPageCount && shown >= 0 && shown < kPageCount);
  written_ = written;
  shown_ = shown;
}

Frame Screen::CurrentFrame() const { return Frame{pages_[shown_], cursor_, palette_}; }

}  // namespace shiftlog
