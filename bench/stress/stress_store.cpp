#include "stress/stress_store.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "store/card_record.h"
#include "store/register_file_builder.h"
#include "store/time_card_file.h"
#include "text/text_fields.h"

namespace shiftlog::stress {

namespace fs = std::filesystem;

namespace {

constexpr const char* kHandOver = "\"SHOP1\"\r\n";

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteWhole(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

bool IsTime(const std::string& text) {
  auto digit = [&](int i) { return text[i] >= '0' && text[i] <= '9'; };
  if (text.size() != 5 || !digit(0) || !digit(1) || text[2] != ':' || !digit(3) || !digit(4)) return false;
  return (text[0] - '0') * 10 + (text[1] - '0') <= 23 && (text[3] - '0') * 10 + (text[4] - '0') <= 59;
}

// One card record against the record the week's file was made with.
void CheckRecord(const std::string& week, int slot, const std::string& record, CardFileFindings& findings) {
  const std::string where = week + " slot " + std::to_string(slot) + ": ";
  const Associate associate = AssociateOf(slot);
  std::string expected = NewCardRecord(associate.name, associate.id);
  for (int day = 0; day < 7; ++day) {
    for (int punchSlot = 1; punchSlot <= 8; ++punchSlot) {
      const int punchAt = TimeFieldOffset(kPunchOffset, day, punchSlot);
      const int correctionAt = TimeFieldOffset(kCorrectionOffset, day, punchSlot);
      const int correctorAt = CorrectorOffset(day, punchSlot);
      const std::string punch = record.substr(punchAt, kTimeLength);
      const std::string correction = record.substr(correctionAt, kTimeLength);
      const int corrector = static_cast<unsigned char>(record[correctorAt]);
      const std::string field = "day " + std::to_string(day) + " slot " + std::to_string(punchSlot) + " ";
      if (punch != "     ") {
        if (!IsTime(punch)) findings.torn.push_back(where + field + "punch \"" + punch + "\"");
        findings.punches.insert({week, slot, day, punchSlot, punch});
      }
      if (correction != "     ") {
        if (!IsTime(correction)) findings.torn.push_back(where + field + "correction \"" + correction + "\"");
        if (corrector != kSupervisorSlot)
          findings.torn.push_back(where + field + "corrector " + std::to_string(corrector));
        findings.corrections.insert({week, slot, day, punchSlot, correction});
      } else if (corrector != 0) {
        findings.torn.push_back(where + field + "corrector without correction");
      }
      expected.replace(punchAt, kTimeLength, punch);
      expected.replace(correctionAt, kTimeLength, correction);
      expected[correctorAt] = record[correctorAt];
    }
  }
  if (record != expected) {
    size_t at = 0;
    while (at < record.size() && record[at] == expected[at]) ++at;
    findings.torn.push_back(where + "changed bytes from offset " + std::to_string(at));
  }
  ++findings.recordsChecked;
}

}  // namespace

Associate AssociateOf(int slot) {
  char name[32];
  char id[16];
  std::snprintf(name, sizeof name, "ASSOCIATE NUMBER %02d", slot);
  std::snprintf(id, sizeof id, "ID%06d", 900000 + slot);
  return {TextField(name, 24), TextField(id, 8), std::to_string(1100 + slot)};
}

bool MakeStressStore(const fs::path& top, int stations, StoreFolders& folders) {
  std::error_code ec;
  folders.shared = top / "shared";
  folders.cardFolder = folders.shared / "STORE" / kConfigName;
  // The card folder is there already, as in a store that has used the time clock before.
  fs::create_directories(folders.cardFolder, ec);
  if (ec) {
    std::fprintf(stderr, "stress: cannot make %s: %s\n", folders.cardFolder.c_str(), ec.message().c_str());
    return false;
  }
  RegisterFileBuilder roster;
  roster.SetDisplayMode(1);
  roster.SetPrinterPort("FILE:");
  roster.SetStoreId("STRESS STORE");
  roster.SetDataPath("F:\\STORE\\");
  for (int slot = 1; slot <= 56; ++slot) {
    const Associate associate = AssociateOf(slot);
    roster.SetAssociate(slot, associate.name, std::stoi(associate.pin), associate.id,
                        slot == kSupervisorSlot);
  }
  if (!roster.WriteTo(folders.shared / "STORE" / (std::string(kConfigName) + ".TIL"))) return false;

  folders.stations.clear();
  for (int i = 1; i <= stations; ++i) {
    const fs::path station = top / ("station-" + std::to_string(i));
    fs::create_directories(station / "DRIVES", ec);
    fs::create_directory_symlink(fs::absolute(folders.shared), station / "DRIVES" / "F", ec);
    if (ec) {
      std::fprintf(stderr, "stress: cannot link drive F: in %s: %s\n", station.c_str(), ec.message().c_str());
      return false;
    }
    if (!roster.WriteTo(station / (std::string(kConfigName) + ".TIL"))) return false;
    // The cash-register program: here it only says, by its exit status, that it was started.
    const fs::path register_program = station / "TIL";
    if (!WriteWhole(register_program, "#!/bin/sh\nexit " + std::to_string(kRegisterStatus) + "\n"))
      return false;
    fs::permissions(register_program, fs::perms::owner_all, fs::perm_options::add, ec);
    if (!WriteHandOver(station)) return false;
    folders.stations.push_back(station);
  }
  return true;
}

bool WriteHandOver(const fs::path& station) {
  return WriteWhole(station / "TILCONFG.DAT", kHandOver);
}

bool HandOverWrittenBack(const fs::path& station) {
  return ReadWhole(station / "TILCONFG.DAT") == kHandOver;
}

CardFileFindings CheckCardFiles(const StoreFolders& folders, const std::vector<std::string>& weeks) {
  CardFileFindings findings;
  for (const std::string& week : weeks) {
    const fs::path path = folders.cardFolder / (week + ".CLK");
    const std::string bytes = ReadWhole(path);
    ++findings.filesChecked;
    if (bytes.size() != static_cast<size_t>(kCardFileRecords) * kCardRecordLength) {
      findings.torn.push_back(week + ": " + std::to_string(bytes.size()) + " bytes");
      continue;
    }
    const std::string header = bytes.substr(0, kCardRecordLength);
    if (header != EncodeHeader(CardHeader{0, "STRESS STORE", 0}))
      findings.torn.push_back(week + ": header changed");
    for (int slot = 1; slot <= 56; ++slot)
      CheckRecord(week, slot, bytes.substr(static_cast<size_t>(slot) * kCardRecordLength, kCardRecordLength),
                  findings);
  }
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folders.shared, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind('_', 0) == 0 || (name.size() > 4 && name.substr(name.size() - 4) == ".new"))
      findings.leftOver.push_back(it->path().lexically_relative(folders.shared).string());
  }
  return findings;
}

}  // namespace shiftlog::stress
