#include "supervisor/supervisor_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/wait_key.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

using testing::TestProgram;

const char* const kItems[] = {
    "1. Correct time punch", "2. View time cards",        "3. Associates", "4. Transmit time cards",
    "5. Delete time cards",  "6. Store # / Time display", "7. Quit"};

TEST(SupervisorMenu, KeysChooseAnItemAndEscapeQuits) {
  struct Case {
    std::vector<KeyText> keys;
    int choice;
  };
  const Case cases[] = {
      {{"\r"}, 1},
      {{"\x1b"}, 7},
      {{ExtendedKey(kKeyF11)}, 7},
      {{ExtendedKey(kKeyDown), ExtendedKey(kKeyDown), "\r"}, 3},
      {{ExtendedKey(kKeyUp), "\r"}, 7},
      {{"5", "\r"}, 5},
      {{"2", "\t", ExtendedKey(kKeyF1), "\r"}, 2},  // [TAB] and [F1] only wait again
      {{"4", "9", "\r"}, 4},                        // the digit 9 is [TAB]
      {{"6", "\x1b"}, 7},
  };
  for (const Case& c : cases) {
    TestProgram t;
    for (const KeyText& key : c.keys) t.terminal.Type(key);
    EXPECT_EQ(SupervisorMenu(t.program), c.choice) << c.keys.size() << " keys, first " << c.keys[0];
    EXPECT_EQ(t.terminal.PendingKeys(), 0u);
  }
}

TEST(SupervisorMenu, ScreenInColourAndMonochrome) {
  for (const int display : {kColourDisplay, kMonochrome}) {
    SCOPED_TRACE(display == kColourDisplay ? "colour" : "monochrome");
    TestProgram t;
    t.console().displayMode = display;
    t.terminal.TypeExtended(kKeyDown);
    EXPECT_THROW(SupervisorMenu(t.program), ScriptExhausted);
    const bool colour = display == kColourDisplay;
    EXPECT_EQ(t.terminal.Text(3, 34, 15), "Supervisor menu");
    EXPECT_EQ(t.terminal.Text(2, 28, 2), "\xC9\xCD");
    EXPECT_EQ(t.terminal.Text(18, 56, 1), "\xBC");
    for (int i = 0; i < 7; ++i) {
      const std::string item = std::string(" ") + kItems[i] + " ";
      EXPECT_EQ(t.terminal.Text(5 + 2 * i, 29, static_cast<int>(item.size())), item);
      const int attribute = i == 1 ? (colour ? 0x3F : 0x70) : (colour ? 0x1F : 0x07);
      EXPECT_EQ(t.terminal.Attribute(5 + 2 * i, 30), attribute) << kItems[i];
    }
    const std::string notes[] = {"   New employees added after a time card file has been created",
                                 "must be manually added to the time card file using option #3."};
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(t.terminal.Text(21 + i, 9, static_cast<int>(notes[i].size())), notes[i]);
    }
    EXPECT_EQ(t.terminal.Attribute(21, 12), colour ? 0x4F : 0x0F);
    EXPECT_EQ(t.terminal.Attribute(1, 40), colour ? 0x7F : 0x07);
    // The blue and the red panel cast shadows on colour displays only.
    EXPECT_EQ(t.terminal.Character(10, 58), colour ? 219 : ' ');
    EXPECT_EQ(t.terminal.Character(22, 77), colour ? 219 : ' ');
    EXPECT_EQ(t.terminal.Background(10, 40), colour ? 1 : 0);
  }
}

}  // namespace
}  // namespace shiftlog
