// A frame as others see it: on a terminal, after the bytes the renderer sends, and as a picture.
#include "console/terminal_image.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <tuple>

#include "console/renderer.h"
#include "console/screen_svg.h"
#include "text/cp437.h"

namespace shiftlog {
namespace {

TerminalColour Indexed(int value) {
  return {TerminalColour::Kind::kIndexed, value};
}

// The terminal shows exactly the frame: in every cell the glyph (UTF-8 or the ASCII stand-in) and
// the PC colours in ANSI order, bright foregrounds as bold on 8 colours; and the cursor.
void ExpectShows(const TerminalImage& image, const Frame& frame, const RenderOptions& options) {
  const bool eight = options.colours == ColourLevel::kEight;
  for (int row = 1; row <= kRows; ++row) {
    for (int column = 1; column <= kColumns; ++column) {
      const Cell& cell = frame.page.At(row, column);
      const int fg = PcToAnsiColour(cell.attribute & 15), bg = PcToAnsiColour((cell.attribute >> 4) & 7);
      const TerminalCell& got = image.At(row, column);  // its glyph is compared as text
      const TerminalCell want{got.glyph, Indexed(eight ? fg & 7 : fg), Indexed(bg), eight && fg >= 8,
                              (cell.attribute & 0x80) != 0};
      const std::string glyph = options.utf8 ? std::string(Cp437ToUtf8(cell.character))
                                             : std::string(1, Cp437ToAscii(cell.character));
      if (!(got == want) || image.Text(row, column, 1) != glyph) {
        FAIL() << "cell " << row << "," << column << " shows \"" << image.Text(row, column, 1)
               << "\", wanted character " << int{cell.character} << " attribute " << int{cell.attribute};
      }
    }
  }
  EXPECT_EQ(image.CursorVisible(), frame.cursor.visible);
  if (frame.cursor.visible) {
    EXPECT_EQ(std::pair(image.CursorRow(), image.CursorColumn()),
              std::pair(frame.cursor.row, frame.cursor.column));
  }
}

// Whatever the renderer sends (each colour level, glyph form and cursor shape control), a terminal
// shows exactly the frame: in full, then after each of many changes sent as differences only. The
// bytes come in pieces of any size, so sequences and UTF-8 characters are cut between reads.
TEST(TerminalImage, ShowsEveryFrameTheRendererSendsWholeOrAsDifferences) {
  for (const RenderOptions& level :
       {RenderOptions{ColourLevel::kSixteen, true, CursorShapeControl::kDecscusr},
        RenderOptions{ColourLevel::kEight, true, CursorShapeControl::kLinux},
        RenderOptions{ColourLevel::kEight, false, CursorShapeControl::kNone}}) {
    SCOPED_TRACE(::testing::Message() << (level.utf8 ? "utf8, " : "ascii, ")
                                      << (level.colours == ColourLevel::kEight ? 8 : 16) << " colours");
    std::mt19937 random(7), cuts(7);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto byte = [&] { return static_cast<std::uint8_t>(below(256)); };
    TerminalImage image;
    std::uint64_t fed = 0;
    auto feed = [&](const std::string& bytes) {
      for (size_t at = 0, n = 0; at < bytes.size(); at += n) {
        n = 1 + cuts() % 16;
        image.Feed(std::string_view(bytes).substr(at, n));
      }
      fed += bytes.size();
    };
    Frame frame = Screen().CurrentFrame();
    for (Cell& cell : frame.page.cells) cell = Cell{byte(), byte()};
    feed(RenderFrame(nullptr, frame, level));
    ExpectShows(image, frame, level);
    for (int step = 0; step < 300 && !::testing::Test::HasFailure(); ++step) {
      SCOPED_TRACE(step);
      Frame next = frame;
      // A few cells here and there, a run along a row, sometimes only the cursor.
      for (int i = below(6); i > 0; --i) {
        const int row = 1 + below(kRows), column = 1 + below(kColumns);
        const int end = std::min(kColumns, column + below(12));
        const std::uint8_t attribute = byte();
        for (int c = column; c <= end; ++c) next.page.At(row, c) = Cell{byte(), attribute};
      }
      if (below(3) == 0) {
        next.cursor.visible = below(2) == 0;
        next.cursor.row = 1 + below(kRows);
        next.cursor.column = 1 + below(kColumns);
      }
      feed(RenderFrame(&frame, next, level));
      ExpectShows(image, next, level);
      frame = next;
    }
    EXPECT_EQ(image.BytesFed(), fed);
  }
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
  EXPECT_EQ(image.At(1, 1).background, Indexed(200));
  EXPECT_TRUE(image.Shows("X"));
  EXPECT_FALSE(image.Shows("XY"));
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A blank screen in bright white on blue, without a cursor, with the texts printed on it.
Screen BlueScreen(std::initializer_list<std::tuple<int, int, const char*>> texts = {}) {
  Screen screen;
  screen.SetColour(15, 1);
  screen.ClearScreen();
  screen.SetCursorVisible(false);
  for (const auto& [row, column, text] : texts) {
    screen.Locate(row, column);
    screen.PrintText(text);
  }
  return screen;
}

// The pictures of the screens (docs/pictures, compared byte for byte) show the text runs, double
// frames, blinking and the cursor; these are what no screen there shows.
TEST(ScreenSvg, SingleFramesEscapedTextAndAChangedPalette) {
  // The frame's three rows, and its rectangles (one per line): single, single rows in a double one.
  const std::tuple<const char*, const char*, const char*, size_t> cases[] = {
      {"\xDA\xC4\xC4\xC4\xBF", "\xB3   \xB3", "\xC0\xC4\xC4\xC4\xD9", 4},
      {"\xC9\xCD\xCD\xCD\xBB", "\xC7\xC4\xC4\xC4\xB6", "\xC8\xCD\xCD\xCD\xBC", 9},
  };
  for (const auto& [top, middle, bottom, rectangles] : cases) {
    const std::string svg =
        FrameSvg(BlueScreen({{5, 10, top}, {6, 10, middle}, {7, 10, bottom}}).CurrentFrame());
    std::smatch path;
    ASSERT_TRUE(std::regex_search(svg, path, std::regex("<path fill=\"#ffffff\" d=\"([^\"]*)\"/>"))) << svg;
    EXPECT_EQ(Count(path[1].str(), "z"), rectangles) << svg;
    EXPECT_EQ(Count(svg, "<text"), 0u) << svg;
  }
  Screen screen = BlueScreen({{9, 28, "Enter <PIN> & go"}});
  screen.SetPalette(1, 4);  // colour 1 shows EGA red
  const std::string svg = FrameSvg(screen.CurrentFrame());
  EXPECT_EQ(Count(svg, "<text x=\"270\" y=\"175\" textLength=\"160\">Enter &lt;PIN&gt; &amp; go</text>"), 1u)
      << svg;
  EXPECT_EQ(Count(svg, "fill=\"#aa0000\"/>"), 1u);  // the whole ground is red now
}

}  // namespace
}  // namespace shiftlog
