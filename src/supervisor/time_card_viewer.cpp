#include "supervisor/time_card_viewer.h"

#include <string>

#include "cardfiles/card_file_chooser.h"
#include "console/box_characters.h"
#include "console/wait_key.h"
#include "frame/card_access.h"
#include "frame/run_time_error_report.h"
#include "punch/time_card_view.h"
#include "reports/export_dialog.h"
#include "supervisor/choose_time_card.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr int kFirstCard = 1;
constexpr int kLastCard = kSlotCount;

// Reads card number from the file as it is now and draws it. False when it could not be read
// (the failure has been reported): there is nothing true to show.
bool ShowViewedCard(Program& program, int number, std::string& name, std::string& id) {
  FrameState& frame = program.frame;
  const Status read = ReadTimeCard(program, program.card, name, number, frame.cardNameInUse, id);
  if (!read.ok()) {
    RunTimeErrorReport(program, read.error);
    return false;
  }
  int dayIndex = 0;
  ShowTimeCard(program, dayIndex, program.card, name, id);
  Screen& screen = program.console.screen;
  screen.SetCursorVisible(false);
  screen.Locate(1, 1);
  screen.PrintText("TIME CARD DATE  " + frame.cardNameInUse + cp437::kFullBlock);
  screen.Locate(1, 62);
  screen.PrintText("TIME CARD #" + NumberText(number) + "  ");
  screen.Locate(25, 1);
  screen.PrintText("[PG UP]  [PG DN]  [F1] Choose by name  [TAB] Print/Save  [+] Totals");
  return true;
}

}  // namespace

void TimeCardViewer(Program& program) {
  Console& console = program.console;
  int number = kFirstCard;
  std::string name;
  std::string id;
  bool redraw = true;
  for (;;) {
    // Every step shows the card as the file holds it now: a station may have punched since.
    if (redraw && !ShowViewedCard(program, number, name, id)) return;
    redraw = true;
    WaitKey(console, false, 0, 0, "");
    switch (console.keyCode) {
      case kKeyTab:  // and the digit 9, which has the same key code
        ExportDialog(program, program.card, name, program.frame.weekDates, id, program.frame.cardNameInUse,
                     number);
        break;
      case kKeyPlus:
        ShowDayTotals(program, program.card);  // any key closes the totals; the card is redrawn
        break;
      case kKeyEscape:
        return;
      case kKeyUp:
      case kKeyPageUp:
        if (number > kFirstCard) {
          --number;
        } else {
          redraw = false;
        }
        break;
      case kKeyDown:
      case kKeyPageDown:
        if (number < kLastCard) {
          ++number;
        } else {
          redraw = false;
        }
        break;
      case kKeyHome:
        number = kFirstCard;
        break;
      case kKeyEnd:
        number = kLastCard;
        break;
      case kKeyF1: {
        const int slot = ChooseTimeCard(program);
        if (slot != 0) number = slot;  // cancelled: the card shown before
        break;
      }
      default:
        redraw = false;
        break;
    }
  }
}

void ViewTimeCards(Program& program) {
  std::string chosen;
  ChooseCardFile(program, chosen, kViewCardFile);
  if (chosen.empty()) return;  // [ESC], or no card file to choose
  program.frame.cardNameInUse = chosen.substr(0, 8);
  TimeCardViewer(program);
}

}  // namespace shiftlog
