// A stored week for the export tests: last week's card file 20121208.CLK in the card folder
// STORE, where card 3 (BOB BAKER) and card 17 (no name) hold times, card 7 (CAROL CHIEF) only a
// name, and every other card is blank.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "punch/card_fixture.h"
#include "store/weeks.h"

namespace shiftlog::testing {

struct ExportFixture : CardFixture {
  ExportFixture() {
    t.program.frame.cardNameInUse = "20121208";
    t.program.frame.dateText = "12-08-2012";
    t.program.frame.weekDates = ComputeCardWeek("12-08-2012", 6).dates;
    std::string bytes = NewCardFile();
    bytes.replace(PunchAt(3, 1, 1), 10, "08:0013:45");
    bytes.replace(PunchAt(17, 4, 1), 10, "13:0013:30");
    SaveCardFile(bytes, "20121208");
  }
  void Type(const std::vector<KeyText>& keys) {
    for (const KeyText& key : keys) t.terminal.Type(key);
  }
  // The names in a folder, sorted; nothing for a folder that is not there.
  static std::vector<std::string> Listing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::filesystem::path CardFolder() const { return t.host.store / "STORE"; }
};

}  // namespace shiftlog::testing
