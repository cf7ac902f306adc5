#include "supervisor/punch_correction.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "console/wait_key.h"
#include "punch/card_fixture.h"
#include "store/time_card_file.h"
#include "text/text_fields.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;

const KeyText kUp = ExtendedKey(kKeyUp), kDown = ExtendedKey(kKeyDown), kLeft = ExtendedKey(kKeyLeft),
              kRight = ExtendedKey(kKeyRight);

// Slot 7 (CAROL CHIEF) corrects slot 3's card (BOB BAKER) in this week's file, on a shared
// data path. The card holds its own spelling of the name, so any write shows in the name field.
struct PunchCorrectionTest : testing::CardFixture {
  PunchCorrectionTest() {
    ShareDataPath();
    auto& f = t.program.frame;
    f.cardNameInUse = "20121215";
    f.dateText = "12-15-2012";
    f.loggedInSlot = 7;
    initial = NewCardFile();
    initial.replace(Record(3), 24, TextField("B. BAKER", 24));
    initial.replace(PunchAt(3, 0, 1), 10, "08:0516:58");
    initial.replace(CorrectionAt(3, 0, 2), 5, "17:00");
    initial[CorrectorAt(3, 0, 2)] = 5;
    SaveCardFile(initial);
  }
  // Runs the screen on slot 3's card; true when [ESC] left it, false when it was still waiting
  // for a key at the end of the script.
  bool Run(const std::vector<KeyText>& keys) {
    for (const KeyText& key : keys) t.terminal.Type(key);
    try {
      PunchCorrection(t.program, 3);
      return true;
    } catch (const ScriptExhausted&) {
      return false;
    }
  }
  // Lock files left in the card folder.
  int LockFiles() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(CardFile().parent_path()))
      count += entry.path().filename().string()[0] == '_' ? 1 : 0;
    return count;
  }
  std::string initial;
};

TEST_F(PunchCorrectionTest, TypedTimesAreCommittedByTheRules) {
  const KeyText bs = "\b", esc = "\x1b";
  struct Case {
    std::vector<KeyText> keys;
    std::vector<std::pair<size_t, std::string>> written;  // empty: the file is not written
    int beeps;
    bool left;
  };
  const std::string seven(1, '\x07'), none(1, '\0');
  const Case cases[] = {
      {{"0", "8", "3", "0", esc}, {{CorrectionAt(3, 0, 1), "08:30"}, {CorrectorAt(3, 0, 1), seven}}, 0, true},
      {{"2", "5", kRight, esc}, {}, 2, false},  // 25:00: neither a move nor [ESC] leaves the field
      {{"0", "7", "6", "0", kDown}, {}, 1, false},
      {{kRight, kRight, kLeft, kLeft, esc}, {}, 0, true},  // left as entered: nothing written
      {{kRight, "0", "0", "0", "0", esc},
       {{CorrectionAt(3, 0, 2), "     "}, {CorrectorAt(3, 0, 2), none}},
       0,
       true},
      {{"2", "5", kUp, kLeft}, {}, 0, false},  // at the first day and slot the arrows commit nothing
      {{kDown, kDown, kDown, kDown, kDown, kDown, kRight, kRight, kRight, kRight, kRight, kRight, kRight, "2",
        "5", kDown, kRight},
       {},
       0,
       false},
      {{"1", "2", "3", "4", "5", "6", esc},
       {{CorrectionAt(3, 0, 1), "12:36"}, {CorrectorAt(3, 0, 1), seven}},
       0,
       true},
      {{"1", "2", bs, "3", bs, bs, bs, "0", "7", esc},
       {{CorrectionAt(3, 0, 1), "07:00"}, {CorrectorAt(3, 0, 1), seven}},
       0,
       true},
      {{"0", "9", "+", "x", "1", esc},
       {{CorrectionAt(3, 0, 1), "09:10"}, {CorrectorAt(3, 0, 1), seven}},
       0,
       true},
      {{kRight, kDown, "1", "7", "3", "0", kUp, esc},
       {{CorrectionAt(3, 1, 2), "17:30"}, {CorrectorAt(3, 1, 2), seven}},
       0,
       true},
      {{"x", "\r", ExtendedKey(kKeyF1), ExtendedKey(kKeyF11), esc}, {}, 0, true},
      {{"\t", "S", "I", "C", "K", esc, esc}, {{ReasonAt(3, 0), "SICK        "}}, 0, true},
      {{kDown, "\t", "a", "\r", esc}, {{ReasonAt(3, 1), "A           "}}, 0, true},
      {{"5", "\t", "b", kUp, "\t", esc}, {{ReasonAt(3, 0), "B           "}}, 0, true},  // the 5 is dropped
  };
  for (const Case& c : cases) {
    SaveCardFile(initial);
    t.terminal.ResetBeeps();
    EXPECT_EQ(Run(c.keys), c.left) << c.keys.size() << " keys, first " << c.keys[0];
    std::string expected = initial;
    if (!c.written.empty()) expected.replace(Record(3), 24, t.program.store.associates.names[3]);
    for (const auto& [offset, bytes] : c.written) expected.replace(offset, bytes.size(), bytes);
    EXPECT_EQ(CardBytes(), expected) << c.keys.size() << " keys, first " << c.keys[0];
    EXPECT_EQ(t.terminal.Beeps(), c.beeps) << c.keys.size() << " keys, first " << c.keys[0];
    EXPECT_EQ(LockFiles(), 0);
  }
}

