#include "console/renderer.h"

#include <gtest/gtest.h>

#include <string>

#include "text/cp437.h"

namespace shiftlog {
namespace {

// A blank screen of 15 on 1 with the cursor hidden, as most screens of the program look.
Frame BlueFrame() {
  Screen screen;
  screen.SetColour(15, 1);
  screen.ClearScreen();
  screen.SetCursorVisible(false);
  return screen.CurrentFrame();
}

void Put(Frame& frame, int row, int column, std::string_view text, std::uint8_t attribute) {
  for (char c : text) frame.page.At(row, column++) = Cell{static_cast<std::uint8_t>(c), attribute};
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(Cp437, GlyphsOfControlCodesBoxesAndSigns) {
  EXPECT_EQ(Cp437ToUnicode(0), U' ');
  EXPECT_EQ(Cp437ToUnicode(1), U'\u263A');
  EXPECT_EQ(Cp437ToUnicode(13), U'\u266A');
  EXPECT_EQ(Cp437ToUnicode(31), U'\u25BC');
  EXPECT_EQ(Cp437ToUnicode('A'), U'A');
  EXPECT_EQ(Cp437ToUnicode(127), U'\u2302');
  EXPECT_EQ(Cp437ToUnicode(201), U'\u2554');
  EXPECT_EQ(Cp437ToUnicode(220), U'\u2584');
  EXPECT_EQ(Cp437ToUnicode(246), U'\u00F7');
  EXPECT_EQ(Cp437ToUnicode(251), U'\u221A');
  EXPECT_EQ(Cp437ToUtf8(205), "\u2550");
  EXPECT_EQ(Cp437ToUtf8(130), "\u00E9");
}

TEST(Cp437, TypedCharactersComeBackToTheirBytesAndControlGlyphsDoNot) {
  for (int b = 32; b < 256; ++b) {
    if (b == 127) continue;
    EXPECT_EQ(UnicodeToCp437(Cp437ToUnicode(static_cast<std::uint8_t>(b))), b) << b;
  }
  // Typing a smiling face must not send the program a control code such as Backspace.
  for (int b = 1; b < 32; ++b)
    EXPECT_EQ(UnicodeToCp437(Cp437ToUnicode(static_cast<std::uint8_t>(b))), std::nullopt) << b;
  EXPECT_EQ(UnicodeToCp437(U'\u2302'), std::nullopt);
  EXPECT_EQ(UnicodeToCp437(U'\u20AC'), std::nullopt);  // euro sign: not in the code page
}

TEST(Cp437, AsciiStandInsArePrintableAndLookLikeTheGlyph) {
  for (int b = 0; b < 256; ++b) {
    const char c = Cp437ToAscii(static_cast<std::uint8_t>(b));
    EXPECT_TRUE(c >= 32 && c < 127) << b;
  }
  std::string box;
  for (int b :
       {201, 205, 187, 186, 200, 188, 185, 204, 218, 196, 191, 179, 192, 217, 219, 220, 223, 130, 246})
    box += Cp437ToAscii(static_cast<std::uint8_t>(b));
  EXPECT_EQ(box, "+=+|+++++-+|++###e/");
}

TEST(Renderer, IdenticalFramesNeedNoBytes) {
  const Frame frame = BlueFrame();
  EXPECT_EQ(RenderFrame(&frame, frame, RenderOptions{}), "");
}

TEST(Renderer, OneChangedCellWritesOnlyThatCell) {
  const Frame before = BlueFrame();
  Frame after = before;
  Put(after, 5, 10, "X", 0x1F);
  EXPECT_EQ(RenderFrame(&before, after, RenderOptions{}), "\x1b[5;10H\x1b[0;97;44mX");

  // With the cursor showing, it is put back where the screen wants it.
  Frame visibleBefore = before, visibleAfter = after;
  visibleBefore.cursor = visibleAfter.cursor = CursorState{12, 40, true, 10, 12};
  EXPECT_EQ(RenderFrame(&visibleBefore, visibleAfter, RenderOptions{}),
            "\x1b[5;10H\x1b[0;97;44mX\x1b[12;40H");
}

TEST(Renderer, GoldenBytesForSeveralChanges) {
  const Frame before = BlueFrame();
  Frame after = before;
  Put(after, 2, 3, "\xc9\xcd\xcd\xbb", 0x1F);  // a frame's top edge
  Put(after, 2, 9, "A", 0x1F);                 // two unchanged cells away: written again
  Put(after, 2, 30, "B", 0x4E);                // far along the row: moved to
  Put(after, 3, 1, "C", 0xCF);                 // blinking bright white on red
  EXPECT_EQ(RenderFrame(&before, after, RenderOptions{}),
            "\x1b[2;3H\x1b[0;97;44m\u2554\u2550\u2550\u2557  A"
            "\x1b[20C\x1b[93;41mB"
            "\x1b[3;1H\x1b[5;97mC");
}

TEST(Renderer, FullRedrawClearsAndDrawsEveryCellWithTheCursor) {
  Frame frame = BlueFrame();
  Put(frame, 25, 80, "Z", 0x70);
  frame.cursor = CursorState{3, 4, true, 10, 12};
  const std::string bytes = RenderFrame(nullptr, frame, RenderOptions{});
  EXPECT_EQ(bytes.rfind("\x1b[0m\x1b[H\x1b[2J\x1b[H\x1b[0;97;44m", 0), 0u) << bytes.substr(0, 40);
  EXPECT_EQ(Count(bytes.substr(0, bytes.size() - 17), " "), 25u * 80u - 1);
  EXPECT_EQ(Count(bytes, "H"), 25u + 2);  // one move per row, the clear's home and the cursor's
  EXPECT_NE(bytes.find(" \x1b[30;47mZ"), std::string::npos);
  EXPECT_EQ(bytes.substr(bytes.size() - 17), "\x1b[3 q\x1b[3;4H\x1b[?25h");

  Frame hidden = frame;
  hidden.cursor.visible = false;
  const std::string hiddenBytes = RenderFrame(nullptr, hidden, RenderOptions{});
  EXPECT_EQ(hiddenBytes.rfind("\x1b[?25l", 0), 0u);
  EXPECT_EQ(hiddenBytes.find("?25h"), std::string::npos);
}

TEST(Renderer, CursorShowsHidesAndChangesShape) {
  Frame hidden = BlueFrame();
  Frame shown = hidden;
  shown.cursor.visible = true;
  shown.cursor.row = 7;
  shown.cursor.column = 21;
  EXPECT_EQ(RenderFrame(&hidden, shown, RenderOptions{}), "\x1b[7;21H\x1b[?25h");
  EXPECT_EQ(RenderFrame(&shown, hidden, RenderOptions{}), "\x1b[?25l");
  Frame block = shown;
  block.cursor.firstLine = 0;
  block.cursor.lastLine = 13;
  EXPECT_EQ(RenderFrame(&shown, block, RenderOptions{}), "\x1b[1 q");
  RenderOptions linux{ColourLevel::kEight, false, CursorShapeControl::kLinux};
  EXPECT_EQ(RenderFrame(&shown, block, linux), "\x1b[?6c");
  RenderOptions none{ColourLevel::kSixteen, true, CursorShapeControl::kNone};
  EXPECT_EQ(RenderFrame(&shown, block, none), "");
}

TEST(Renderer, PcColoursAreMappedToAnsiOrder) {
  const Frame before = BlueFrame();
  std::string got;
  for (int colour = 0; colour < 16; ++colour) {
    Frame after = before;
    Put(after, 1, 1, "x", static_cast<std::uint8_t>(colour | ((colour & 7) << 4)));
    got += RenderFrame(&before, after, RenderOptions{}).substr(3) + " ";
  }
  EXPECT_EQ(got,
            "\x1b[0;30;40mx \x1b[0;34;44mx \x1b[0;32;42mx \x1b[0;36;46mx \x1b[0;31;41mx \x1b[0;35;45mx "
            "\x1b[0;33;43mx \x1b[0;37;47mx \x1b[0;90;40mx \x1b[0;94;44mx \x1b[0;92;42mx \x1b[0;96;46mx "
            "\x1b[0;91;41mx \x1b[0;95;45mx \x1b[0;93;43mx \x1b[0;97;47mx ");
}

TEST(Renderer, PaletteMappingChoosesTheShownColour) {
  EXPECT_EQ(EgaToRgb(20), (Rgb{0xAA, 0x55, 0x00}));  // brown
  EXPECT_EQ(EgaToRgb(57), (Rgb{0x55, 0x55, 0xFF}));
  EXPECT_EQ(NearestPcColour(63), 15);
  EXPECT_EQ(NearestPcColour(6), 6);  // dark yellow is nearest to brown
  EXPECT_EQ(NearestPcColour(9), 1);  // blue with a little extra blue stays blue

  // The bright monochrome display shows colour 7 as EGA colour 63.
  Frame before = BlueFrame();
  Frame after = before;
  after.palette[7] = 63;
  Put(after, 1, 1, "M", 0x70);
  Put(after, 1, 2, "m", 0x07);
  EXPECT_EQ(RenderFrame(&before, after, RenderOptions{}), "\x1b[H\x1b[0;30;107mM\x1b[97;40mm");

  // Outside the 16 PC colours: the nearest of them, or the colour itself where the terminal
  // has more colours.
  after = before;
  after.palette[1] = 6;
  const std::string sixteen = RenderFrame(&before, after, RenderOptions{});
  EXPECT_NE(sixteen.find("\x1b[0;97;43m"), std::string::npos);
  RenderOptions wide{ColourLevel::k256, true, CursorShapeControl::kDecscusr};
  EXPECT_NE(RenderFrame(&before, after, wide).find("\x1b[0;97;48;5;142m"), std::string::npos);
  wide.colours = ColourLevel::kTrueColour;
  EXPECT_NE(RenderFrame(&before, after, wide).find("\x1b[0;97;48;2;170;170;0m"), std::string::npos);
}

TEST(Renderer, PaletteChangeRedrawsOnlyTheCellsInTheChangedColour) {
  Frame before = BlueFrame();
  Put(before, 4, 4, "g", 0x12);  // green on blue
  Frame after = before;
  after.palette[2] = 62;  // green shown as yellow
  EXPECT_EQ(RenderFrame(&before, after, RenderOptions{}), "\x1b[4;4H\x1b[0;93;44mg");
}

TEST(Renderer, EightColourTerminalsShowBrightForegroundsAsBold) {
  RenderOptions eight{ColourLevel::kEight, true, CursorShapeControl::kDecscusr};
  const Frame before = BlueFrame();
  Frame after = before;
  Put(after, 1, 1, "a", 0x1F);  // bright white on blue
  Put(after, 1, 2, "b", 0x17);  // grey on blue: bold must go again
  Put(after, 1, 3, "c", 0x78);  // dark grey (the panel shadow) on grey
  Put(after, 1, 4, "d", 0x7C);  // light red on grey: bold stays, colour changes
  EXPECT_EQ(RenderFrame(&before, after, eight),
            "\x1b[H\x1b[0;1;37;44ma\x1b[0;37;44mb\x1b[1;30;47mc\x1b[31md");
}

TEST(Renderer, AsciiStandInsWhereTheLocaleIsNotUtf8) {
  RenderOptions ascii{ColourLevel::kSixteen, false, CursorShapeControl::kDecscusr};
  const Frame before = BlueFrame();
  Frame after = before;
  Put(after, 1, 1, "\xc9\xcd\xbb\xb3\xdb\x01\x82", 0x1F);
  EXPECT_EQ(RenderFrame(&before, after, ascii), "\x1b[H\x1b[0;97;44m+=+|#oe");
}

TEST(Renderer, CellsAfterTheLastColumnArePlacedAgain) {
  const Frame before = BlueFrame();
  Frame after = before;
  Put(after, 3, 80, "R", 0x1F);
  Put(after, 4, 1, "S", 0x1F);
  EXPECT_EQ(RenderFrame(&before, after, RenderOptions{}), "\x1b[3;80H\x1b[0;97;44mR\x1b[4;1HS");
}

TEST(Renderer, EnlargeRequestIsCentredAndWrapsOnNarrowTerminals) {
  const std::string wide = RenderEnlargeRequest(20, 70);
  EXPECT_NE(wide.find("\x1b[10;5HPlease enlarge this window to at least 80 x 25 (now 70 x 20)."),
            std::string::npos);
  const std::string narrow = RenderEnlargeRequest(10, 20);
  EXPECT_NE(narrow.find("\x1b[4;1HPlease enlarge this\x1b[5;2Hwindow to at least"), std::string::npos)
      << narrow;
  EXPECT_NE(narrow.find("(now 20 x\x1b[7;9H10)."), std::string::npos);
}

}  // namespace
}  // namespace shiftlog
