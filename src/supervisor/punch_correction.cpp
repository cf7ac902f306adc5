#include "supervisor/punch_correction.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "console/box_characters.h"
#include "console/field_editor.h"
#include "console/wait_key.h"
#include "frame/card_access.h"
#include "frame/run_time_error_report.h"
#include "punch/time_card_view.h"
#include "store/card_updates.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr std::string_view kKeyBar =
    "[ ][ ][ ][ ] Type in time  [TAB]=Reason  00:00 to erase  [+] = Total  [ESC] Done";
const std::string kNoTime(5, ' ');

// The correction of day d stands on the day's second row, its corrector and reason on the third.
int CorrectionRow(int day) {
  return CardRow(day) + 1;
}
int ReasonRow(int day) {
  return CardRow(day) + 2;
}

struct Correction {
  Program& program;
  int slot;          // whose card
  std::string name;  // the associate list's name of the slot: shown, and written with the card
  std::string id;    // as the card holds it
  int day = 0;       // the field: day 0-6 and punch slot 1-8
  int punchSlot = 1;

  TimeCard& Card() { return program.card; }
  std::string& Text(int row) { return program.card.Text(row, day, punchSlot); }
};

void DrawKeyBar(Console& console) {
  console.SetColours(15, 1, 7, 0);
  Screen& screen = console.screen;
  screen.Locate(25, 1);
  screen.PrintText(kKeyBar);
  const char arrows[] = {cp437::kArrowUp, cp437::kArrowDown, cp437::kArrowRight, cp437::kArrowLeft};
  for (int i = 0; i < 4; ++i) {
    screen.Locate(25, 2 + 3 * i);
    screen.PrintText(std::string(1, arrows[i]));
  }
}

// The whole screen, with the card as it is in memory.
void DrawScreen(Correction& c) {
  Program& program = c.program;
  int dayIndex = 0;
  ShowTimeCard(program, dayIndex, c.Card(), c.name, c.id);
  Screen& screen = program.console.screen;
  screen.SetCursorVisible(false);
  screen.Locate(1, 1);
  screen.PrintText("TIME CARD DATE  " + program.frame.cardNameInUse + cp437::kFullBlock);
  DrawKeyBar(program.console);
}

// Takes the card as the store wrote it, or reports the failure and keeps the card as it was
// before the change. Either way the screen then shows that card: what is on it is on disk.
void TakeStoredCard(Correction& c, const Status& status, TimeCard& stored, std::string& id,
                    const TimeCard& before) {
  if (status.ok()) {
    c.Card() = std::move(stored);
    c.id = std::move(id);
  } else {
    c.Card() = before;
    RunTimeErrorReport(c.program, status.error);
  }
  DrawScreen(c);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Runs before every move, before leaving and before the totals. False when the time is not one
// of 00:00 to 23:59: the beep sounds and the field keeps its text.
bool Commit(Correction& c, std::string& text, const std::string& entry) {
  Program& program = c.program;
  Console& console = program.console;
  if (text == "00:00") text = kNoTime;
  // A field that came in damaged (a colon in its place but no digits round it) and was typed
  // over keeps digits only, so no half-typed time reaches the card.
  if (text != entry && text != kNoTime) {
    for (size_t i : {0u, 1u, 3u, 4u}) {
      if (!IsDigit(text[i])) text[i] = '0';
    }
  }
  const double hours = NumericValue(text);
  const double minutes = NumericValue(std::string_view(text).substr(3, 2));
  if (hours > 23 || minutes > 59) {
    console.Beep();
    return false;
  }
  if (hours == 0 && minutes == 0) text = kNoTime;  // 00:00 erases; midnight cannot be entered

  const TimeCard before = c.Card();
  c.Text(kCorrectionRow) = text;
  console.SetColours(15, 1, Console::kMonoFG, 0);
  console.screen.Locate(CorrectionRow(c.day), CardColumn(c.punchSlot));
  console.screen.PrintText(text);
  if (text == entry) return true;

  const std::string corrector = text == kNoTime ? kNoTime : " " + NumberText(program.frame.loggedInSlot);
  c.Text(kCorrectorRow) = corrector;
  // Written into the card as the file holds it now: a punch made at a register since this
  // screen read the card stays.
  TimeCard stored;
  std::string id;
  const Status status = CorrectTimeCard(program.store, stored, id, c.slot, program.frame.cardNameInUse,
                                        c.name, c.day, c.punchSlot, text, corrector);
  TakeStoredCard(c, status, stored, id, before);
  return true;
}

// [TAB]: the day's reason in the field editor until [TAB], [ENTER] or [ESC], then stored.
void EditReason(Correction& c) {
  Program& program = c.program;
  Console& console = program.console;
  FieldParameters parameters = OneLineField(12);
  std::string mode = "JU";
  int exitCode = 0;
  const int row = ReasonRow(c.day);
  std::string text = c.Card().reasons[static_cast<size_t>(c.day) + 1];
  EditField(console, mode, exitCode, 2, row, console.displayMode, text, parameters);
  do {
    mode.clear();
    EditField(console, mode, exitCode, 2, row, console.displayMode, text, parameters);
  } while (exitCode != kKeyTab && exitCode != kKeyEnter && exitCode != kKeyEscape);
  mode = "END";
  EditField(console, mode, exitCode, 2, row, console.displayMode, text, parameters);

  const TimeCard before = c.Card();
  c.Card().reasons[static_cast<size_t>(c.day) + 1] = text;
  TimeCard stored;
  std::string id;
  const Status status =
      StoreDayReason(program.store, stored, id, c.slot, program.frame.cardNameInUse, c.name, c.day, text);
  TakeStoredCard(c, status, stored, id, before);
}

// The edit text a field starts with: its correction, or 00:00 when that is not a time.
std::string StartText(const std::string& correction) {
  const std::string text = TextField(correction, 5);
  return text[2] == ':' ? text : "00:00";
}

}  // namespace

