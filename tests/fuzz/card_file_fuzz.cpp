// Card files as any station, crash or disk may have left them: the header and a card decoded
// directly, then read, punched and written through the store. Whatever the bytes, a card reads
// into fields of their widths, encodes back to what it read, and a punch or a write changes
// the associate's own record and nothing else.
#include <filesystem>
#include <string>

#include "fuzz_input.h"
#include "fuzz_store.h"
#include "fuzz_targets.h"
#include "store/card_record.h"
#include "store/time_card_file.h"
#include "store/weeks.h"

namespace shiftlog::fuzz {

namespace {

constexpr size_t kRecord = 800;
constexpr size_t kWholeFile = 57 * kRecord;

void CheckFields(const TimeCard& card, const std::string& name, const std::string& id) {
  FuzzCheck(name.empty() || name.size() == 24, "a name is empty or 24 characters");
  FuzzCheck(id.empty() || id.size() == 8, "an ID# is empty or 8 characters");
  for (int row = 1; row <= 2; ++row)
    for (int day = 0; day < 7; ++day)
      for (int slot = 1; slot <= 8; ++slot)
        FuzzCheck(card.Text(row, day, slot).size() == 5, "times are 5 bytes");
  for (int day = 1; day <= 7; ++day) FuzzCheck(card.reasons[day].size() == 12, "reasons are 12 bytes");
}

// Everything outside record slot + 1 is as it was (a file shorter than the record grows).
void CheckOnlyRecordChanged(const std::string& before, const std::string& after, int slot) {
  const size_t from = static_cast<size_t>(slot) * kRecord;
  FuzzCheck(after.size() >= before.size(), "a card file never shrinks");
  FuzzCheck(after.size() <= std::max(before.size(), from + kRecord),
            "a card file grows by one record at most");
  FuzzCheck(after.compare(0, std::min(from, before.size()), before, 0, std::min(from, before.size())) == 0,
            "the records before the card are untouched");
  if (before.size() > from + kRecord) {
    FuzzCheck(after.compare(from + kRecord, std::string::npos, before, from + kRecord) == 0,
              "the records after the card are untouched");
  }
}

}  // namespace

void FuzzCardFile(std::string_view bytes) {
  FuzzInput input(bytes);
  const int slot = 1 + input.Byte() % 56;
  const int day = input.Byte() % 7;
  const int punchSlot = 1 + input.Byte() % 8;
  const std::uint8_t how = input.Byte();
  std::string file(input.Rest().substr(0, kWholeFile + kRecord));

  // Straight from the bytes.
  for (WeekEndRule rule : {WeekEndRule::kOnlyOne, WeekEndRule::kAnyNonZero}) {
    const CardHeader header = DecodeHeader(file, rule);
    FuzzCheck(header.storeId.size() == 12, "the store ID has 12 characters");
    FuzzCheck(header.timeDisplay == 0 || header.timeDisplay == 1, "the time display is 0 or 1");
    FuzzCheck(header.weekEnd == 0 || header.weekEnd == 1, "the week end is 0 or 1");
    FuzzCheck(DecodeHeader(EncodeHeader(header), rule).storeId == header.storeId, "a header encodes back");
  }
  const std::string_view record = file.size() > static_cast<size_t>(slot) * kRecord
                                      ? std::string_view(file).substr(slot * kRecord, kRecord)
                                      : std::string_view();
  TimeCard card;
  std::string name, id;
  DecodeCard(record, card, name, id);
  CheckFields(card, name, id);
  std::string encoded;
  FuzzCheck(EncodeCard(card, name, id, encoded).ok(), "a card read from a file can be written");
  FuzzCheck(encoded.size() == kRecord, "a record has 800 bytes");
  TimeCard again;
  std::string name2, id2;
  DecodeCard(encoded, again, name2, id2);
  FuzzCheck(again.texts == card.texts, "a card encodes back to the card it was");
  (void)WorkedTimeTotals(card, how & 1, (how & 2) != 0);

  // Through the store, as the punch screen and the correction use it.
  FuzzStore& store = FuzzStore::Fresh();
  Program& program = store.program();
  program.store.configName = "SHOP1";
  program.store.dataPath = (how & 4) != 0 ? "C:\\DATA\\" : "";
  const std::filesystem::path folder =
      ((how & 4) != 0 ? store.host.root / "DATA" : store.host.store) / "SHOP1";
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / "20121215.CLK";
  WriteFile(path, file);

  TimeCard read;
  FuzzCheck(ReadTimeCard(program.store, read, name, slot, "20121215", id).ok(),
            "an existing card file reads");
  CheckFields(read, name, id);
  FuzzCheck(read.texts == card.texts, "the store reads the card the bytes hold");
  int stored = -1;
  FuzzCheck(
      PunchTimeCard(program.store, read, name, slot, "20121215", id, day, punchSlot, "12:34", &stored).ok(),
      "a punch into an existing card file is stored");
  FuzzCheck(stored >= 0 && stored <= 8, "a punch goes into a slot of the day, or is refused");
  const std::string punched = ReadFile(path);
  CheckOnlyRecordChanged(file, punched, slot);
  if (stored != 0) FuzzCheck(read.Text(kPunchRow, day, stored) == "12:34", "the punch is on the card");
  FuzzCheck(WriteTimeCard(program.store, read, name, slot, "20121215", id).ok(),
            "a card read can be written");
  CheckOnlyRecordChanged(file, ReadFile(path), slot);
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    FuzzCheck(entry.path().filename() == "20121215.CLK", "no lock or temporary file stays");
  }
}

}  // namespace shiftlog::fuzz
