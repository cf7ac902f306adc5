#include "reports/export_dialog.h"

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "console/boxes.h"
#include "console/field_editor.h"
#include "console/menu_chooser.h"
#include "console/wait_key.h"
#include "frame/run_time_error_report.h"
#include "host/dos_paths.h"
#include "host/drive_test.h"
#include "host/whole_file.h"
#include "reports/export_files.h"
#include "reports/export_time_cards.h"
#include "reports/print_time_card.h"
#include "store/time_card_file.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

enum DialogChoice { kPrint = 1, kSaveText = 2, kSaveData = 3, kCancel = 4 };
constexpr const char* kScopeTexts[] = {"This card only.", "All cards with data."};
constexpr int kThisCard = 0;
constexpr int kAllCards = 1;
constexpr int kNameLength = 8;
constexpr int kNameColumn = 35;
constexpr int kNameRow = 20;
constexpr int kDriveColumn = 33;

void BaseColours(Console& console) {
  console.SetColours(15, 1, Console::kMonoFG, 0);
}
void HighlightColours(Console& console) {
  console.SetColours(15, 3, 0, Console::kMonoFG);
}
void MessageColours(Console& console) {
  console.SetColours(15, 4, 0, Console::kMonoFG);
}

void BlankRows(Screen& screen, int firstRow, int lastRow, int column, int width) {
  for (int row = firstRow; row <= lastRow; ++row) PrintAt(screen, row, column, std::string(width, ' '));
}

void DrawScopes(Console& console, int scope) {
  for (int i = 0; i < 2; ++i) {
    if (i == scope) {
      HighlightColours(console);
    } else {
      BaseColours(console);
    }
    PrintAt(console.screen, 11 + i, 30, kScopeTexts[i]);
  }
  BaseColours(console);
}

void DrawDialog(Console& console, int scope) {
  Screen& screen = console.screen;
  BaseColours(console);
  BlankRows(screen, 4, 14, 25, 30);
  Box(console, 25, 4, 30, 11);
  PrintAt(screen, 10, 36, "EXPORT...");
  PrintAt(screen, 13, 33, "[TAB] = Toggle");
  DrawScopes(console, scope);
}

// The menu until a choice is confirmed: [TAB] (and the digit 9) toggles the scope and leaves
// the bar where it was; [ESC] is Cancel.
int ChooseAction(Console& console, const std::vector<std::string>& items, int& choice, int& scope) {
  for (;;) {
    int key = 0;
    MenuChooser(console, 4, 31, 4, items, 1, choice, key);
    if (choice == kMenuCancelled) {
      choice = kCancel;
      return kCancel;
    }
    if (key == kKeyTab) {
      scope = 1 - scope;
      DrawScopes(console, scope);
    } else if (key == kKeyEnter) {
      return choice;
    }
  }
}

// Waits out the print pause after a card sent to the print file, asleep.
void PrintPause(const Program& program) {
  const double pause = program.printer.printPause;
  if (pause > 0) std::this_thread::sleep_for(std::chrono::duration<double>(pause));
}

void PrintCards(Program& program, const PrintedCard& shown, int scope) {
  Console& console = program.console;
  Box(console, 25, 16, 30, 3);
  PrintAt(console.screen, 17, 26, "         Printing...      ");
  console.Present();  // a printer port takes its time: say so before it starts
  if (scope == kThisCard) {
    PrintTimeCard(program, shown, CardPrintSettingsOf(program));
    return;
  }
  const Status read = ForEachExportedCard(program, true, 0, [&program](const PrintedCard& card) {
    // The user ended printing at the printer check, or gave the printer up: the cards after
    // this one would only ask again.
    if (PrintTimeCard(program, card, CardPrintSettingsOf(program)) != PrintOutcome::kPrinted) return false;
    PrintPause(program);
    return true;
  });
  if (!read) RunTimeErrorReport(program, read.error);
}

// The drive proposed for saving: the data path's, when it begins with one, else the current.
std::string DefaultDrive(const Program& program) {
  const std::string& dataPath = program.store.dataPath;
  const char letter = dataPath.size() >= 2 && dataPath[1] == ':' ? UpperCase(dataPath.substr(0, 1))[0] : '\0';
  if (letter >= 'A' && letter <= 'Z') return std::string(1, letter) + ":";
  return program.frame.currentDrive;
}

// [TAB] in the save dialog: a new drive letter A to P, or [ESC] to keep the drive.
void ChangeDrive(Console& console, std::string& drive) {
  Screen& screen = console.screen;
  HighlightColours(console);
  PrintAt(screen, kNameRow, kDriveColumn, drive);
  for (;;) {
    WaitKey(console, false, 0, 0, "");
    if (console.keyCode == kKeyEscape) break;
    const std::string key = UpperCase(console.keyText);
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'P') {
      drive = key + ":";
      break;
    }
  }
  BaseColours(console);
  PrintAt(screen, kNameRow, kDriveColumn, drive);
}

