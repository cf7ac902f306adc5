#include "console/calculator.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

#include "console/scripted_terminal.h"
#include "text/text_fields.h"
#include "console/wait_key.h"

namespace shiftlog {
namespace {

class CalculatorTest : public ::testing::Test {
 protected:
  CalculatorTest() {
    terminal.onIdle = [this](int) { seen.push_back(terminal.LastFrame()); };  // a Tick is a look
    console.screen.SetColour(15, 1);
    console.screen.ClearScreen();
    console.screen.PrintText(" the screen below");
    console.screen.SetColour(14, 2);
    console.screen.Locate(12, 40, true);
  }
  // Types the keys and looks; R, C, E, S and K stand for [RIGHT], [PAGE UP], [PAGE DOWN], [F2], [F9].
  void Look(const std::string& keys) {
    static constexpr std::string_view kLetters = "RCESK";
    static constexpr std::array kScanCodes = {kKeyRight, kKeyPageUp, kKeyPageDown, kKeyF2, kKeyF9};
    for (char k : keys) {
      const size_t at = kLetters.find(k);
      at == std::string_view::npos ? terminal.Type(KeyText(1, k)) : terminal.TypeExtended(kScanCodes[at]);
    }
    terminal.Tick();
  }
  void Run() {
    terminal.Type("\x1b");
    Calculator(console);
  }
  std::string Shown(size_t look, int row = 5) const {  // the display line, columns 25 to 55
    std::string text;
    for (int c = 25; c <= 55; ++c) text += static_cast<char>(seen.at(look).page.At(row, c).character);
    return TrimBlanks(text);
  }

  ScriptedTerminal terminal;
  FixedClock clock;
  Console console{terminal, clock};
  std::vector<Frame> seen;
};

TEST_F(CalculatorTest, FaceAndShadowOverTheScreenThenTheScreenComesBackUnchanged) {
  for (int display : {kColourDisplay, kMonochrome}) {
    console.displayMode = display;
    seen.clear();
    const Frame before = console.screen.CurrentFrame();
    Look("");
    Run();
    const Page& face = seen[0].page;
    std::string legend;
    for (int c = 20; c <= 60; ++c) legend += static_cast<char>(face.At(22, c).character);
    EXPECT_EQ(legend,
              "\xC8\xCD\xB9"
              "ESC = Quit\xCC\xCD\xB9"
              "F2 = Small\xCC\xCD\xB9"
              "F9 = Keys\xCC\xCD\xBC");
    EXPECT_EQ(face.At(3, 20).character, 201);
    EXPECT_EQ(face.At(8, 42).character, 246);
    EXPECT_EQ(face.At(20, 25).character, 251);
    EXPECT_EQ(face.At(3, 19).attribute, display == kColourDisplay ? 0x4F : 0x70);
    EXPECT_EQ(face.At(5, 54).attribute, display == kColourDisplay ? 0x70 : 0x07);
    EXPECT_EQ(face.At(3, 62).attribute, 0x1F);  // the shadow starts one row down
    EXPECT_EQ(face.At(4, 63).attribute, display == kColourDisplay ? 0x0F : 0x1F);
    EXPECT_EQ(face.At(23, 21).attribute & 0x70, display == kColourDisplay ? 0 : 0x10);
    EXPECT_EQ(face.At(5, 54).character, '0');
    EXPECT_EQ(console.screen.CurrentFrame(), before);
    EXPECT_EQ(console.screen.Foreground(), 14);
  }
}

TEST_F(CalculatorTest, Arithmetic) {
  std::string overflow;
  for (int i = 0; i < 26; ++i) overflow += "999999999999*";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"2+3\r", "5"},
      {"*4\r", "20"},
      {"7\r", "7"},  // carried on; a digit after [ENTER] starts over
      {"8/0\r", "0"},
      {"+", "8"},  // nothing divided: the entry stays, 8 is kept
      {"C9R", "3"},
      {"C2+3\r16R", "4"},
      {"C2+3+16R", "2.23606797749979"},
      {"C0-4\rR", "-4"},
      {"C0.1\r", ".1"},
      {"1.2.3", "1.23"},
      {"E1234567890123", "123456789012"},
      {"C100000000*100000000\r", "1" + std::string(16, '0')},
      {"*1000000000\r", "1D+25"},
      {"C1/1000000000/1000000000\r", ".000000000000000001"},
      {overflow + "\r", "OVERFLOW"},
      {"*0\r", "OVERFLOW"},
      {"C", "0"}};
  for (const auto& [keys, shown] : cases) Look(keys);
  Run();
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(Shown(i), cases[i].second) << cases[i].first;
  EXPECT_EQ(terminal.Beeps(), 1);  // the root of -4
}

TEST_F(CalculatorTest, SmallFormAndKeyLegend) {
  for (const char* keys : {"5+S", "K", "S", "K", "x"}) Look(keys);
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
  screen.Locate(24, 40);
  screen.PrintText("printer error");
  const Page saved = screen.PageAt(1);
  const Frame before = screen.CurrentFrame();
  Look("");
  Run();
  EXPECT_EQ(seen[0].page.At(24, 40).character, 'p');
  EXPECT_EQ(screen.PageAt(1), saved);
  EXPECT_EQ(screen.CurrentFrame(), before);
  EXPECT_EQ(screen.WrittenPage(), 3);
  console.noGraphics = 1;
  Calculator(console);  // opens nothing and reads no key
}

TEST_F(CalculatorTest, SmallFormOverAScreenShownOnPageOne) {
  console.screen.CopyPage(0, 1);
  console.screen.SelectPages(1, 1);
  const Frame before = console.screen.CurrentFrame();
  Look("S");
  Run();
  EXPECT_EQ(seen[0].page.At(3, 20).character, ' ');  // no large face left above the strip
  EXPECT_EQ(console.screen.CurrentFrame(), before);
}

TEST_F(CalculatorTest, OpenedFromTheKeyWaitWhichThenGoesOn) {
  const Frame before = console.screen.CurrentFrame();
  terminal.TypeExtended(kKeyF2);
  Look("1");
  terminal.TypeExtended(121);  // Alt+2, typed into the calculator: ignored there
  Look("\x1b");
  terminal.TypeExtended(121);
  Look("2");
  terminal.TypeText("\x1bx");
  WaitKey(console, false, 0, 0, "");
  EXPECT_EQ(console.keyText, "x");
  EXPECT_EQ(Shown(0), "1");
  EXPECT_EQ(seen[1], before);  // closed: the key wait goes on over the screen as it was
  EXPECT_EQ(Shown(2), "2");
  EXPECT_EQ(terminal.LastFrame(), before);
}

}  // namespace
}  // namespace shiftlog
