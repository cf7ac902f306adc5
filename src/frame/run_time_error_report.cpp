#include "frame/run_time_error_report.h"

#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

#include "console/boxes.h"
#include "console/wait_key.h"
#include "frame/program_end.h"
#include "host/run_time_errors.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr int kColumn = 14;
constexpr int kRow = 9;
constexpr int kWidth = 53;
constexpr int kHeight = 7;

void DrawReport(Console& console, int number, bool canContinue) {
  Screen& screen = console.screen;
  // Drawn where the user is looking, whatever page the failing screen was writing to.
  screen.SelectPages(screen.ShownPage(), screen.ShownPage());
  console.SetColours(15, 4, Console::kMonoFG, 0);
  Window(console, kColumn, kRow, kWidth, kHeight, 4);

  console.SetColours(14, 4, 15, 0);
  screen.Locate(kRow + 2, kColumn + 3, false);
  screen.PrintText("Run-time error" + NumberText(number) + ":  " + RunTimeErrorText(number));
  console.SetColours(15, 4, Console::kMonoFG, 0);
  screen.Locate(kRow + 4, kColumn + 3, false);
  screen.PrintText(canContinue ? "Continue the program?   [Y] = Yes   [N] = No"
                               : "The program ends.  Press any key.");
}

}  // namespace

void RunTimeErrorReport(Program& program, int number, bool canContinue) {
  Console& console = program.console;
  // The failing screen comes back untouched when the user goes on.
  const Screen saved = console.screen;
  DrawReport(console, number, canContinue);
  console.Beep();
  for (;;) {
    WaitKey(console, false, 0, 0, "");
    if (!canContinue) break;
    const std::string& key = console.keyText;
    if (key == "Y" || key == "y") {
      console.screen = saved;
      return;
    }
    if (key == "N" || key == "n" || console.keyCode == kKeyEscape) break;
    console.Beep();
  }
  throw ProgramEnd{kExitRunTimeError};
}

bool ReportIfFailed(Program& program, Status status) {
  if (status.ok()) return true;
  RunTimeErrorReport(program, status.error);
  return false;
}

int RunTimeErrorOf(const std::exception& failure) {
  if (const auto* system = dynamic_cast<const std::system_error*>(&failure)) {
    if (system->code().category() == std::generic_category() ||
        system->code().category() == std::system_category()) {
      return RunTimeErrorFromErrno(system->code().value());
    }
    return kDeviceIoError;
  }
  if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) return kOutOfMemory;
  if (dynamic_cast<const std::length_error*>(&failure) != nullptr) return kOutOfMemory;
  if (dynamic_cast<const std::out_of_range*>(&failure) != nullptr) return kSubscriptOutOfRange;
  return kIllegalFunctionCall;
}

}  // namespace shiftlog
