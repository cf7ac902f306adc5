// The 80 x 25 character screen as the program sees it: three pages of cells, each cell a
// code page 437 byte and a PC attribute byte, with the position, colours, cursor and palette
// that every screen draws with. Drawing changes only this model; the terminal shows it when
// the program waits for a key.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace shiftlog {

inline constexpr int kRows = 25;
inline constexpr int kColumns = 80;

// Attribute byte as on the PC: bit 7 blink, bits 4-6 background, bits 0-3 foreground.
struct Cell {
  std::uint8_t character = ' ';
  std::uint8_t attribute = 0x07;
  bool operator==(const Cell&) const = default;
};

struct Page {
  std::array<Cell, kRows * kColumns> cells{};
  Cell& At(int row, int column) { return cells[(row - 1) * kColumns + (column - 1)]; }
  const Cell& At(int row, int column) const { return cells[(row - 1) * kColumns + (column - 1)]; }
  bool operator==(const Page&) const = default;
};

struct CursorState {
  int row = 1;
  int column = 1;
  bool visible = true;
  int firstLine = 6;  // scan lines of the 8 x 14 cell the cursor covers
  int lastLine = 7;
  bool operator==(const CursorState&) const = default;
};

// What the terminal is asked to show: the page shown, the cursor and the palette that maps
// each of the 16 colour numbers to one of the 64 EGA colours.
struct Frame {
  Page page;
  CursorState cursor;
  std::array<std::uint8_t, 16> palette{};
  bool operator==(const Frame&) const = default;
};

// The EGA colour a colour number shows by default (0-5, 20, 7, 56-63).
std::uint8_t DefaultEgaColour(int colourNumber);

class Screen {
 public:
  static constexpr int kPageCount = 4;  // pages 0, 1 and 3 are used; 2 exists but nobody draws there

  Screen();

  // Position; the second form also sets the cursor visible or hidden.
  void Locate(int row, int column);
  void Locate(int row, int column, bool cursorVisible);
  void SetCursorVisible(bool visible);
  void SetCursorShape(int firstLine, int lastLine);

  // Foreground 0-15, or 16-31 for (value - 16) blinking; background 0-7.
  void SetColour(int foreground, int background);
  void SetForeground(int foreground);
  void SetBackground(int background);
  int Foreground() const { return foreground_; }
  int Background() const { return background_; }

  // Writes the bytes at the position in the current colours; with endLine the position then
  // moves to column 1 of the next row. Text running past column 80 goes on at the next row;
  // nothing is written past the last cell.
  void PrintText(std::string_view text, bool endLine = false);
  void ClearScreen();
  void ResetTextWindow() {}  // no screen narrows the text window; kept for the drawing routines' order

  std::uint8_t CellAttribute(int row, int column) const;
  std::uint8_t CellCharacter(int row, int column) const;

  void SetPalette(int colourNumber, int egaColour);
  void CopyPage(int source, int target);
  void SelectPages(int written, int shown);
  int WrittenPage() const { return written_; }
  int ShownPage() const { return shown_; }

  int Row() const { return row_; }
  int Column() const { return column_; }
  const CursorState& Cursor() const { return cursor_; }

  // The frame the terminal should show now.
  Frame CurrentFrame() const;
  const Page& PageAt(int page) const { return pages_[page]; }

 private:
  std::uint8_t CurrentAttribute() const;

  std::array<Page, kPageCount> pages_{};
  std::array<std::uint8_t, 16> palette_{};
  int written_ = 0;
  int shown_ = 0;
  int row_ = 1;
  int column_ = 1;
  int foreground_ = 7;
  int background_ = 0;
  CursorState cursor_;
};

// Writes text at row and column in the current colours.
inline void PrintAt(Screen& screen, int row, int column, std::string_view text) {
  screen.Locate(row, column);
  screen.PrintText(text);
}

// The position, colours and cursor of whoever opened a window over the screen, taken when it
// opens and given back when it closes (a row past the last is given back as the last).
struct ScreenPen {
  int row = 1;
  int column = 1;
  int foreground = 7;
  int background = 0;
  CursorState cursor;

  static ScreenPen Of(const Screen& screen) {
    return {screen.Row(), screen.Column(), screen.Foreground(), screen.Background(), screen.Cursor()};
  }
  void GiveBack(Screen& screen) const {
    screen.SetColour(foreground, background);
    screen.Locate(row > kRows ? kRows : row, column, cursor.visible);
    screen.SetCursorShape(cursor.firstLine, cursor.lastLine);
  }
};

}  // namespace shiftlog
