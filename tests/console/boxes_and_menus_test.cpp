#include <gtest/gtest.h>

#include "console/boxes.h"
#include "console/menu_chooser.h"
#include "console/wait_key.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

using testing::TestProgram;

std::string Cp437(std::initializer_list<int> codes) {
  std::string s;
  for (int c : codes) s += static_cast<char>(c);
  return s;
}

TEST(Box, DrawsTheDoubleFrameAndBlanksItsInsideOnlyInMonochrome) {
  TestProgram t;
  Console& console = t.console();
  console.screen.SetColour(15, 1);
  console.screen.ClearScreen();
  console.screen.Locate(5, 5);
  console.screen.PrintText("keep");
  Box(console, 3, 4, 6, 4);
  console.Present();
  EXPECT_EQ(t.terminal.Text(4, 3, 6), Cp437({201, 205, 205, 205, 205, 187}));
  EXPECT_EQ(t.terminal.Text(5, 3, 6), Cp437({186, ' ', 'k', 'e', 'e', 186}));
  EXPECT_EQ(t.terminal.Text(7, 3, 6), Cp437({200, 205, 205, 205, 205, 188}));

  console.displayMode = kMonochrome;
  Box(console, 3, 4, 6, 4);
  console.Present();
  EXPECT_EQ(t.terminal.Text(5, 3, 6), Cp437({186, ' ', ' ', ' ', ' ', 186}));

  Box(console, 20, 10, 5, 2);  // height 2: top and bottom lines only
  console.Present();
  EXPECT_EQ(t.terminal.Text(10, 20, 5), Cp437({201, 205, 205, 205, 187}));
  EXPECT_EQ(t.terminal.Text(11, 20, 5), Cp437({200, 205, 205, 205, 188}));
}

TEST(ShadowPanel, PutsTheShadowRightOfAndBelowThePanel) {
  TestProgram t;
  Console& console = t.console();
  console.screen.SetColour(15, 7);
  console.screen.ClearScreen();
  ShadowPanel(console, 60, 2, 16, 23, 1);
  console.Present();
  EXPECT_EQ(t.terminal.Character(2, 76), 220);
  EXPECT_EQ(t.terminal.Attribute(2, 76), 0x78);
  EXPECT_EQ(t.terminal.Character(3, 76), 219);
  EXPECT_EQ(t.terminal.Character(24, 76), 219);
  EXPECT_EQ(t.terminal.Character(25, 60), ' ');
  EXPECT_EQ(t.terminal.Text(25, 61, 16), std::string(16, static_cast<char>(223)));
  EXPECT_EQ(t.terminal.Attribute(25, 61), 0x78);
  EXPECT_EQ(t.terminal.Background(10, 60), 1);
  EXPECT_EQ(t.terminal.Background(10, 75), 1);
  EXPECT_EQ(t.terminal.Character(2, 77), ' ');
  // Left at foreground 8 on the panel colour, at the panel's corner.
  EXPECT_EQ(console.screen.Foreground(), 8);
  EXPECT_EQ(console.screen.Background(), 1);
  EXPECT_EQ(console.screen.Row(), 2);
  EXPECT_EQ(console.screen.Column(), 60);
}

const std::vector<std::string> kItems = {"1. One", "", "3. Three", "4. Four"};

TEST(MenuChooser, ArrowsWrapAndSkipEmptyItems) {
  TestProgram t;
  Console& console = t.console();
  int choice = 1;
  int key = 0;
  t.terminal.TypeExtended(kKeyUp);    // 1 -> 4
  t.terminal.TypeExtended(kKeyDown);  // 4 -> 1
  t.terminal.TypeExtended(kKeyDown);  // 1 -> 3, over the gap
  t.terminal.Type("\r");
  MenuChooser(console, 4, 10, 4, kItems, 2, choice, key);
  EXPECT_EQ(choice, 3);
  EXPECT_EQ(key, 13);
  EXPECT_EQ(t.terminal.Text(10, 10, 10), " 3. Three ");
  EXPECT_EQ(t.terminal.Attribute(10, 10), 0x3F);  // the chosen item stays highlighted
  EXPECT_EQ(t.terminal.Attribute(6, 10), 0x1F);
  EXPECT_EQ(console.screen.Foreground(), 15);
  EXPECT_EQ(console.screen.Background(), 1);
}

TEST(MenuChooser, DigitKeysMoveTheBarEmptyItemsBeepAndNineEndsLikeTab) {
  TestProgram t;
  Console& console = t.console();
  int choice = 1;
  int key = 0;
  t.terminal.Type("4");  // moves, does not return
  t.terminal.Type("2");  // empty item: beep
  t.terminal.Type("7");  // above the count: ignored
  t.terminal.Type("8");  // key code 8 with only 4 items: ignored
  t.terminal.Type("9");  // key code 9 ends the choice like [TAB]
  MenuChooser(console, 4, 10, 4, kItems, 1, choice, key);
  EXPECT_EQ(choice, 4);
  EXPECT_EQ(key, 9);
  EXPECT_EQ(t.terminal.Beeps(), 1);
}

TEST(MenuChooser, EscapeAndFunctionKeysAndTypedAheadKeys) {
  TestProgram t;
  Console& console = t.console();
  int choice = 3;
  int key = 0;
  for (int i = 0; i < 16; ++i) t.terminal.TypeAhead("\r");  // typed before the menu appeared
  t.terminal.TypeExtended(kKeyF11);
  MenuChooser(console, 4, 10, 4, kItems, 1, choice, key);
  EXPECT_EQ(choice, 27);
  EXPECT_EQ(key, 27);
  t.terminal.TypeExtended(kKeyUp);  // from no item up to the last one
  t.terminal.Type("\r");
  MenuChooser(console, 4, 10, 4, kItems, 1, choice, key);
  EXPECT_EQ(choice, 4);

  choice = 3;
  t.terminal.TypeExtended(kKeyF5);
  MenuChooser(console, 4, 10, 4, kItems, 1, choice, key);
  EXPECT_EQ(choice, 3);
  EXPECT_EQ(key, kKeyF5);

  t.terminal.TypeExtended(kKeyCtrlTab);
  MenuChooser(console, 4, 10, 4, kItems, 1, choice, key);
  EXPECT_EQ(key, kKeyCtrlTab);
}

TEST(MenuChooser, MonochromeHighlightIsBlackOnTheMonochromeForeground) {
  TestProgram t;
  Console& console = t.console();
  console.displayMode = kMonochrome;
  console.monoForeground = 15;
  int choice = 1;
  int key = 0;
  t.terminal.Type("\x1b");
  MenuChooser(console, 4, 10, 4, kItems, 1, choice, key);
  EXPECT_EQ(t.terminal.Attribute(5, 10), 0x70);  // background 15 shows as 7: there are no bright backgrounds
  EXPECT_EQ(t.terminal.Attribute(8, 10), 0x0F);
}

}  // namespace
}  // namespace shiftlog
