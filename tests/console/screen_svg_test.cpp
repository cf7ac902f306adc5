#include "console/screen_svg.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace shiftlog {
namespace {

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The path filled with colour, or an empty text.
std::string PathOf(const std::string& svg, const std::string& colour) {
  std::smatch match;
  const std::regex path("<path fill=\"" + colour + "\" d=\"([^\"]*)\"/>");
  return std::regex_search(svg, match, path) ? match[1].str() : std::string();
}

Screen BlueScreen() {
  Screen screen;
  screen.SetColour(15, 1);
  screen.ClearScreen();
  screen.SetCursorVisible(false);
  return screen;
}

TEST(ScreenSvg, ABlankScreenIsOneRectangleInItsBackground) {
  const std::string svg = FrameSvg(BlueScreen().CurrentFrame());
  EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"800\" height=\"500\""),
            std::string::npos);
  EXPECT_NE(svg.find("<rect width=\"800\" height=\"500\" fill=\"#0000aa\"/>"), std::string::npos);
  EXPECT_EQ(Count(svg, "<path"), 0u);
  EXPECT_EQ(Count(svg, "<text"), 0u);
}

// Frames are drawn, not left to the font, and join: a double frame is its eight lines, a
// single one its four, each line one rectangle however many cells it crosses.
TEST(ScreenSvg, FramesAreDrawnAsJoinedLinesOneRectangleEach) {
  struct Case {
    const char* name;
    const char* rows[3];
    size_t rectangles;
  };
  const Case cases[] = {
      {"double", {"\xC9\xCD\xCD\xCD\xBB", "\xBA   \xBA", "\xC8\xCD\xCD\xCD\xBC"}, 8},
      {"single", {"\xDA\xC4\xC4\xC4\xBF", "\xB3   \xB3", "\xC0\xC4\xC4\xC4\xD9"}, 4},
      {"single rows in a double frame",
       {"\xC9\xCD\xCD\xCD\xBB", "\xC7\xC4\xC4\xC4\xB6", "\xC8\xCD\xCD\xCD\xBC"},
       9},
  };
  for (const Case& c : cases) {
    Screen screen = BlueScreen();
    screen.SetColour(14, 1);
    for (int i = 0; i < 3; ++i) {
      screen.Locate(5 + i, 10);
      screen.PrintText(c.rows[i]);
    }
    const std::string svg = FrameSvg(screen.CurrentFrame());
    EXPECT_EQ(Count(PathOf(svg, "#ffff55"), "z"), c.rectangles) << c.name << "\n" << svg;
    EXPECT_EQ(Count(svg, "<text"), 0u) << c.name;
  }
  // The top line of the double frame: from the corner's outer line to the other corner's.
  Screen screen = BlueScreen();
  screen.Locate(1, 1);
  screen.PrintText("\xC9\xCD\xBB");
  EXPECT_NE(PathOf(FrameSvg(screen.CurrentFrame()), "#ffffff").find("M1 6h28v2h-28z"), std::string::npos);
}

TEST(ScreenSvg, TextGoesInRunsOfOneColourWithItsCharactersEscaped) {
  Screen screen = BlueScreen();
  screen.Locate(9, 28);
  screen.PrintText("Enter <PIN> & go");
  screen.Locate(10, 1);
  screen.PrintText("A B  C");  // one blank stays inside a run, two end it
  screen.SetColour(14, 1);
  screen.Locate(9, 50);
  screen.PrintText("\x1B\x1A \x9C");  // arrows and the pound sign of code page 437
  const std::string svg = FrameSvg(screen.CurrentFrame());
  EXPECT_NE(svg.find("<text x=\"270\" y=\"175\" textLength=\"160\">Enter &lt;PIN&gt; &amp; go</text>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<text x=\"0\" y=\"195\" textLength=\"30\">A B</text>"), std::string::npos);
  EXPECT_NE(svg.find("<text x=\"50\" y=\"195\" textLength=\"10\">C</text>"), std::string::npos);
  EXPECT_NE(
      svg.find(
          "<g fill=\"#ffff55\">\n<text x=\"490\" y=\"175\" textLength=\"40\">\u2190\u2192 \u00A3</text>"),
      std::string::npos);
  EXPECT_EQ(Count(svg, "<text"), 4u);
}

TEST(ScreenSvg, ColoursFollowThePaletteBlinkingIsSteadyAndTheCursorShows) {
  Screen screen = BlueScreen();
  screen.SetPalette(1, 4);  // colour 1 shows EGA red
  screen.SetColour(31, 1);  // blinking bright white
  screen.Locate(3, 33);
  screen.PrintText("PRINTER  ERROR!");
  screen.SetColour(15, 5);
  screen.Locate(11, 36, true);
  screen.PrintText(" ");
  screen.Locate(11, 36, true);
  const std::string svg = FrameSvg(screen.CurrentFrame());
  EXPECT_NE(svg.find("fill=\"#aa0000\"/>"), std::string::npos);  // the whole ground is red now
  EXPECT_NE(svg.find("<g fill=\"#ffffff\">\n<text x=\"320\" y=\"55\""), std::string::npos);
  EXPECT_EQ(PathOf(svg, "#aa00aa"), "M350 200h10v20h-10z");  // the one magenta cell
  EXPECT_EQ(PathOf(svg, "#ffffff"), "M350 217h10v3h-10z");   // the underline cursor in it
  EXPECT_EQ(FrameSvg(screen.CurrentFrame()), svg);
}

}  // namespace
}  // namespace shiftlog
