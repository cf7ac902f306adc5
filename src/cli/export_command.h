// shiftlog export: the cards of one week, as the payroll program takes them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/back_office_store.h"
#include "host/clock.h"

namespace shiftlog {

struct ExportOptions {
  StoreOptions store;
  std::string week;            // a day of the week, or the card file's name; empty: this week
  std::string format = "csv";  // one of ExportFormatNames()
  bool all = false;            // all 56 cards, blank ones too
  int slot = 0;                // only this card, even blank; 0: every non-blank card
  std::string output;          // the file to write whole; empty: standard output
};

// The names --format accepts.
std::vector<std::string> ExportFormatNames();

// The bytes of the export: csv those of a transmitted DATA file, text those of a transmitted
// TEXT file, json one object per card. Throws a CommandError for a week that cannot be named
// or has no card file, and a store that cannot be read.
std::string ExportCards(const ExportOptions& options, Clock& clock);

// The chosen cards as one JSON object: the week, and per card the slot, name, ID#, per day the
// date, the punches, the corrections and beside them their correctors, the reason and the
// worked minutes, and the week's total.
std::string CardsAsJson(const WeekCards& week, const std::vector<int>& slots);

}  // namespace shiftlog
