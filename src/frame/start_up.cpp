#include "frame/start_up.h"

#include <optional>

#include "frame/configuration.h"
#include "frame/hand_over.h"
#include "frame/launch_notice.h"
#include "frame/program_end.h"
#include "host/dos_paths.h"
#include "punch/pin_screens.h"
#include "punch/punch_screen.h"
#include "store/weeks.h"
#include "supervisor/supervisor_tools.h"

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
  program.printerCheck = PrinterCheckState{};
  program.store.configName.clear();
  program.store.dataPath.clear();
  program.store.associates = AssociateList{};
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
  program.store.configName = *configName;

  LoadConfiguration(program);

  FrameState& frame = program.frame;
  frame.dateText = DateText(program.clock.Now());
  frame.todayIndex = WeekPosition(frame.dateText, program.store.associates.weekEnd);
  const CardWeek week = ComputeCardWeek(frame.dateText, frame.todayIndex);
  frame.weekDates = week.dates;
  frame.thisWeekCard = week.fileName;
  frame.cardNameInUse = week.fileName;

  NoteSupervisors(program.store.associates);
  return true;
}

int RunTimeClock(Program& program) {
  if (!StartUp(program)) return kExitNotStartedByRegister;
  const AssociateList& associates = program.store.associates;
  // A store may ask for a supervisor to unlock the clock; with nobody marked supervisor there
  // is nobody who could, and the gate is skipped.
  if (associates.requireSupervisor == 1 && associates.noSupervisor == 0) {
    // ReturnToRegister comes back only when the register could not be started and the user
    // chose to go on: the gate is then asked again.
    while (SupervisorGate(program) == 0) ReturnToRegister(program);
  }
  while (MainPinScreen(program) == 0) ReturnToRegister(program);
  for (;;) {
    if (PunchScreen(program) == PunchScreenExit::kReturnToRegister) {
      ReturnToRegister(program);
      continue;  // the register could not be started: the associate's card shows again
    }
    // [F8]: the supervisor menu and its tools. "7. Quit" leads back to the punch screen,
    // which reads this week's card afresh, whatever week the tools looked at.
    RunSupervisorTools(program);
  }
}

}  // namespace shiftlog
