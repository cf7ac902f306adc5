#include "supervisor/store_time_settings.h"

#include <string>
#include <string_view>
#include <vector>

#include "console/box_characters.h"
#include "console/boxes.h"
#include "console/field_editor.h"
#include "console/menu_chooser.h"
#include "console/wait_key.h"
#include "frame/hand_over.h"
#include "frame/run_time_error_report.h"
#include "store/associate_records.h"
#include "store/card_updates.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr int kStoreIdLength = 12;

constexpr std::string_view kTimeDisplayNames[] = {"HOURS:MINUTES", "DECIMAL TIME "};
constexpr std::string_view kWeekEndNames[] = {"SATURDAY", " SUNDAY "};
constexpr std::string_view kHelpLines[] = {
    "   You may choose to export time cards with the time displayed in",
    "HOURS:MINUTES or in DECIMAL TIME. For example if you choose",
    "DECIMAL TIME then 10.50 would mean 10.5 hours not 10 hours and",
    "50 minutes.",
};
const std::vector<std::string> kNoticeChoices = {"1. Continue", "2. Cancel"};
constexpr int kContinue = 1;

void DrawTimeDisplay(Console& console, int flag) {
  console.SetColours(15, 3, 0, Console::kMonoFG);
  PrintAt(console.screen, 8, 33, kTimeDisplayNames[flag != 0 ? 1 : 0]);
}

void DrawWeekEnd(Console& console, int flag) {
  console.SetColours(15, 3, 0, Console::kMonoFG);
  PrintAt(console.screen, 12, 36, kWeekEndNames[flag != 0 ? 1 : 0]);
}

// The lower window, on a red panel for the help and on a blue one for the week change notice.
void LowerWindow(Console& console, int background) {
  console.SetColours(15, 7, Console::kMonoFG, 0);
  console.screen.SetForeground(15);  // a white frame on a monochrome display too
  Window(console, 5, 19, 71, 6, background);
}

void DrawScreen(Program& program) {
  Console& console = program.console;
  Screen& screen = console.screen;
  const AssociateList& list = program.store.associates;
  console.SetColours(15, 7, Console::kMonoFG, 0);
  screen.ClearScreen();
  screen.SetForeground(15);  // a white frame on a monochrome display too
  Window(console, 26, 3, 29, 14, 1);
  const std::string divider =
      cp437::kDoubleTeeRight + std::string(27, cp437::kDoubleHorizontal) + cp437::kDoubleTeeLeft;
  PrintAt(screen, 4, 33, "Enter store ID.");
  PrintAt(screen, 6, 26, divider);
  PrintAt(screen, 7, 34, "Time display.");
  PrintAt(screen, 9, 33, "[TAB] = Toggle");
  PrintAt(screen, 10, 26, divider);
  PrintAt(screen, 11, 34, "Week ends on...");
  PrintAt(screen, 13, 33, "[F1] = Toggle");
  PrintAt(screen, 14, 26, divider);
  PrintAt(screen, 15, 34, "[ESC] = Done");
  DrawTimeDisplay(console, list.timeDisplay);
  DrawWeekEnd(console, list.weekEnd);
  LowerWindow(console, 4);
  for (int i = 0; i < 4; ++i) PrintAt(screen, 20 + i, 8, kHelpLines[i]);
}

// The store ID as saved: the last 12 characters of twelve zeros and the text without its
// leading and trailing blanks ("abc" typed is "ABC" and saved as "000000000ABC").
std::string SavedStoreId(const std::string& text) {
  const std::string padded = std::string(kStoreIdLength, '0') + TrimBlanks(text);
  return padded.substr(padded.size() - kStoreIdLength);
}

// The store ID in the field editor; [TAB] and [F1] toggle their settings on the way. Ends with
// [ESC], the field closed; gives the text as typed.
std::string EditSettings(Program& program) {
  Console& console = program.console;
  AssociateList& list = program.store.associates;
  FieldParameters parameters = OneLineField(kStoreIdLength);
  std::string mode = "JU";
  int exitCode = 0;
  std::string text = list.storeId;
  EditField(console, mode, exitCode, 34, 5, console.displayMode, text, parameters);
  for (;;) {
    mode.clear();
    EditField(console, mode, exitCode, 34, 5, console.displayMode, text, parameters);
    if (exitCode == kKeyEscape) break;
    if (exitCode == kKeyTab) {
      list.timeDisplay = list.timeDisplay != 0 ? 0 : 1;
      DrawTimeDisplay(console, list.timeDisplay);
    } else if (exitCode == FieldExitCode(kKeyF1)) {
      list.weekEnd = list.weekEnd != 0 ? 0 : 1;
      DrawWeekEnd(console, list.weekEnd);
    }
    // The field goes on in its own colours.
    console.screen.SetColour(parameters[kFieldForeground], parameters[kFieldBackground]);
  }
  mode = "END";
  EditField(console, mode, exitCode, 34, 5, console.displayMode, text, parameters);
  return text;
}

// The settings into the card file in use (its header's time display and store ID; the week
// end a card file was made with stays) and into the register data file. A step that fails is
// reported; the other is still made.
void SaveSettings(Program& program, const std::string& typed) {
  AssociateList& list = program.store.associates;
  list.storeId = SavedStoreId(typed);
  ReportIfFailed(program, StoreCardHeaderSettings(program.store, program.frame.cardNameInUse,
                                                  list.timeDisplay, list.storeId));
  ReportIfFailed(program, SaveStoreSettings(program.store));
}

// The week change notice. Returns when the supervisor cancels; "1. Continue" hands over to the
// cash-register program, and comes back to the notice only when that could not be started.
void WeekChangeNotice(Program& program) {
  Console& console = program.console;
  Screen& screen = console.screen;
  LowerWindow(console, 1);
  PrintAt(screen, 20, 8, "   You have changed the day the week ends. You will now exit this");
  PrintAt(screen, 21, 8, "program back to the Cash Register program.");
  int choice = kContinue;
  for (;;) {
    int key = 0;
    MenuChooser(console, 21, 35, 2, kNoticeChoices, 1, choice, key);
    if (choice == kMenuCancelled) return;
    if (key != kKeyEnter) continue;
    if (choice != kContinue) return;
    ReturnToRegister(program);
  }
}

}  // namespace

void StoreTimeSettings(Program& program) {
  // The week end the screen first opened with: a change away from it and back again is none.
  const int weekEndOnEntry = program.store.associates.weekEnd;
  for (;;) {
    DrawScreen(program);
    SaveSettings(program, EditSettings(program));
    if (program.store.associates.weekEnd == weekEndOnEntry) return;
    WeekChangeNotice(program);
  }
}

}  // namespace shiftlog
