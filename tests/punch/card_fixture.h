// A store for the card screen tests: associates, this week's card name and a clock standing at
// Saturday 12-15-2012 08:59:59, with helpers that build and read a card file byte by byte as
// another station would leave it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_program.h"

namespace shiftlog::testing {

struct CardFixture : ::testing::Test {
  CardFixture() {
    auto& a = t.program.store.associates;
    a.names[3] = "BOB BAKER               ";
    a.ids[3] = "00001234";
    a.pins[3] = 1234;
    a.names[7] = "CAROL CHIEF             ";
    a.ids[7] = "00000007";
    a.supervisor[7] = 1;
    a.noSupervisor = 0;
    auto& f = t.program.frame;
    t.program.store.configName = "STORE";
    f.thisWeekCard = "20121215";
    f.todayIndex = 6;
    f.loggedInSlot = 3;
    f.loggedInName = a.names[3];
    dataFolder = t.host.store;
  }

  // The shared files move to the data path C:\DATA\, as on a store with several stations:
  // updates then take lock files.
  void ShareDataPath() {
    dataFolder = t.host.root / "DATA";
    std::filesystem::create_directories(dataFolder);
    t.program.store.dataPath = "C:\\DATA\\";
  }

  std::filesystem::path CardFile(const std::string& name = "20121215") const {
    return dataFolder / "STORE" / (name + ".CLK");
  }
  // Offsets of a field of slot's card record; day 0-6, s 1-8.
  static size_t Record(int slot) { return 800 * static_cast<size_t>(slot); }
  static size_t PunchAt(int slot, int day, int s) { return Record(slot) + 32 + 5 * (day * 8 + s - 1); }
  static size_t CorrectionAt(int slot, int day, int s) { return Record(slot) + 312 + 5 * (day * 8 + s - 1); }
  static size_t CorrectorAt(int slot, int day, int s) { return Record(slot) + 592 + day * 8 + s - 1; }
  static size_t ReasonAt(int slot, int day) { return Record(slot) + 648 + 12 * day; }

  // A fresh week's file as the store creates it: header, roster names and ID numbers, blank
  // punches and zero corrector bytes.
  std::string NewCardFile(int weekEnd = 0) const {
    std::string bytes(57 * 800, ' ');
    bytes[0] = 0;
    bytes[13] = static_cast<char>(weekEnd);
    for (int slot = 1; slot <= 56; ++slot) {
      bytes.replace(Record(slot), 24, t.program.store.associates.names[slot]);
      bytes.replace(Record(slot) + 24, 8, t.program.store.associates.ids[slot]);
      bytes.replace(Record(slot) + 592, 56, std::string(56, '\0'));
    }
    return bytes;
  }
  void SaveCardFile(const std::string& bytes, const std::string& name = "20121215") {
    std::filesystem::create_directories(CardFile(name).parent_path());
    TestProgram::WriteFileBytes(CardFile(name), bytes);
  }
  std::string CardBytes(const std::string& name = "20121215") const {
    return TestProgram::ReadFileBytes(CardFile(name));
  }

  TestProgram t;
  std::filesystem::path dataFolder;  // where the register data file and the card folder are
};

}  // namespace shiftlog::testing
