// The program-wide state: one Program, built by main() (or by a test) and passed by reference
// to every operation. Each subsystem's part of the state lives in a struct of its own.
#pragma once

#include <array>
#include <string>

#include "console/console.h"
#include "frame/printer_settings.h"
#include "host/clock.h"
#include "host/host.h"
#include "store/associates.h"
#include "store/store_context.h"
#include "store/time_card.h"

namespace shiftlog {

// Where the program stands: configuration, week, who is logged in, which card is open.
struct FrameState {
  std::string currentDrive = "C:";
  int errorFlag = 0;          // set when a step armed to set-flag-and-continue failed
  std::string thisWeekCard;   // yyyymmdd of the current week's last day
  std::string cardNameInUse;  // the card file the screens work on (no extension)
  std::string dateText;       // mm-dd-yyyy whose week the card screen shows
  std::array<std::string, 7> weekDates;
  int todayIndex = 0;  // today's position in its card week, 0-6
  int loggedInSlot = kNoMatch;
  std::string loggedInName;
  std::string loggedInId;
};

struct Program {
  Program(Terminal& terminal, Clock& clock, Host& host)
      : console(terminal, clock), clock(clock), host(host), store(host) {}

  Console console;
  Clock& clock;
  Host& host;

  StoreContext store;  // configuration name, data path, associate list and settings
  FrameState frame;
  PrinterSettings printer;
  PrinterCheckState printerCheck;
  TimeCard card;
};

}  // namespace shiftlog
