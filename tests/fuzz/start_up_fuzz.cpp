// The files start-up takes from the cash-register suite, as any program, crash or disk may have
// left them, and the DOS paths they hold.
#include <algorithm>

#include "frame/configuration.h"
#include "frame/hand_over.h"
#include "frame/start_up.h"
#include "fuzz_store.h"
#include "host/dos_paths.h"
#include "store/lock_file.h"
#include "store/register_file_builder.h"

namespace shiftlog::fuzz {

void FuzzHandOver(std::string_view bytes) {
  const std::string name = FirstItemOf(bytes);
  FuzzCheck(name.size() <= bytes.size(), "the name is part of the text");
  FuzzCheck(name.find_first_of("\r\n\x1a") == std::string::npos, "the name ends at the line end");
  const double pause = PrintPauseOf(bytes);
  FuzzCheck(pause >= 0 && pause <= 86400, "a print pause lies between 0 and a day");
  FuzzCheck(!PrinterDeviceOf(bytes.substr(0, 23)).empty(), "there is always a printer device");

  FuzzStore& store = FuzzStore::Fresh();
  WriteFile(store.folder / "TILCONFG.DAT", bytes);
  const std::optional<std::string> taken = TakeHandOver(*store.program);
  FuzzCheck(taken.has_value(), "a hand-over file is taken");
  FuzzCheck(*taken == FirstItemOf(bytes.substr(0, 32767)), "the file gives the name its text gives");
  FuzzCheck(!fs::exists(store.folder / "TILCONFG.DAT"), "the hand-over file is taken away");
}

// The input says which files there are and patches, cuts or grows sound files made by the
// project's builder, so a short input reaches any record.
void FuzzRegisterFile(std::string_view bytes) {
  constexpr size_t kLine = 80;  // the record length of the register and printer files
  FuzzInput input{bytes};
  const std::uint8_t files = input.Byte();
  RegisterFileBuilder builder;
  builder.SetDisplayMode(1);
  builder.SetAssociate(1, "ANNA BAKER", 1111, "A-1001", true);
  builder.SetAssociate(29, "ERIN FOSTER", 5555, "E-1029");
  builder.SetAssociate(56, "LAST SLOT", 5656, "Z-1056");
  builder.SetStoreId("STORE 1");
  builder.SetPrinterPort("FILE:");
  if (files & 1) builder.SetDataPath("C:\\DATA\\");  // the shared copy is read
  std::string local = builder.Bytes(), shared = local, printer(465 * kLine, ' '), timing = "0.5\r\n";
  printer[464 * kLine] = 1;  // the overrides apply
  printer.replace(464 * kLine + 25, 5, "LPT2:");

  while (!input.rest.empty()) {
    const std::uint8_t step = input.Byte();
    std::string& file = (step & 0x80) != 0 ? printer : (step & 0x40) != 0 ? shared : local;
    if (step % 4 < 2) {  // bytes at (record 1-470, offset), the file growing with zeros past its end
      const size_t record = static_cast<size_t>(input.Number16() % 470);  // read before the offset
      const size_t at = record * kLine + input.Byte() % kLine;
      const std::string_view piece = input.Piece(kLine);
      if (file.size() < at + piece.size()) file.resize(at + piece.size(), '\0');
      file.replace(at, piece.size(), piece);
    } else if (step % 4 == 2) {  // the file cut short
      file.resize(std::min(file.size(), static_cast<size_t>(input.Number16()) * 8));
    } else {
      timing = std::string(input.Piece());
    }
  }

  FuzzStore& store = FuzzStore::Fresh();
  WriteFile(store.folder / "TILCONFG.DAT", "\"SHOP1\"\r\n");
  if ((files & 2) == 0) WriteFile(store.folder / "SHOP1.TIL", local);
  if ((files & 4) == 0) WriteFile(store.folder / "SHOP1.DAT", printer);
  if ((files & 8) == 0) WriteFile(store.root / "TIMING.DAT", timing);
  fs::create_directories(store.root / "DATA");
  if ((files & 16) == 0) WriteFile(store.root / "DATA" / "SHOP1.TIL", shared);
  Program& program = *store.program;
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

// C: is the host folder of drive C:, F: a mapped folder, other letters are not ready. A path from
// a drive's top folder stays in that drive's folder, only an unmapped drive is not ready, and the
// DOS form of any result starts at drive C:.
void FuzzDosPath(std::string_view bytes) {
  FuzzInput input{bytes};
  const std::uint8_t setup = input.Byte();
  const std::string path(input.rest);
  FuzzStore& store = FuzzStore::Fresh();
  if (setup & 1) {  // a few folders and files of mixed case for the resolution to find
    for (const fs::path& folder : {store.root / "DATA" / "SHOP1", store.root / "data2",
                                   store.drive / "Store" / "SEND", store.folder / "SHOP1"})
      fs::create_directories(folder);
    WriteFile(store.root / "TIMING.DAT", "1\r\n");
    WriteFile(store.root / "DATA" / "shop1.til", "");
    WriteFile(store.drive / "Store" / "20121215.clk", "");
  }

  const std::optional<fs::path> resolved = ResolveDosPath(store, path);
  const bool zero = path.find('\0') != std::string::npos;
  const bool drive = path.size() >= 2 && path[1] == ':';
  const char letter = drive ? static_cast<char>(path[0] & ~0x20) : 'C';
  if (zero) FuzzCheck(!resolved, "a zero byte names no file");
  if (resolved) {
    if (drive || (!path.empty() && (path[0] == '\\' || path[0] == '/'))) {
      const fs::path top = letter == 'F' ? store.drive : store.root;
      const fs::path relative = resolved->lexically_normal().lexically_relative(top.lexically_normal());
      FuzzCheck(*resolved == top || (!relative.empty() && *relative.begin() != ".."),
                "a drive's path stays in its folder");
    }
    const std::string form = DosFormOf(store, *resolved);
    FuzzCheck(form.rfind("C:\\", 0) == 0, "a DOS form starts at drive C:");
    FuzzCheck(form.find('/') == std::string::npos, "a DOS form separates folders with backslashes");
  } else if (!zero) {
    FuzzCheck(drive && letter != 'C' && letter != 'F', "only an unmapped drive is not ready");
  }
  // The store names the lock file beside a file "_", at most 7 characters of the name, the extension.
  const std::string lock = LockFileName(path, ".CLK");
  FuzzCheck(lock[0] == '_' && lock.size() <= 12 && lock.substr(lock.size() - 4) == ".CLK",
            "a lock file's name is _ + 7 characters + the extension");
}

}  // namespace shiftlog::fuzz
