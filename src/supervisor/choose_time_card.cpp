#include "supervisor/choose_time_card.h"

#include <string>

#include "console/boxes.h"
#include "console/field_editor.h"
#include "console/wait_key.h"
#include "supervisor/associate_grid.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr int kNameLength = 24;

void DrawScreen(Program& program, int pageOffset) {
  Console& console = program.console;
  Screen& screen = console.screen;
  console.SetColours(15, 1, Console::kMonoFG, 0);
  screen.ClearScreen();
  Box(console, 10, 1, 61, 3);
  screen.Locate(2, 22);
  screen.PrintText("Choose time card you wish to modify.");
  AssociateGrid(console, program.store.associates, pageOffset);
  Box(console, 3, 21, 75, 5);
  screen.Locate(22, 25);
  screen.PrintText("[PAGE UP] [PAGE DOWN] = Other page.");
  screen.Locate(23, 26);
  screen.PrintText("Highlight name and press [ENTER]");
  screen.Locate(24, 32);
  screen.PrintText("[ESC] = Finished");
}

}  // namespace

int ChooseTimeCard(Program& program) {
  Console& console = program.console;
  DrawScreen(program, 0);

  // The bar is the field editor with editing switched off: it only shows where it stands and
  // reports the key that moves it.
  FieldParameters parameters = OneLineField(kNameLength, false);
  std::string mode = "JU";
  int exitCode = 0;
  GridCursor cursor;
  std::string text;
  EditField(console, mode, exitCode, cursor.NameColumn(), cursor.ScreenRow(), console.displayMode, text,
            parameters);

  bool barOpen = false;
  for (;;) {
    const int slot = cursor.Slot();
    std::string& name = program.store.associates.names[static_cast<size_t>(slot)];
    if (!barOpen) {
      text = name;
      barOpen = true;
    }
    mode.clear();
    EditField(console, mode, exitCode, cursor.NameColumn(), cursor.ScreenRow(), console.displayMode, text,
              parameters);

    if (exitCode == kKeyEnter && TrimBlanks(text).empty()) {
      console.Beep();  // nobody in this slot: there is no card to choose
      continue;
    }
    if (exitCode != kKeyEscape && exitCode != kKeyEnter && exitCode != FieldExitCode(kKeyUp) &&
        exitCode != FieldExitCode(kKeyDown) && exitCode != FieldExitCode(kKeyPageUp) &&
        exitCode != FieldExitCode(kKeyPageDown)) {
      continue;  // the bar stays where it is
    }

    // The bar leaves the slot: the name goes back as it stands under the bar, leading blanks
    // dropped, the way the associate editor stores a name.
    mode = "END";
    EditField(console, mode, exitCode, cursor.NameColumn(), cursor.ScreenRow(), console.displayMode, text,
              parameters);
    name = TextField(TrimBlanks(text), kNameLength);
    barOpen = false;

    if (exitCode == kKeyEscape) return 0;
    if (exitCode == kKeyEnter) return slot;
    bool turned = false;
    if (exitCode == FieldExitCode(kKeyUp) || exitCode == FieldExitCode(kKeyDown)) {
      turned = cursor.Move(exitCode == FieldExitCode(kKeyUp) ? -1 : 1);
    } else {
      cursor.FlipPage();
      turned = true;
    }
    if (turned) {
      console.SetColours(15, 1, Console::kMonoFG, 0);
      AssociateGrid(console, program.store.associates, cursor.pageOffset);
    }
  }
}

}  // namespace shiftlog
