#include "console/field_editor.h"

#include <gtest/gtest.h>

#include "console/scripted_terminal.h"
#include "console/wait_key.h"

namespace shiftlog {
namespace {

constexpr int kRow = 5;
constexpr int kColumn = 10;

class FieldEditor : public ::testing::Test {
 protected:
  // Sets up a one-line field of the given length (or lines x width) and loads a key table.
  void Prepare(const std::string& initial, int length, const std::string& table = "JU", int lines = 1,
               int width = 0) {
    text = initial;
    p[kFieldEditing] = 1;
    p[kFieldLines] = lines;
    p[kFieldMaxLength] = length;
    p[kFieldWidth] = width == 0 ? length : width;
    p[kFieldBackground] = 3;
    p[kFieldForeground] = 15;
    mode = table;
    EditField(console, mode, exitCode, kColumn, kRow, console.displayMode, text, p);
  }
  void Keys(std::initializer_list<int> scanCodesOrCharacters) {
    for (int k : scanCodesOrCharacters)
      k < 256 ? terminal.Type(KeyText(1, static_cast<char>(k))) : terminal.TypeExtended(k - 256);
  }
  void Edit(const std::string& how = "") {
    mode = how;
    EditField(console, mode, exitCode, kColumn, kRow, console.displayMode, text, p);
  }

