#include "console/terminal_image.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "console/renderer.h"
#include "text/cp437.h"

namespace shiftlog {
namespace {

char32_t DecodeUtf8(std::string_view bytes) {
  TerminalImage image;
  image.Feed(std::string("\x1b[H") + std::string(bytes));
  return image.At(1, 1).glyph;
}

// The glyph each byte shows as, per form.
const std::array<char32_t, 256>& Glyphs(bool utf8) {
  static const auto table = [] {
    std::array<std::array<char32_t, 256>, 2> glyphs{};
    for (int b = 0; b < 256; ++b) {
      glyphs[1][b] = DecodeUtf8(Cp437ToUtf8(static_cast<std::uint8_t>(b)));
      glyphs[0][b] = static_cast<char32_t>(Cp437ToAscii(static_cast<std::uint8_t>(b)));
    }
    return glyphs;
  }();
  return table[utf8 ? 1 : 0];
}

// What a terminal must show for a cell of the default palette: the glyph (UTF-8 or the ASCII
// stand-in), the PC colours in ANSI order, bright foregrounds as bold on 8 colours.
TerminalCell Expected(const Cell& cell, const RenderOptions& options) {
  TerminalCell expected;
  expected.glyph = Glyphs(options.utf8)[cell.character];
  const int foreground = PcToAnsiColour(cell.attribute & 15);
  const int background = PcToAnsiColour((cell.attribute >> 4) & 7);
  const bool eight = options.colours == ColourLevel::kEight;
  expected.foreground = {TerminalColour::Kind::kIndexed, eight ? foreground & 7 : foreground};
  expected.background = {TerminalColour::Kind::kIndexed, background};
  expected.bold = eight && foreground >= 8;
  expected.blink = (cell.attribute & 0x80) != 0;
  return expected;
}

std::string Describe(const TerminalCell& cell) {
  return "glyph " + std::to_string(static_cast<int>(cell.glyph)) + " fg " +
         std::to_string(cell.foreground.value) + " bg " + std::to_string(cell.background.value) +
         (cell.bold ? " bold" : "") + (cell.blink ? " blink" : "");
}

void ExpectShows(const TerminalImage& image, const Frame& frame, const RenderOptions& options,
                 const std::string& step) {
  for (int row = 1; row <= kRows; ++row) {
    for (int column = 1; column <= kColumns; ++column) {
      const TerminalCell want = Expected(frame.page.At(row, column), options);
      const TerminalCell& got = image.At(row, column);
      if (!(got == want)) {
        FAIL() << step << ": cell " << row << "," << column << " shows " << Describe(got) << ", wanted "
               << Describe(want);
      }
    }
  }
  EXPECT_EQ(image.CursorVisible(), frame.cursor.visible) << step;
  if (frame.cursor.visible) {
    EXPECT_EQ(image.CursorRow(), frame.cursor.row) << step;
    EXPECT_EQ(image.CursorColumn(), frame.cursor.column) << step;
  }
}

struct Level {
  const char* name;
  RenderOptions options;
};

// Whatever the renderer sends, in every form the terminals get it, a terminal shows exactly the
// frame: first in full, then after each of many changes sent as differences only (moves right,
// cells written again instead of a move, colours kept from the cell before, the cursor).
TEST(TerminalImage, ShowsEveryFrameTheRendererSendsWholeOrAsDifferences) {
  const Level levels[] = {
      {"utf8, 16 colours", {ColourLevel::kSixteen, true, CursorShapeControl::kDecscusr}},
      {"ascii, 16 colours", {ColourLevel::kSixteen, false, CursorShapeControl::kDecscusr}},
      {"utf8, 8 colours", {ColourLevel::kEight, true, CursorShapeControl::kLinux}},
      {"ascii, 8 colours", {ColourLevel::kEight, false, CursorShapeControl::kNone}},
  };
  for (const Level& level : levels) {
    std::mt19937 random(7);
    Screen screen;
    Frame frame = screen.CurrentFrame();
    for (Cell& cell : frame.page.cells) {
      cell = Cell{static_cast<std::uint8_t>(random() % 256), static_cast<std::uint8_t>(random() % 256)};
    }
    TerminalImage image;
    image.Feed(RenderFrame(nullptr, frame, level.options));
    ExpectShows(image, frame, level.options, std::string(level.name) + ", whole frame");

    for (int step = 0; step < 300; ++step) {
      Frame next = frame;
      // A few cells here and there, a run along a row, sometimes only the cursor.
      const int changes = static_cast<int>(random() % 6);
      for (int i = 0; i < changes; ++i) {
        const int row = 1 + static_cast<int>(random() % kRows);
        const int column = 1 + static_cast<int>(random() % kColumns);
        const int length = 1 + static_cast<int>(random() % 12);
        const std::uint8_t attribute = static_cast<std::uint8_t>(random() % 256);
        for (int c = column; c < column + length && c <= kColumns; ++c) {
          next.page.At(row, c) = Cell{static_cast<std::uint8_t>(random() % 256), attribute};
        }
      }
      if (random() % 3 == 0) {
        next.cursor.visible = random() % 2 == 0;
        next.cursor.row = 1 + static_cast<int>(random() % kRows);
        next.cursor.column = 1 + static_cast<int>(random() % kColumns);
      }
      image.Feed(RenderFrame(&frame, next, level.options));
      ExpectShows(image, next, level.options, std::string(level.name) + ", step " + std::to_string(step));
      if (::testing::Test::HasFatalFailure()) return;
      frame = next;
    }
  }
}

TEST(TerminalImage, SequencesAndCharactersCutByTheReadsAreFinishedByTheNextRead) {
  Screen screen;
  screen.SetColour(15, 1);
  screen.ClearScreen();
  screen.Locate(3, 10);
  screen.PrintText("\xC9\xCD\xCD\xBB Anna \xDB");
  const std::string bytes = RenderFrame(nullptr, screen.CurrentFrame(), RenderOptions{});
  TerminalImage whole;
  whole.Feed(bytes);
  TerminalImage bytewise;
  for (char c : bytes) bytewise.Feed(std::string_view(&c, 1));
  EXPECT_EQ(bytewise.Dump(), whole.Dump());
  EXPECT_EQ(whole.Text(3, 10, 11), "\u2554\u2550\u2550\u2557 Anna \u2588");
  EXPECT_EQ(whole.BackgroundIndex(3, 10), 4);  // PC blue is ANSI 4
  EXPECT_EQ(whole.BytesFed(), bytes.size());
}

TEST(TerminalImage, OtherSequencesAreSkippedWholeAndMovesStayOnTheScreen) {
  TerminalImage image;
  // A title (OSC ended by BEL, then by ST), a cursor shape, the alternate screen, keypad mode.
  image.Feed(
      "\x1b]0;title\x07"
      "A\x1b]2;x\x1b\\B\x1b[2 qC\x1b[?1049hD\x1b=E");
  EXPECT_EQ(image.Text(1, 1, 5), "   DE");  // the alternate screen starts empty
  image.Feed("\x1b[99;99HZ\x1b[5D\x1b[3AY\x1b[1;80HQ");
  EXPECT_EQ(image.Text(25, 80, 1), "Z");
  EXPECT_EQ(image.Text(22, 75, 1), "Y");
  EXPECT_EQ(image.Text(1, 80, 1), "Q");
  // Erasing takes the background in force.
  image.Feed("\x1b[0;44m\x1b[2J");
  EXPECT_EQ(image.BackgroundIndex(12, 40), 4);
  EXPECT_EQ(image.Text(1, 80, 1), " ");
  image.Feed("\x1b[H\x1b[0;38;2;1;2;3;48;5;200mX");
  EXPECT_EQ(image.At(1, 1).foreground, (TerminalColour{TerminalColour::Kind::kRgb, 0x010203}));
  EXPECT_EQ(image.At(1, 1).background, (TerminalColour{TerminalColour::Kind::kIndexed, 200}));
  EXPECT_TRUE(image.Shows("X"));
  EXPECT_FALSE(image.Shows("XY"));
}

}  // namespace
}  // namespace shiftlog
