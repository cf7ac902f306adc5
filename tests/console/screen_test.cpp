#include "console/screen.h"

#include <gtest/gtest.h>

namespace shiftlog {
namespace {

TEST(Screen, PrintTextWritesCharactersAndAttributeAndWrapsAtTheRightEdge) {
  Screen screen;
  screen.SetColour(15, 1);
  screen.Locate(3, 79);
  screen.PrintText("abc");
  EXPECT_EQ(screen.CellCharacter(3, 79), 'a');
  EXPECT_EQ(screen.CellCharacter(3, 80), 'b');
  EXPECT_EQ(screen.CellCharacter(4, 1), 'c');
  EXPECT_EQ(screen.CellAttribute(3, 79), 0x1F);
  screen.Locate(25, 80);
  screen.PrintText("xyz", true);  // nothing is written past the last cell
  EXPECT_EQ(screen.CellCharacter(25, 80), 'x');
  screen.Locate(4, 1);
  screen.PrintText("", true);  // an empty line still moves on
  EXPECT_EQ(screen.Row(), 5);
}

TEST(Screen, BlinkingForegroundSetsTheBlinkBit) {
  Screen screen;
  screen.SetColour(31, 4);
  screen.Locate(1, 1);
  screen.PrintText("!");
  EXPECT_EQ(screen.CellAttribute(1, 1), 0x80 | 0x40 | 0x0F);
}

TEST(Screen, PagesAreWrittenAndShownSeparately) {
  Screen screen;
  screen.SetColour(7, 0);
  screen.ClearScreen();
  screen.PrintText("zero");
  screen.CopyPage(0, 1);
  screen.SelectPages(1, 1);
  screen.Locate(1, 1);
  screen.PrintText("ONE!");
  EXPECT_EQ(screen.CurrentFrame().page.At(1, 1).character, 'O');
  screen.SelectPages(0, 0);
  EXPECT_EQ(screen.CurrentFrame().page.At(1, 1).character, 'z');
  EXPECT_EQ(screen.CellCharacter(1, 1), 'z');
}

TEST(Screen, ClearScreenUsesCurrentColoursAndHomesThePosition) {
  Screen screen;
  screen.SetColour(15, 7);
  screen.Locate(10, 10);
  screen.ClearScreen();
  EXPECT_EQ(screen.CellAttribute(25, 80), 0x7F);
  EXPECT_EQ(screen.Row(), 1);
  EXPECT_EQ(screen.Column(), 1);
}

}  // namespace
}  // namespace shiftlog
