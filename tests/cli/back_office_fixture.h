// A store as the back office finds it: the register data file in the store's folder pointing at
// drive F: (a link in DRIVES), the shared copy with the roster there, and card files written by
// the store itself. Commands run in-process with a fixed clock.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "console/scripted_terminal.h"
#include "host/real_host.h"
#include "store/register_data.h"
#include "store/register_file_builder.h"
#include "store/time_card_file.h"
#include "support/test_program.h"

namespace shiftlog::testing {

struct CommandResult {
  int status = -1;
  std::string out;
  std::string err;
};

class BackOfficeTest : public ::testing::Test {
 protected:
  static constexpr const char* kWeek = "20121215";  // Sunday 12-09-2012 to Saturday 12-15-2012

  BackOfficeTest() {
    std::filesystem::create_directories(store / "DRIVES");
    std::filesystem::create_directories(shared / "STORE");
    std::filesystem::create_directory_symlink(shared, store / "DRIVES" / "F");
    builder.SetAssociate(3, "MARY SMITH", 3333, "12345678");
    builder.SetAssociate(5, "JOE BROWN", 5555, "55");
    builder.SetAssociate(12, "ANNA BAKER", 1111, "A-12", true);
    builder.SetStoreId("STORE 42");
  }

  // Writes both register data files and reads the context from them; call again after a change.
  void WriteRegister() {
    local.SetDataPath("F:\\STORE\\");
    ASSERT_TRUE(local.WriteTo(store / "SHOP1.TIL"));
    ASSERT_TRUE(builder.WriteTo(shared / "STORE" / "SHOP1.TIL"));
    context.configName = "SHOP1";
    ASSERT_TRUE(ReadLocalDataPath(context));
    ASSERT_TRUE(LoadRegisterAssociates(context));
  }
  std::filesystem::path CardFolder() const { return shared / "STORE" / "SHOP1"; }

  void Punch(int slot, int day, int punchSlot, const std::string& time, const std::string& week = kWeek) {
    TimeCard card;
    std::string name, id;
    ASSERT_TRUE(PunchTimeCard(context, card, name, slot, week, id, day, punchSlot, time));
  }
  // A supervisor's correction of one slot, with the day's reason.
  void Correct(int slot, int day, int punchSlot, const std::string& time, int corrector,
               const std::string& reason) {
    TimeCard card;
    std::string name, id;
    ASSERT_TRUE(ReadTimeCard(context, card, name, slot, kWeek, id));
    card.Text(kCorrectionRow, day, punchSlot) = time;
    card.Text(kCorrectorRow, day, punchSlot) = " " + std::to_string(corrector);
    card.reasons[day + 1] = reason;
    ASSERT_TRUE(WriteTimeCard(context, card, name, slot, kWeek, id));
  }

  CommandResult Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "shiftlog");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out, err;
    const int status = RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err, clock);
    return {status, out.str(), err.str()};
  }
  // A command on this store that must work: its standard output, or that read as JSON.
  std::string Out(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"--store", store.string()});
    const CommandResult result = Run(arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return result.out;
  }
  nlohmann::json Json(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"--format", "json"});
    return nlohmann::json::parse(Out(arguments));
  }

  TempFolder top;
  std::filesystem::path store = top.path() / "store";
  std::filesystem::path shared = top.path() / "shared";
  RegisterFileBuilder local;                                // the store's own copy: only the data path
  RegisterFileBuilder builder;                              // the shared copy: associates and settings
  FixedClock clock{LocalTime{2012, 12, 12, 16, 30, 0, 0}};  // Wednesday
  RealHost host{store};
  StoreContext context{host};
};

}  // namespace shiftlog::testing
