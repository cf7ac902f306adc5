#include "supervisor/associate_editor.h"

#include <string>

#include "console/boxes.h"
#include "console/field_editor.h"
#include "console/wait_key.h"
#include "frame/run_time_error_report.h"
#include "store/associate_records.h"
#include "store/card_updates.h"
#include "supervisor/associate_grid.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr int kNameLength = 24;
constexpr int kIdLength = 8;

void SetGridColours(Console& console) {
  console.SetColours(15, 1, Console::kMonoFG, 0);
}

// The require-supervisor rule's " OFF " or "  ON " on row 24.
void DrawRule(Console& console, int flag) {
  console.SetColours(15, 4, 0, Console::kMonoFG);
  PrintAt(console.screen, 24, 7, flag != 0 ? "  ON " : " OFF ");
  console.SetColours(15, 3, Console::kMonoFG, 0);
}

void DrawScreen(Program& program) {
  Console& console = program.console;
  Screen& screen = console.screen;
  SetGridColours(console);
  screen.ClearScreen();
  Box(console, 10, 1, 61, 3);
  PrintAt(screen, 2, 20, "Assign associates as payroll supervisors.");
  AssociateGrid(console, program.store.associates, 0);
  Box(console, 3, 21, 75, 5);
  PrintAt(screen, 22, 25, "[PAGE UP] [PAGE DOWN] = Other page.");
  PrintAt(screen, 23, 5, "[*] Supervisor.      [TAB] = Toggle supervisor.      [F1] = Name / ID#.");
  PrintAt(screen, 24, 12, "[F5] = Require supervisor to access program.   [ESC] = Finished");
  DrawRule(console, program.store.associates.requireSupervisor);
}

struct Editor {
  Program& program;
  GridCursor cursor;
  bool idMode = false;  // false: the name is edited, true: the ID#
  FieldParameters parameters;
  std::string text;  // the field's text while it is open
  bool open = false;

  AssociateList& List() { return program.store.associates; }
  int Length() const { return idMode ? kIdLength : kNameLength; }
  int Column() const { return idMode ? cursor.IdColumn() : cursor.NameColumn(); }
  std::string& Value() {
    const size_t slot = static_cast<size_t>(cursor.Slot());
    return idMode ? List().ids[slot] : List().names[slot];
  }

  // Edits until a key ends the field; gives that key's exit code.
  int Edit() {
    Console& console = program.console;
    parameters[kFieldMaxLength] = Length();
    parameters[kFieldWidth] = Length();
    if (!open) {
      text = Value();
      open = true;
    }
    std::string mode;
    int exitCode = 0;
    EditField(console, mode, exitCode, Column(), cursor.ScreenRow(), console.displayMode, text, parameters);
    return exitCode;
  }

  // The field goes on where it was, in its own colours.
  void FieldColours() {
    program.console.screen.SetColour(parameters[kFieldForeground], parameters[kFieldBackground]);
  }

  // Closes the field and keeps its text, without leading blanks, as the slot's name or ID#.
  void Store() {
    Console& console = program.console;
    std::string mode = "END";
    int exitCode = 0;
    EditField(console, mode, exitCode, Column(), cursor.ScreenRow(), console.displayMode, text, parameters);
    open = false;
    Value() = TextField(TrimBlanks(text), Length());
    SetGridColours(console);
    PrintAt(console.screen, cursor.ScreenRow(), Column(), Value());
  }

  void ToggleSupervisor() {
    Console& console = program.console;
    Screen& screen = console.screen;
    const size_t slot = static_cast<size_t>(cursor.Slot());
    SetGridColours(console);
    if (List().pins[slot] == 0 && List().supervisor[slot] == 0) {
      // Nobody could unlock anything with a slot that has no PIN.
      PrintAt(screen, cursor.ScreenRow(), cursor.NameColumn(), "     No PIN number      ");
      console.Beep();
      WaitKey(console, false, 0, 0, "");
      if (idMode) {
        SetGridColours(console);
        PrintAt(screen, cursor.ScreenRow(), cursor.NameColumn(), List().names[slot]);
      } else {
        FieldColours();  // the name being typed, as the field holds it
        PrintAt(screen, cursor.ScreenRow(), cursor.NameColumn(), text);
      }
    } else {
      List().supervisor[slot] = List().supervisor[slot] != 0 ? 0 : 1;
      PrintAt(screen, cursor.ScreenRow(), cursor.MarkColumn(), List().supervisor[slot] != 0 ? "*" : " ");
    }
    FieldColours();
  }

  void RedrawGrid() {
    SetGridColours(program.console);
    AssociateGrid(program.console, List(), cursor.pageOffset);
  }
};

// Saves what the editor changed: the flags and ID numbers into the register data file (its
// record numbers shown as they are written), the names and ID numbers into the card file in use.
// A step that fails is reported; the other is still made.
void Save(Program& program) {
  Console& console = program.console;
  Screen& screen = console.screen;
  SetGridColours(console);
  screen.ClearScreen();
  int line = 1;
  const Status saved = SaveSupervisorsAndIds(program.store, [&](int record) {
    screen.Locate(line++, 1);
    screen.PrintText(NumberText(record));
  });
  console.Present();  // the register data file is closed again: nothing waits on the terminal
  ReportIfFailed(program, saved);
  ReportIfFailed(program, StoreNamesAndIds(program.store, program.frame.cardNameInUse));

  // Who may open the supervisor menu follows the marks as they now stand.
  NoteSupervisors(program.store.associates);
}

}  // namespace

void AssociateEditor(Program& program) {
  Console& console = program.console;
  DrawScreen(program);

  Editor editor{program, {}, false, OneLineField(kNameLength), {}, false};
  FieldParameters& parameters = editor.parameters;
  std::string mode = "JU";
  int ignored = 0;
  EditField(console, mode, ignored, editor.Column(), editor.cursor.ScreenRow(), console.displayMode,
            editor.text, parameters);

  for (;;) {
    const int exitCode = editor.Edit();
    switch (exitCode) {
      case FieldExitCode(kKeyF1):
        editor.Store();
        editor.idMode = !editor.idMode;
        break;
      case FieldExitCode(kKeyF5): {
        int& rule = editor.List().requireSupervisor;
        rule = rule != 0 ? 0 : 1;
        DrawRule(console, rule);
        editor.FieldColours();
        break;
      }
      case kKeyTab:
        editor.ToggleSupervisor();
        break;
      case kKeyEscape:
        editor.Store();
        Save(program);
        return;
      case FieldExitCode(kKeyUp):
      case FieldExitCode(kKeyDown):
      case kKeyEnter:
        editor.Store();
        if (editor.cursor.Move(exitCode == FieldExitCode(kKeyUp) ? -1 : 1)) editor.RedrawGrid();
        break;
      case FieldExitCode(kKeyPageUp):
      case FieldExitCode(kKeyPageDown):
        editor.Store();
        editor.cursor.FlipPage();
        editor.RedrawGrid();
        break;
      default:
        break;  // the field goes on
    }
  }
}

}  // namespace shiftlog