  ScriptedTerminal terminal;
  FixedClock clock;
  Console console{terminal, clock};
  FieldParameters p;
  std::string mode;
  std::string text;
  int exitCode = -1;
};

constexpr int X = 256;  // marks an extended key's scan code in Keys()

TEST_F(FieldEditor, OpensPaddedTypesCapitalsAndLeavesOnEnter) {
  Prepare("", 5);
  Keys({'a', 'b', 'c', '\r'});
  Edit();
  EXPECT_EQ(text, "ABC  ");
  EXPECT_EQ(exitCode, 13);
  EXPECT_EQ(mode, "\r");
  EXPECT_EQ(p[kFieldVertical], 1);
  EXPECT_EQ(p[kFieldCursorIndex], 4);
  EXPECT_EQ(terminal.Text(kRow, kColumn, 5), "ABC  ");
  EXPECT_EQ(terminal.Attribute(kRow, kColumn), 0x3F);
  EXPECT_TRUE(terminal.LastFrame().cursor.visible);
  EXPECT_FALSE(console.screen.Cursor().visible);
}

TEST_F(FieldEditor, InsertIntoAFullFieldDropsTheLastCharacterAndOverwriteStaysOnTheLast) {
  Prepare("ABCDE", 5);
  Keys({X + kKeyInsert, 'z', '\t'});
  Edit();
  EXPECT_EQ(text, "ZABCD");
  Keys({X + kKeyEnd, 'x', 'y', '\t'});
  Edit();
  EXPECT_EQ(text, "ZABCY");
  EXPECT_EQ(p[kFieldCursorIndex], 5);
}

TEST_F(FieldEditor, BackspaceAndDeletePositions) {
  Prepare("ABCDE", 5);
  Keys({X + kKeyRight, X + kKeyRight, '\b', '\t'});
  Edit();
  EXPECT_EQ(text, "ACDE ");
  EXPECT_EQ(p[kFieldCursorIndex], 2);
  EXPECT_EQ(exitCode, 9);
  text = "ABCDE";
  Keys({X + kKeyDelete, '\t'});  // resumes on index 2
  Edit();
  EXPECT_EQ(text, "ACDE ");
  EXPECT_EQ(p[kFieldCursorIndex], 2);
  Keys({X + kKeyHome, '\b'});
  Edit();
  EXPECT_EQ(exitCode, 8);
  EXPECT_EQ(text, "ACDE ");
}

TEST_F(FieldEditor, EndGoesPastTheTextOrToTheLastPosition) {
  Prepare("AB", 5);
  Keys({X + kKeyEnd, '\t'});
  Edit();
  EXPECT_EQ(p[kFieldCursorIndex], 3);
  EXPECT_EQ(p[kFieldCursorColumn], kColumn + 2);
  text = "ABCDE";
  Keys({X + kKeyEnd, '\t'});
  Edit();
  EXPECT_EQ(p[kFieldCursorIndex], 5);
}

TEST_F(FieldEditor, ExitCodesAndLeaveDirections) {
  Prepare("ABC", 3);
  const struct {
    int key, exit, vertical, horizontal;
  } cases[] = {{X + kKeyUp, 327, -1, 0},
               {X + kKeyDown, 335, 1, 0},
               {'\t', 9, 0, 0},
               {27, 27, 0, 0},
               {X + kKeyF11, 27, 0, 0},
               {X + kKeyF1, 314, 0, 0},
               {X + kKeyPageUp, 328, 0, 0},
               {X + kKeyPageDown, 336, 0, 0}};
  for (const auto& c : cases) {
    Keys({X + kKeyLeft, c.key});  // [LEFT] on the first position does nothing with "JU"
    Edit();
    EXPECT_EQ(exitCode, c.exit) << c.key;
    EXPECT_EQ(p[kFieldVertical], c.vertical) << c.key;
    EXPECT_EQ(p[kFieldHorizontal], c.horizontal) << c.key;
  }
  EXPECT_EQ(p[kFieldCursorIndex], 1);
  Keys({X + 120 + 4, X + 130});  // Alt+5 is [F5]; Alt+- is [F11]
  Edit();
  EXPECT_EQ(exitCode, 318);
  Edit();
  EXPECT_EQ(exitCode, 27);
  Edit("J");
  Keys({X + kKeyLeft, X + kKeyRight});
  Edit();
  EXPECT_EQ(exitCode, 330);
  EXPECT_EQ(p[kFieldHorizontal], -1);
  Edit();
  EXPECT_EQ(exitCode, 332);
  EXPECT_EQ(p[kFieldHorizontal], 1);
}

TEST_F(FieldEditor, ResumesWhereItWasInOverwriteModeWithDirectionsCleared) {
  Prepare("ABCDE", 5);
  Keys({X + kKeyRight, X + kKeyInsert, X + kKeyDown});
  Edit();
  EXPECT_EQ(p[kFieldVertical], 1);
  Keys({'z', '\t'});
  Edit();
  EXPECT_EQ(text, "AZCDE");
  EXPECT_EQ(p[kFieldVertical], 0);
}

TEST_F(FieldEditor, EndRedrawsInTheColoursThatWereUnderTheField) {
  for (int display : {kColourDisplay, kMonochrome}) {
    console.displayMode = display;
    p = {};
    console.screen.SetColour(14, 1);
    console.screen.Locate(kRow, kColumn);
    console.screen.PrintText("under");
    Prepare("abc", 5);
    Keys({'\t'});
    Edit();
    EXPECT_EQ(terminal.Attribute(kRow, kColumn), display == kMonochrome ? 0x70 : 0x3F);
    Edit("END");
    EXPECT_EQ(p[kFieldOpen], 0);
    EXPECT_EQ(console.screen.CellAttribute(kRow, kColumn + 4), 0x1E);
    EXPECT_EQ(console.screen.CellCharacter(kRow, kColumn), 'a');
  }
}

TEST_F(FieldEditor, FieldsOfSeveralLinesMoveByLines) {
  Prepare("", 10, "I", 2, 5);
  Keys({X + kKeyDown, 'q', X + kKeyDown, X + kKeyUp, X + kKeyUp, 'r', '\t'});
  Edit();
  EXPECT_EQ(text, " R   Q    ");  // the second [DOWN] and [UP] had no line to go to
  Keys({'1', '2', '3', '4', '5', '\t'});
  Edit();
  EXPECT_EQ(p[kFieldCursorRow], kRow + 1);
  EXPECT_EQ(p[kFieldCursorColumn], kColumn + 2);
  EXPECT_EQ(terminal.Text(kRow + 1, kColumn, 5), "45   ");
}

TEST_F(FieldEditor, WithEditingOffTheTextNeverChanges) {
  Prepare("ABCDE", 5);
  p[kFieldEditing] = 0;
  Keys({X + kKeyRight, X + kKeyRight, 'x', X + kKeyDelete});
  Edit();
  EXPECT_EQ(exitCode, kKeyDelete + 255);
  Keys({'\b'});
  Edit();
  EXPECT_EQ(exitCode, 8);
  EXPECT_EQ(text, "ABCDE");
  EXPECT_FALSE(terminal.LastFrame().cursor.visible);  // a highlight bar shows no cursor
}

TEST_F(FieldEditor, CalculatorOpensOnF2AndTypingGoesOnInTheFieldColours) {
  console.screen.SetColour(7, 0);
  console.screen.ClearScreen();
  Prepare("", 5);
  Keys({'a', X + kKeyF2, '1', 27, 'b', '\t'});
  Edit();
  EXPECT_EQ(text, "AB   ");
  EXPECT_EQ(terminal.Attribute(kRow, kColumn + 1), 0x3F);
  EXPECT_EQ(terminal.LastFrame().page, console.screen.PageAt(0));
  EXPECT_EQ(terminal.Text(3, 19, 20), std::string(20, ' '));
}

}  // namespace
}  // namespace shiftlog
