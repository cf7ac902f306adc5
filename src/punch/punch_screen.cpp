#include "punch/punch_screen.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "console/wait_key.h"
#include "frame/card_access.h"
#include "frame/run_time_error_report.h"
#include "punch/time_card_view.h"
#include "reports/print_time_card.h"
#include "store/punch_slots.h"
#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

bool MaySupervise(const Program& program) {
  const int slot = program.frame.loggedInSlot;
  return program.store.associates.noSupervisor == 1 ||
         program.store.associates.supervisor[static_cast<size_t>(slot)] == 1;
}

// The date text is today's, and the card is this week's. The clock may have passed midnight
// since start-up (a PIN screen left waiting overnight): a punch must land in the week of the
// day it is made, so when today no longer lies in this week's card, its week is worked out
// again from today.
void TakeTodaysWeek(Program& program) {
  FrameState& frame = program.frame;
  frame.dateText = DateText(program.clock.Now());
  const std::string& card = frame.thisWeekCard;
  bool stillThisWeek = false;
  if (card.size() == 8) {
    const CardWeek week = ComputeCardWeek(CardNameDateText(card), 6);
    stillThisWeek = std::find(week.dates.begin(), week.dates.end(), frame.dateText) != week.dates.end();
  }
  if (!stillThisWeek) {
    const int position = WeekPosition(frame.dateText, program.store.associates.weekEnd);
    frame.thisWeekCard = ComputeCardWeek(frame.dateText, position).fileName;
  }
  frame.cardNameInUse = frame.thisWeekCard;
}

// Today's punches as the slot rules see them: zero bytes count as blanks and trailing blanks
// go, so an empty slot is the empty text.
void CleanTodaysPunches(TimeCard& card, int today) {
  for (int slot = 1; slot <= 8; ++slot) {
    std::string& text = card.Text(kPunchRow, today, slot);
    std::replace(text.begin(), text.end(), '\0', ' ');
    text = TrimTrailingBlanks(text);
  }
}

// The whole card, as it is in memory, with this screen's additions.
void DrawPunchCard(Program& program) {
  FrameState& frame = program.frame;
  ShowTimeCard(program, frame.todayIndex, program.card, frame.loggedInName, frame.loggedInId);
  if (MaySupervise(program)) {
    program.console.screen.Locate(1, 63);
    program.console.screen.PrintText("[F8]=Supervisor");
  }
  program.console.screen.SetCursorVisible(false);  // the magenta cell shows where the punch goes
  CleanTodaysPunches(program.card, frame.todayIndex);
}

// Stores the punch on disk first. Another station may have changed this card since it was
// read (a supervisor's correction, or the same associate punching elsewhere), so the store
// reads the record again under the lock; a slot filled meanwhile moves the punch on to the
// day's free slot. The screen then shows the card as it now stands in the file, and gives back
// the slot the punch went into (0 when none did). When the write fails nothing of the punch is
// kept: the associate sees the error report and then the card as it was.
int StorePunch(Program& program, int today, int cursor) {
  FrameState& frame = program.frame;
  TimeCard stored = program.card;
  std::string name = frame.loggedInName;
  std::string id = frame.loggedInId;
  int storedSlot = 0;
  const Status status = PunchTimeCard(program.store, stored, name, frame.loggedInSlot, frame.cardNameInUse,
                                      id, today, cursor, PunchText(program.clock.Now()), &storedSlot);
  if (status.ok()) {
    program.card = stored;
    frame.loggedInName = name;
    frame.loggedInId = id;
    // All 8 of today's slots were filled from elsewhere: the punch is refused, and said so.
    if (storedSlot == 0) program.console.Beep();
  } else {
    RunTimeErrorReport(program, status.error);
  }
  DrawPunchCard(program);
  return status.ok() ? storedSlot : 0;
}

}  // namespace

std::string PunchText(const LocalTime& now) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", now.hour % 100, now.minute % 100);
  return text;
}

PunchScreenExit PunchScreen(Program& program) {
  Console& console = program.console;
  FrameState& frame = program.frame;
  if (frame.loggedInSlot < 1 || frame.loggedInSlot > kSlotCount) return PunchScreenExit::kReturnToRegister;

  TakeTodaysWeek(program);
  const Status read = ReadTimeCard(program, program.card, frame.loggedInName, frame.loggedInSlot,
                                   frame.cardNameInUse, frame.loggedInId);
  if (!read.ok()) {
    // Without the card there is nothing true to show and nowhere safe to punch.
    RunTimeErrorReport(program, read.error);
    console.SetColours(15, 1, 7, 0);
    console.screen.ClearScreen();
    return PunchScreenExit::kReturnToRegister;
  }
  DrawPunchCard(program);

  const int today = frame.todayIndex;
  int cursor = NextPunchSlot(program.card, today);

  for (;;) {
    const int row = CardRow(today);
    const int column = 8 * cursor + 7;
    console.SetColours(15, 5, 0, 7);
    // An empty slot previews the running time of day; a filled one shows its punch.
    WaitKey(console, true, column, row, program.card.Text(kPunchRow, today, cursor));
    int key = console.keyCode;

    if (key == kKeyPlus) {
      ShowDayTotals(program, program.card);
      DrawCardKeyBar(console);
      key = console.keyCode;  // the key that closed the totals goes on below
    }
    if (key == kKeyF8 && MaySupervise(program)) return PunchScreenExit::kSupervisorMenu;
    int storedSlot = 0;
    if (key == kKeyCtrlInsert && program.card.Text(kPunchRow, today, cursor).empty()) {
      storedSlot = StorePunch(program, today, cursor);
    }
    if (key == kKeyTab) {
      // [TAB], and the digit 9 with the same key code. The printer screens keep the card on
      // screen as it was.
      PrintTimeCard(program,
                    PrintedCard{program.card, frame.loggedInName, frame.loggedInId, frame.loggedInSlot,
                                frame.weekDates},
                    CardPrintSettingsOf(program));
    }

    console.SetColours(15, 1, 7, 0);
    console.screen.Locate(row, column);
    console.screen.PrintText(" " + TextField(program.card.Text(kPunchRow, today, cursor), 5) + " ");
    // The cursor stays where it was, unless another station's punch sent this one to another
    // slot: then it goes there, to show where the punch went.
    if (storedSlot != 0) cursor = storedSlot;

    if (key == kKeyLeft) cursor = cursor == 1 ? 8 : cursor - 1;
    if (key == kKeyRight) cursor = cursor == 8 ? 1 : cursor + 1;
    if (key == kKeyEscape) {
      console.screen.ClearScreen();
      return PunchScreenExit::kReturnToRegister;
    }
  }
}

}  // namespace shiftlog