bool ValidName(const std::string& name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (!IsDosNameCharacter(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Exports the cards and writes the file whole; the message says what became of it.
std::string SaveFile(Program& program, const std::optional<std::filesystem::path>& path,
                     const std::string& shownName, const std::string& fileName, ExportKind kind, int scope,
                     int slot) {
  std::string bytes;
  Status status = path ? Status::Ok() : Status::Failed(kDiskNotReady);
  if (status) status = ExportTimeCards(program, scope == kAllCards, kind, slot, bytes);
  if (status) status = WriteWholeFile(*path, bytes);
  return status ? "SAVED AS " + shownName : fileName + " NOT SAVED: " + NotSavedReason(status);
}

void SaveDialog(Program& program, int choice, int scope, const std::string& cardName, int slot) {
  Console& console = program.console;
  Screen& screen = console.screen;
  const ExportKind kind = choice == kSaveText ? ExportKind::kText : ExportKind::kData;
  const std::string extension = choice == kSaveText ? ".TMT" : ".TMD";
  const std::string number = "0" + std::to_string(slot);
  const std::string numberPart = scope == kAllCards ? "AL" : number.substr(number.size() - 2);
  std::string text = (cardName.size() > 6 ? cardName.substr(cardName.size() - 6) : cardName) + numberPart;
  std::string drive = DefaultDrive(program);

  BaseColours(console);
  BlankRows(screen, 16, 24, 25, 30);
  Box(console, 25, 16, 30, 9);
  PrintAt(screen, 17, 33, "Save file as...");
  PrintAt(screen, 19, 35, "YYMMDD");
  PrintAt(screen, 22, 30, "[TAB] = Change drive");
  PrintAt(screen, 23, 27, "[ENTER]=Save  [ESC]=Cancel");
  PrintAt(screen, kNameRow, kDriveColumn, drive + TextField(text, kNameLength) + extension);

  FieldParameters parameters = OneLineField(kNameLength);
  std::string message;
  while (message.empty()) {
    std::string mode = "JU";
    int exitCode = 0;
    EditField(console, mode, exitCode, kNameColumn, kNameRow, console.displayMode, text, parameters);
    do {
      mode.clear();
      EditField(console, mode, exitCode, kNameColumn, kNameRow, console.displayMode, text, parameters,
                IsDosNameCharacter);
    } while (exitCode != kKeyTab && exitCode != kKeyEnter && exitCode != kKeyEscape);
    mode = "END";
    EditField(console, mode, exitCode, kNameColumn, kNameRow, console.displayMode, text, parameters);
    if (exitCode == kKeyEscape) return;
    if (exitCode == kKeyTab) {
      ChangeDrive(console, drive);
      continue;
    }

    // The blanks that pad a shortened name are no part of the file's name.
    const std::string name = TrimTrailingBlanks(text);
    if (!ValidName(name)) {
      console.Beep();
      continue;
    }
    // On the current drive the file goes into the card folder of the data path.
    const bool currentDrive = drive == program.frame.currentDrive;
    if (!currentDrive && !DriveTakesFiles(program.host, drive)) {
      console.Beep();
      MessageColours(console);
      PrintAt(screen, 21, 31, "DRIVE " + drive + " NOT READY");
      WaitKey(console, false, 0, 0, "");
      BaseColours(console);
      PrintAt(screen, 21, 30, std::string(20, ' '));
      continue;
    }
    const std::string fileName = name + extension;
    const std::string shownName =
        (currentDrive ? program.store.dataPath + program.store.configName + "\\" : drive) + fileName;
    MessageColours(console);
    message = SaveFile(program, ResolveDosPath(program.host, shownName), shownName, fileName, kind, scope, slot);
  }
  message.resize(std::min<size_t>(message.size(), kColumns));
  PrintAt(screen, 15, CentredColumn(40, static_cast<int>(message.size())), message);
  WaitKey(console, false, 0, 0, "");
  BaseColours(console);
}

}  // namespace

void ExportDialog(Program& program, const TimeCard& card, const std::string& name,
                  const std::array<std::string, 7>& weekDates, const std::string& id,
                  const std::string& cardName, int slot) {
  Console& console = program.console;
  const Screen saved = console.screen;
  const bool printing = program.printer[1] != 0;
  // With printing off the first item is a gap the bar skips.
  const std::vector<std::string> items = {printing ? "1. Print" : "", "2. Save as TEXT", "3. Save as DATA",
                                          "4. Cancel"};
  int choice = printing ? kPrint : kSaveText;
  int scope = kThisCard;
  for (;;) {
    DrawDialog(console, scope);
    switch (ChooseAction(console, items, choice, scope)) {
      case kCancel:
        console.screen = saved;
        return;
      case kPrint:
        PrintCards(program, PrintedCard{card, name, id, slot, weekDates}, scope);
        break;
      default:
        SaveDialog(program, choice, scope, cardName, slot);
        break;
    }
    console.screen = saved;
  }
}

}  // namespace shiftlog
