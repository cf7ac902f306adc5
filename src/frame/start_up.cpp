#include "frame/start_up.h"

#include <optional>

#include "frame/configuration.h"
#include "frame/hand_over.h"
#include "frame/launch_notice.h"
#include "frame/program_end.h"
#include "frame/time_clock_started_screen.h"
#include "host/dos_paths.h"
#include "store/weeks.h"

namespace shiftlog {

void CheckGraphicsAdapter(Program& program) {
  Screen& screen = program.console.screen;
  screen.SelectPages(1, 1);
  program.console.noGraphics = screen.WrittenPage() == 1 && screen.ShownPage() == 1 ? 0 : 1;
  screen.SelectPages(0, 0);
}

void FindCurrentDrive(Program& program, std::string& drive) {
  drive = DosFormOf(program.host, program.host.CurrentFolder()).substr(0, 2);
}

bool StartUp(Program& program) {
  // A fresh state, whatever a test or an earlier run left in the object.
  program.frame = FrameState{};
  program.printer = PrinterSettings{};
  program.associates = AssociateList{};
  program.card = TimeCard{};
  Console& console = program.console;
  console.screen = Screen{};
  console.screen.SetColour(7, 0);
  console.screen.ClearScreen();
  console.noGraphics = 0;
  console.monoForeground = 7;
  // There is no video mode byte to read on a terminal; every terminal we meet shows colour.
  // The register data file decides in the end.
  console.displayMode = kColourDisplay;

  CheckGraphicsAdapter(program);
  program.printer.lineWidth = 120;
  FindCurrentDrive(program, program.frame.currentDrive);

  program.frame.errorFlag = 0;
  std::optional<std::string> configName = TakeHandOver(program);
  if (!configName) {
    ShowLaunchNotice(program);
    return false;
  }
  program.frame.configName = *configName;

  LoadConfiguration(program);

  FrameState& frame = program.frame;
  frame.dateText = DateText(program.clock.Now());
  frame.todayIndex = WeekPosition(frame.dateText, program.associates.weekEnd);
  const CardWeek week = ComputeCardWeek(frame.dateText, frame.todayIndex);
  frame.weekDates = week.dates;
  frame.thisWeekCard = week.fileName;
  frame.cardNameInUse = week.fileName;

  AssociateList& associates = program.associates;
  associates.noSupervisor = 1;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (associates.supervisor[slot] != 0) associates.noSupervisor = 0;
  }
  return true;
}

int RunTimeClock(Program& program) {
  if (!StartUp(program)) return kExitNotStartedByRegister;
  // ---- The PIN screens (the supervisor gate when the store asks for it, then the main PIN
  // ---- screen and the punch screen) take over here; until they do, this screen stands in.
  TimeClockStartedScreen(program);
  return kExitNormal;
}

}  // namespace shiftlog
