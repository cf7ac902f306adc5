// Start-up over damaged files of the cash-register suite: the register data file (the local
// copy and the shared one in the data path), the printer record file and TIMING.DAT. The input
// says which files there are and patches, cuts or grows a sound register data file made by
// the project's builder, so a short input reaches any record.
#include <algorithm>
#include <filesystem>
#include <string>

#include "frame/start_up.h"
#include "fuzz_input.h"
#include "fuzz_store.h"
#include "fuzz_targets.h"
#include "store/register_file_builder.h"

namespace shiftlog::fuzz {

namespace {

constexpr int kRecordLength = 80;

std::string SoundRegisterFile(bool sharedDataPath) {
  RegisterFileBuilder builder;
  builder.SetDisplayMode(1);
  builder.SetAssociate(1, "ANNA BAKER", 1111, "A-1001", true);
  builder.SetAssociate(29, "ERIN FOSTER", 5555, "E-1029");
  builder.SetAssociate(56, "LAST SLOT", 5656, "Z-1056");
  builder.SetStoreId("STORE 1");
  builder.SetPrinterPort("FILE:");
  if (sharedDataPath) builder.SetDataPath("C:\\DATA\\");
  return builder.Bytes();
}

// Bytes of piece at (record, offset); the file grows with zero bytes when that lies past its end.
void Patch(std::string& file, int record, int offset, std::string_view piece) {
  const size_t at = static_cast<size_t>(record - 1) * kRecordLength + static_cast<size_t>(offset);
  if (file.size() < at + piece.size()) file.resize(at + piece.size(), '\0');
  file.replace(at, piece.size(), piece);
}

}  // namespace

void FuzzRegisterFile(std::string_view bytes) {
  FuzzInput input(bytes);
  const std::uint8_t files = input.Byte();
  const bool shared = (files & 1) != 0;
  std::string local = SoundRegisterFile(shared);
  std::string sharedCopy = local;
  std::string printer(465 * kRecordLength, ' ');
  printer[464 * kRecordLength] = 1;  // the overrides apply
  printer.replace(464 * kRecordLength + 25, 5, "LPT2:");
  std::string timing = "0.5\r\n";

  while (!input.Empty()) {
    const std::uint8_t step = input.Byte();
    std::string* file = (step & 0x80) != 0 ? &printer : (step & 0x40) != 0 ? &sharedCopy : &local;
    switch (step % 4) {
      case 0:  // bytes of a record: records 1-470, a little past the file's end
      case 1: {
        const int record = 1 + input.Number16() % 470;
        const int offset = input.Byte() % kRecordLength;
        Patch(*file, record, offset, input.Piece(kRecordLength));
        break;
      }
      case 2:  // a file cut short
        file->resize(std::min(file->size(), static_cast<size_t>(input.Number16()) * 8));
        break;
      case 3:
        timing = std::string(input.Piece());
        break;
    }
  }

  FuzzStore& store = FuzzStore::Fresh();
  WriteFile(store.host.store / "TILCONFG.DAT", "\"SHOP1\"\r\n");
  if ((files & 2) == 0) WriteFile(store.host.store / "SHOP1.TIL", local);
  if ((files & 4) == 0) WriteFile(store.host.store / "SHOP1.DAT", printer);
  if ((files & 8) == 0) WriteFile(store.host.root / "TIMING.DAT", timing);
  std::filesystem::create_directories(store.host.root / "DATA");
  if ((files & 16) == 0) WriteFile(store.host.root / "DATA" / "SHOP1.TIL", sharedCopy);

  Program& program = store.program();
  try {
    FuzzCheck(StartUp(program), "started by the register, start-up goes on");
  } catch (const ScriptExhausted&) {
    return;  // more run-time error reports than the script answers: nothing more to check
  }
  const AssociateList& list = program.store.associates;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    FuzzCheck(list.names[slot].size() == 24 && list.ids[slot].size() == 8, "names and IDs have their widths");
    FuzzCheck(list.supervisor[slot] == 0 || list.supervisor[slot] == 1, "supervisor flags are 0 or 1");
  }
  FuzzCheck(list.storeId.size() == 12, "the store ID has 12 characters");
  FuzzCheck(list.timeDisplay == 0 || list.timeDisplay == 1, "the time display flag is 0 or 1");
  FuzzCheck(list.weekEnd == 0 || list.weekEnd == 1, "the week-end flag is 0 or 1");
  FuzzCheck(program.frame.thisWeekCard.size() == 8, "this week's card has its 8-digit name");
  FuzzCheck(program.frame.todayIndex >= 0 && program.frame.todayIndex <= 6, "today lies in its week");
  FuzzCheck(program.printer.printPause >= 0 && program.printer.printPause <= 86400,
            "the print pause lies between 0 and a day");
}

}  // namespace shiftlog::fuzz
