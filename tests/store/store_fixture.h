// A program over a temporary store with a roster, and the paths of its card files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_program.h"

namespace shiftlog::testing {

// The data path is "C:\DATA\" (a shared store: locks are taken) unless told to be empty.
struct StoreFixture : TestProgram {
  explicit StoreFixture(bool sharedDataPath = true) {
    program.store.configName = "SHOP1";
    if (sharedDataPath) {
      std::filesystem::create_directories(host.root / "DATA");
      program.store.dataPath = "C:\\DATA\\";
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      program.store.associates.names[slot] = Pad("ASSOCIATE " + std::to_string(slot), 24);
      program.store.associates.ids[slot] = Pad("ID" + std::to_string(slot), 8);
    }
    program.store.associates.storeId = "STORE 0042  ";
  }
  static std::string Pad(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
  }
  std::filesystem::path DataFolder() const {
    return program.store.dataPath.empty() ? host.store : host.root / "DATA";
  }
  std::filesystem::path CardFolder() const { return DataFolder() / "SHOP1"; }
  std::filesystem::path CardPath(const std::string& name = "20121215") const {
    return CardFolder() / (name + ".CLK");
  }
  std::filesystem::path CardLockPath(const std::string& name = "20121215") const {
    return CardFolder() / ("_" + name.substr(1) + ".CLK");
  }
  std::string Record(const std::string& name, int record) const {
    const std::string bytes = ReadFileBytes(CardPath(name));
    return bytes.substr(static_cast<size_t>(record - 1) * 800, 800);
  }
  // No lock file and no half-made file lies in the card folder.
  std::vector<std::string> StrayFiles() const {
    std::vector<std::string> stray;
    if (!std::filesystem::exists(CardFolder())) return stray;
    for (const auto& entry : std::filesystem::directory_iterator(CardFolder())) {
      const std::string name = entry.path().filename().string();
      if (name[0] == '_' || name.find(".new") != std::string::npos) stray.push_back(name);
    }
    return stray;
  }
};

}  // namespace shiftlog::testing