TEST_F(PunchCorrectionTest, ScreenInColourAndMonochrome) {
  for (const bool colour : {true, false}) {
    t.console().displayMode = colour ? kColourDisplay : kMonochrome;
    Run({kRight, "1", "7", "3", "0", kLeft, "1"});
    EXPECT_EQ(t.terminal.Text(1, 1, 26), "TIME CARD DATE  20121215\xDB ");
    EXPECT_EQ(t.terminal.Text(1, 25, 36), "\xDB 00001234 BOB BAKER               \xDB");  // the list's name
    EXPECT_EQ(t.terminal.RowText(25),
              "[\x18][\x19][\x1A][\x1B] Type in time  [TAB]=Reason  00:00 to erase  [+] = Total  [ESC] Done");
    EXPECT_EQ(t.terminal.Text(3, 16, 13), "08:05 \xB3 16:58");
    EXPECT_EQ(t.terminal.Text(4, 16, 13), "10:00 \xB3 17:30");
    EXPECT_EQ(t.terminal.Text(5, 23, 7), "   7   ");               // the corrector of slot 2
    EXPECT_EQ(t.terminal.Attribute(4, 16), colour ? 0x5F : 0x70);  // the field being typed
    EXPECT_EQ(t.terminal.Attribute(4, 24), colour ? 0x1F : 0x07);
    const CursorState& cursor = t.terminal.LastFrame().cursor;
    EXPECT_TRUE(cursor.visible);
    EXPECT_EQ(cursor.row * 100 + cursor.column, 417);  // after the first digit

    Run({"+"});
    EXPECT_EQ(t.terminal.Text(25, 1, 20), "SUN 0925 \xB3MON 0000 \xB3");
  }
}

// Two programs on one store folder: a register punches the card while the correction screen
// has it open. The correction is written into the card as it then stands, so the punch stays,
// and the screen shows it.
TEST_F(PunchCorrectionTest, APunchMadeWhileTheScreenIsOpenSurvivesTheCorrection) {
  t.terminal.Type("0");
  t.terminal.Type("8");
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) {
    const pid_t pid = fork();
    if (pid == 0) {
      TimeCard card;
      std::string name, id;
      StoreContext& store = t.program.store;
      const bool punched = ReadTimeCard(store, card, name, 3, "20121215", id) &&
                           PunchTimeCard(store, card, name, 3, "20121215", id, 0, 3, "12:01");
      _exit(punched ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  };
  EXPECT_FALSE(Run({"3", "0", kRight}));
  const std::string bytes = CardBytes();
  EXPECT_EQ(bytes.substr(PunchAt(3, 0, 1), 15), "08:0516:5812:01");
  EXPECT_EQ(bytes.substr(CorrectionAt(3, 0, 1), 10), "08:3017:00");
  EXPECT_EQ(t.terminal.Text(3, 16, 21), "08:05 \xB3 16:58 \xB3 12:01");
  EXPECT_EQ(LockFiles(), 0);
}

// The card file deleted at another station while the screen is open: each change is reported
// and not kept, nothing brings the file back, and [ESC] still leaves.
TEST_F(PunchCorrectionTest, AFileGoneWhileOpenIsReportedAndTheScreenCanBeLeft) {
  t.terminal.Type("0");
  t.terminal.Tick();
  t.terminal.onIdle = [this](int) { fs::remove(CardFile()); };
  EXPECT_TRUE(Run({"9", kRight, "y", "\t", "x", "\r", "y", kLeft, "\x1b"}));
  EXPECT_EQ(t.terminal.Beeps(), 2);  // the two run-time error reports
  EXPECT_FALSE(fs::exists(CardFile()));
  EXPECT_EQ(LockFiles(), 0);
  EXPECT_EQ(t.program.card.Text(kCorrectionRow, 0, 1), "     ");
  EXPECT_EQ(t.program.card.reasons[1], std::string(12, ' '));
  EXPECT_EQ(t.terminal.Text(4, 24, 5) + t.terminal.Text(5, 2, 12), "17:00" + std::string(12, ' '));
}

}  // namespace
}  // namespace shiftlog
