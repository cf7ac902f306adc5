#include "console/calculator.h"

#include <gtest/gtest.h>

#include <vector>

#include "console/scripted_terminal.h"
#include "console/text_fields.h"
#include "console/wait_key.h"

namespace shiftlog {
namespace {

class CalculatorTest : public ::testing::Test {
 protected:
  CalculatorTest() {
    // Every Tick shows what the associate sees at that moment.
    terminal.onIdle = [this](int) { seen.push_back(terminal.LastFrame()); };
    Screen& screen = console.screen;
    screen.SetColour(15, 1);
    screen.ClearScreen();
    screen.Locate(2, 2);
    screen.PrintText("the screen below");
    screen.SetColour(14, 2);
    screen.Locate(12, 40, true);
  }
  // Keys as characters; R, C, E, S and K stand for [RIGHT], [PAGE UP], [PAGE DOWN], [F2], [F9].
  void Type(const std::string& keys) {
    for (char k : keys) {
      const int scan = k == 'R'   ? kKeyRight
                       : k == 'C' ? kKeyPageUp
                       : k == 'E' ? kKeyPageDown
                       : k == 'S' ? kKeyF2
                       : k == 'K' ? kKeyF9
                                  : 0;
      scan != 0 ? terminal.TypeExtended(scan) : terminal.Type(KeyText(1, k));
    }
  }
  void Look(const std::string& keys) {
    Type(keys);
    terminal.Tick();
  }
  void Run() {
    terminal.Type("\x1b");
    Calculator(console);
  }
  // The display line (columns 25 to 55) of the n-th look, without blanks.
  std::string Shown(size_t n, int row = 5) const {
    std::string text;
    for (int c = 25; c <= 55; ++c) text += static_cast<char>(seen.at(n).page.At(row, c).character);
    return TrimBlanks(text);
  }

