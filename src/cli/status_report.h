// shiftlog status: who is clocked in on a day, and the punches of a week that have no partner.
#pragma once

#include <string>
#include <vector>

#include "cli/back_office_store.h"
#include "host/clock.h"

namespace shiftlog {

struct StatusOptions {
  StoreOptions store;
  std::string date;             // YYYY-MM-DD; empty: today
  bool week = false;            // the unpaired punches of the date's whole week
  std::string format = "text";  // text, csv or json
};

// A punch slot's time as it counts: the correction when it holds a time, else the punch.
struct CountedTime {
  int punchSlot = 0;  // 1-8; odd IN, even OUT
  std::string text;   // as stored
  bool corrected = false;
};

// An associate whose last time of the day is an IN without its OUT.
struct ClockedIn {
  int slot = 0;
  CountedTime in;
};

// The day an associate has an IN or an OUT without its partner, and those punches.
struct UnpairedDay {
  int slot = 0;
  int day = 0;  // 0-6
  std::vector<CountedTime> punches;
};

std::vector<ClockedIn> WhoIsClockedIn(const WeekCards& week, int day);
std::vector<UnpairedDay> UnpairedPunches(const WeekCards& week);

// The report in the chosen format. Throws a CommandError as the export does.
std::string StatusReport(const StatusOptions& options, Clock& clock);

// The forms of the report (status_forms.cpp).
std::string ClockedInReport(const WeekCards& week, int day, const std::vector<ClockedIn>& people,
                            const std::string& format);
std::string UnpairedReport(const WeekCards& week, const std::vector<UnpairedDay>& days,
                           const std::string& format);

}  // namespace shiftlog