void PunchCorrection(Program& program, int slot) {
  if (slot < 1 || slot > kSlotCount) return;
  Console& console = program.console;
  Screen& screen = console.screen;
  Correction c{program, slot, program.store.associates.names[static_cast<size_t>(slot)], ""};
  std::string cardName;  // the name the card holds; the screen shows the associate list's
  const Status read = ReadTimeCard(program, program.card, cardName, slot, program.frame.cardNameInUse, c.id);
  if (!read.ok()) {
    RunTimeErrorReport(program, read.error);
    return;
  }
  DrawScreen(c);

  for (;;) {
    std::string entry = c.Text(kCorrectionRow);
    std::string text = StartText(entry);
    int position = 1;  // 1, 2, 4 or 5: the colon is passed over
    bool nextField = false;
    while (!nextField) {
      const int row = CorrectionRow(c.day);
      const int column = CardColumn(c.punchSlot);
      console.SetColours(15, 5, 0, Console::kMonoFG);
      screen.Locate(row, column);
      screen.PrintText(text);
      screen.Locate(row, column - 1 + position, true);
      const KeyText key = ReadKeyWithoutClock(console);
      screen.SetCursorVisible(false);
      const int code = static_cast<unsigned char>(key[0]);
      const int extended = code == 0 && key.size() > 1 ? static_cast<unsigned char>(key[1]) : 0;

      if (code == kKeyTab) {
        EditReason(c);  // digits not yet committed are dropped
        nextField = true;
      } else if (IsDigit(key[0]) && key.size() == 1) {
        text[static_cast<size_t>(position - 1)] = key[0];
        position = position == 2 ? 4 : std::min(position + 1, 5);
      } else if (code == kKeyEscape && key.size() == 1) {
        if (Commit(c, text, entry)) return;
      } else if (code == '+') {
        if (Commit(c, text, entry)) {
          ShowDayTotals(program, c.Card());
          DrawKeyBar(console);
          // On with the same field as it now stands: an erased time is typed over from 00:00.
          entry = c.Text(kCorrectionRow);
          text = StartText(entry);
        }
      } else if (code == kKeyBackspace) {
        position = position == 4 ? 2 : std::max(position - 1, 1);
      } else if (extended == kKeyUp && c.day >= 1) {
        if ((nextField = Commit(c, text, entry))) --c.day;
      } else if (extended == kKeyDown && c.day <= 5) {
        if ((nextField = Commit(c, text, entry))) ++c.day;
      } else if (extended == kKeyLeft && c.punchSlot > 1) {
        if ((nextField = Commit(c, text, entry))) --c.punchSlot;
      } else if (extended == kKeyRight && c.punchSlot <= 7) {
        if ((nextField = Commit(c, text, entry))) ++c.punchSlot;
      }
    }
  }
}

}  // namespace shiftlog