  ScriptedTerminal terminal;
  FixedClock clock;
  Console console{terminal, clock};
  std::vector<Frame> seen;
};

TEST_F(CalculatorTest, FaceAndShadowOverTheScreenThenTheScreenComesBackUnchanged) {
  const Frame before = console.screen.CurrentFrame();
  Look("");
  Run();
  const Page& face = seen[0].page;
  EXPECT_EQ(face.At(3, 19).character, ' ');
  EXPECT_EQ(face.At(3, 20).character, 201);
  EXPECT_EQ(face.At(3, 21).character, 205);
  EXPECT_EQ(face.At(3, 60).character, 187);
  EXPECT_EQ(face.At(8, 42).character, 246);
  EXPECT_EQ(face.At(20, 25).character, 251);
  std::string legend;
  for (int c = 20; c <= 60; ++c) legend += static_cast<char>(face.At(22, c).character);
  EXPECT_EQ(legend,
            "\xC8\xCD\xB9"
            "ESC = Quit\xCC\xCD\xB9"
            "F2 = Small\xCC\xCD\xB9"
            "F9 = Keys\xCC\xCD\xBC");
  EXPECT_EQ(face.At(3, 19).attribute, 0x4F);
  EXPECT_EQ(face.At(3, 62).attribute, 0x1F);  // no shadow beside the top line
  EXPECT_EQ(face.At(4, 63).attribute & 0x70, 0);
  EXPECT_EQ(face.At(23, 21).attribute & 0x70, 0);
  EXPECT_EQ(face.At(23, 20).attribute, 0x1F);
  EXPECT_EQ(face.At(5, 54).character, '0');
  EXPECT_EQ(face.At(5, 54).attribute, 0x70);
  EXPECT_FALSE(seen[0].cursor.visible);
  EXPECT_EQ(console.screen.CurrentFrame(), before);
  EXPECT_EQ(console.screen.Foreground(), 14);
  EXPECT_EQ(console.screen.WrittenPage(), 0);
}

TEST_F(CalculatorTest, MonochromeFaceHasNoShadow) {
  console.displayMode = kMonochrome;
  Look("");
  Run();
  EXPECT_EQ(seen[0].page.At(3, 19).attribute, 0x70);
  EXPECT_EQ(seen[0].page.At(4, 63).attribute, 0x1F);
  EXPECT_EQ(seen[0].page.At(5, 54).attribute, 0x07);
}

TEST_F(CalculatorTest, ResultsAreCarriedOnAndANewDigitStartsOver) {
  Look("2+3\r");
  Look("*4\r");
  Look("7\r");
  Look("8/0\r");
  Look("+");
  Run();
  EXPECT_EQ(Shown(0), "5");
  EXPECT_EQ(Shown(1), "20");
  EXPECT_EQ(Shown(2), "7");
  EXPECT_EQ(Shown(3), "0");  // the entry stays: nothing was divided
  EXPECT_EQ(Shown(4), "8");
}

TEST_F(CalculatorTest, SquareRoot) {
  Look("9R");
  Look("C2+3\r16R");  // the digits after [ENTER] start a new number
  Look("C2+3+16R");   // with a pending sum the root is of the sum
  Look("C0-4\rR");
  Run();
  EXPECT_EQ(Shown(0), "3");
  EXPECT_EQ(Shown(1), "4");
  EXPECT_EQ(Shown(2), "2.23606797749979");
  EXPECT_EQ(Shown(3), "-4");
  EXPECT_EQ(terminal.Beeps(), 1);
}

TEST_F(CalculatorTest, EntryAndNumberTexts) {
  Look("0.1\r");
  Look("1.2.3");
  Look("E1234567890123");
  Look("C100000000*100000000\r");
  Look("*1000000000\r");
  Look("C1/1000000000/1000000000\r");
  Run();
  EXPECT_EQ(Shown(0), ".1");
  EXPECT_EQ(Shown(1), "1.23");
  EXPECT_EQ(Shown(2), "123456789012");
  EXPECT_EQ(Shown(3), "1" + std::string(16, '0'));
  EXPECT_EQ(Shown(4), "1D+25");
  EXPECT_EQ(Shown(5), ".000000000000000001");
}

TEST_F(CalculatorTest, OverflowShowsTheMarkUntilCleared) {
  std::string keys;
  for (int i = 0; i < 26; ++i) keys += "999999999999*";
  Look(keys + "\r");
  Look("*0\r");  // infinity times 0 is not a number either
  Look("C");
  Run();
  EXPECT_EQ(Shown(0), "OVERFLOW");
  EXPECT_EQ(Shown(1), "OVERFLOW");
  EXPECT_EQ(Shown(2), "0");
}

TEST_F(CalculatorTest, SmallFormAndKeyLegend) {
  Look("5+S");
  Look("K");
  Look("S");
  Look("K");
  Look("x");
  Run();
  EXPECT_EQ(Shown(0, 24), "5");
  EXPECT_EQ(seen[0].page.At(25, 25).character, 185);
  EXPECT_EQ(seen[0].page.At(3, 20).character, ' ');  // the screen below shows above the strip
  EXPECT_EQ(seen[1], seen[0]);                       // no legend in the small form
  EXPECT_EQ(Shown(2), "5");
  EXPECT_EQ(seen[3].page.At(7, 23).character, 'P');
  EXPECT_EQ(seen[3].page.At(18, 54).character, 'E');
  EXPECT_EQ(seen[4].page.At(7, 23).character, 196);
}

TEST_F(CalculatorTest, KeepsASavedPageAndWorksOverThePageShown) {
  Screen& screen = console.screen;
  screen.SelectPages(1, 0);
  screen.PrintText("saved by a dialog");
  screen.CopyPage(0, 3);
  screen.SelectPages(3, 3);
  screen.Locate(2, 2);
  screen.PrintText("printer error");
  const Page saved = screen.PageAt(1);
  const Frame before = screen.CurrentFrame();
  Look("");
  Run();
  EXPECT_EQ(terminal.Text(2, 2, 13), "printer error");
  EXPECT_EQ(screen.PageAt(1), saved);
  EXPECT_EQ(screen.CurrentFrame(), before);
  EXPECT_EQ(screen.WrittenPage(), 3);
  console.noGraphics = 1;
  Calculator(console);  // opens nothing and reads no key
  EXPECT_EQ(screen.CurrentFrame(), before);
}

TEST_F(CalculatorTest, OpenedFromTheKeyWaitWhichThenGoesOn) {
  const Frame before = console.screen.CurrentFrame();
  terminal.TypeExtended(kKeyF2);
  Look("1");
  terminal.Type("\x1b");
  terminal.TypeExtended(121);  // Alt+2
  Look("2");
  terminal.Type("\x1b");
  terminal.Type("x");
  WaitKey(console, false, 0, 0, "");
  EXPECT_EQ(console.keyText, "x");
  EXPECT_EQ(Shown(0), "1");
  EXPECT_EQ(Shown(1), "2");
  EXPECT_EQ(terminal.LastFrame(), before);
}

}  // namespace
}  // namespace shiftlog
