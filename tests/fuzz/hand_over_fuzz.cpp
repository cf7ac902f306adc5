// TILCONFG.DAT as any program may have left it, and the one-line texts read beside it (the
// print pause of TIMING.DAT, the printer port field).
#include <filesystem>

#include "frame/configuration.h"
#include "frame/hand_over.h"
#include "fuzz_store.h"
#include "fuzz_targets.h"

namespace shiftlog::fuzz {

void FuzzHandOver(std::string_view bytes) {
  const std::string name = FirstItemOf(bytes);
  FuzzCheck(name.size() <= bytes.size(), "the name is part of the text");
  FuzzCheck(name.find_first_of("\r\n\x1a") == std::string::npos, "the name ends at the line end");

  const double pause = PrintPauseOf(bytes);
  FuzzCheck(pause >= 0 && pause <= 86400, "a print pause lies between 0 and a day");
  const std::string device = PrinterDeviceOf(bytes.substr(0, 23));
  FuzzCheck(!device.empty(), "there is always a printer device");

  FuzzStore& store = FuzzStore::Fresh();
  WriteFile(store.host.store / "TILCONFG.DAT", bytes);
  const std::optional<std::string> taken = TakeHandOver(store.program());
  FuzzCheck(taken.has_value(), "a hand-over file is taken");
  FuzzCheck(*taken == FirstItemOf(bytes.substr(0, 32767)), "the file gives the name its text gives");
  FuzzCheck(!std::filesystem::exists(store.host.store / "TILCONFG.DAT"), "the hand-over file is taken away");
}

}  // namespace shiftlog::fuzz
