#include "console/field_editor.h"

#include <gtest/gtest.h>

#include "console/scripted_terminal.h"
#include "console/wait_key.h"

namespace shiftlog {
namespace {

constexpr int kRow = 5;
constexpr int kColumn = 10;
constexpr int X = 256;  // added to a scan code: an extended key in Edit()

class FieldEditor : public ::testing::Test {
 protected:
  // A field of the given length (or lines x width) with its key table loaded.
  void Prepare(const std::string& initial, int length, const std::string& table = "JU", int lines = 1,
               int width = 0) {
    text = initial;
    p[kFieldEditing] = 1;
    p[kFieldLines] = lines;
    p[kFieldMaxLength] = length;
    p[kFieldWidth] = width == 0 ? length : width;
    p[kFieldBackground] = 3;
    p[kFieldForeground] = 15;
    Edit({}, table);
  }
  void Edit(std::initializer_list<int> keys, const std::string& how = "") {
    for (int k : keys) k < X ? terminal.Type(KeyText(1, static_cast<char>(k))) : terminal.TypeExtended(k - X);
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

TEST_F(FieldEditor, OpensPaddedTypesCapitalsAndLeavesOnEnter) {
  Prepare("", 5);
  Edit({'a', 'b', 'c', '\r'});
  EXPECT_EQ(text, "ABC  ");
  EXPECT_EQ(exitCode, 13);
  EXPECT_EQ(mode, "\r");
  EXPECT_EQ(p[kFieldVertical], 1);
  EXPECT_EQ(p[kFieldCursorColumn], kColumn + 3);
  EXPECT_EQ(terminal.Text(kRow, kColumn, 5), "ABC  ");
  EXPECT_EQ(terminal.Attribute(kRow, kColumn), 0x3F);
  EXPECT_FALSE(console.screen.Cursor().visible);
}

TEST_F(FieldEditor, InsertOverwriteBackspaceDeleteHomeAndEnd) {
  Prepare("ABCDE", 5);
  Edit({X + kKeyInsert, 'z', '\t'});  // insert into a full field: the last character falls off
  EXPECT_EQ(text, "ZABCD");
  Edit({X + kKeyEnd, 'x', 'y', '\t'});  // overwrite keeps replacing the last character
  EXPECT_EQ(text, "ZABCY");
  EXPECT_EQ(p[kFieldCursorIndex], 5);
  text = "ABCDE";
  Edit({X + kKeyHome, X + kKeyRight, X + kKeyRight, '\b', '\t'});
  EXPECT_EQ(text, "ACDE ");
  EXPECT_EQ(p[kFieldCursorIndex], 2);
  text = "ABCDE";
  Edit({X + kKeyDelete, '\t'});
  EXPECT_EQ(text, "ACDE ");
  EXPECT_EQ(p[kFieldCursorIndex], 2);
  Edit({X + kKeyEnd, '\t'});  // past the text, on the padding
  EXPECT_EQ(p[kFieldCursorIndex], 5);
  Edit({X + kKeyHome, '\b'});
  EXPECT_EQ(exitCode, 8);
  EXPECT_EQ(text, "ACDE ");
}

TEST_F(FieldEditor, ExitCodesAndLeaveDirections) {
  Prepare("ABC", 3);
  const struct {
    int key, exit, vertical;
  } cases[] = {{X + kKeyUp, 327, -1},
               {X + kKeyDown, 335, 1},
               {'\t', 9, 0},
               {27, 27, 0},
               {X + kKeyF11, 27, 0},
               {X + kKeyF1, 314, 0},
               {X + kKeyPageUp, 328, 0},
               {X + kKeyPageDown, 336, 0},
               {X + 124, 318, 0} /* Alt+5 */};
  for (const auto& c : cases) {
    Edit({X + kKeyLeft, c.key});  // [LEFT] on the first position does nothing with "JU"
    EXPECT_EQ(exitCode, c.exit) << c.key;
    EXPECT_EQ(p[kFieldVertical], c.vertical) << c.key;
    EXPECT_EQ(p[kFieldHorizontal], 0) << c.key;
  }
  Edit({}, "J");
  Edit({X + kKeyLeft});
  EXPECT_EQ(exitCode, 330);
  EXPECT_EQ(p[kFieldHorizontal], -1);
}

TEST_F(FieldEditor, ResumesWhereItWasInOverwriteModeWithDirectionsCleared) {
  Prepare("ABCDE", 5);
  Edit({X + kKeyRight, X + kKeyInsert, X + kKeyDown});
  Edit({'z', '\t'});
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
    Edit({'\t'});
    EXPECT_EQ(terminal.Attribute(kRow, kColumn), display == kMonochrome ? 0x70 : 0x3F);
    Edit({}, "END");
    EXPECT_EQ(p[kFieldOpen], 0);
    EXPECT_EQ(console.screen.CellAttribute(kRow, kColumn + 4), 0x1E);
    EXPECT_EQ(console.screen.CellCharacter(kRow, kColumn), 'a');
  }
}

TEST_F(FieldEditor, FieldsOfSeveralLinesMoveByLines) {
  Prepare("", 10, "I", 2, 5);
  Edit({X + kKeyDown, 'q', X + kKeyDown, X + kKeyUp, X + kKeyUp, 'r', '1', '2', '3', '4', '\t'});
  EXPECT_EQ(text, " R1234    ");  // the second [DOWN] and [UP] had no line to go to
  EXPECT_EQ(p[kFieldCursorRow], kRow + 1);
  EXPECT_EQ(p[kFieldCursorColumn], kColumn + 1);
  EXPECT_EQ(terminal.Text(kRow + 1, kColumn, 5), "4    ");
}

TEST_F(FieldEditor, WithEditingOffTheTextNeverChanges) {
  Prepare("ABCDE", 5);
  p[kFieldEditing] = 0;
  Edit({X + kKeyRight, X + kKeyRight, 'x', X + kKeyDelete});
  EXPECT_EQ(exitCode, kKeyDelete + 255);
  Edit({'\b'});
  EXPECT_EQ(exitCode, 8);
  EXPECT_EQ(text, "ABCDE");
  EXPECT_FALSE(terminal.LastFrame().cursor.visible);
}

TEST_F(FieldEditor, CalculatorOpensOnF2AndTypingGoesOnInTheFieldColours) {
  console.screen.SetColour(7, 0);
  console.screen.ClearScreen();
  Prepare("", 5);
  Edit({'a', X + kKeyF2, '1', 27, 'b', '\t'});
  EXPECT_EQ(text, "AB   ");
  EXPECT_EQ(terminal.Attribute(kRow, kColumn + 1), 0x3F);
  EXPECT_EQ(terminal.LastFrame().page, console.screen.PageAt(0));
  EXPECT_EQ(terminal.Text(3, 19, 20), std::string(20, ' '));
}

}  // namespace
}  // namespace shiftlog
