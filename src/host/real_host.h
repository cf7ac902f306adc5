// The host the program runs on in a store.
//
// Drive letters: C: is the host's root folder "/". The letters A: to P: (other than C:) are
// set up by the store, without any settings file of this program's own, as a folder named
// DRIVES in the store's folder (the folder the cash-register program starts the time clock
// in) holding one link (or folder) per letter:
//     DRIVES/F -> /srv/shared-store
// The link's name is the letter in either case. A letter without such an entry, or whose link
// leads nowhere, is a drive that is not ready. Keeping the map beside the suite's own files
// means each store folder carries its own drives, as each of the suite's PCs had, and setting
// it up needs no administrator rights.
//
// The cash-register program: an executable file named TIL or TIL.EXE (any case) in the store's
// folder, else an executable TIL or til found on PATH. It is started in place of this process,
// with the store's folder as its working folder; no shell is involved.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

#include "host/host.h"
#include "host/real_printers.h"

namespace shiftlog {

class RealHost : public Host {
 public:
  // Takes the working folder at this moment as the store's folder.
  RealHost();
  explicit RealHost(std::filesystem::path storeFolder) : currentFolder_(std::move(storeFolder)) {}

  void StartCashRegister() override;
  std::filesystem::path CurrentFolder() override { return currentFolder_; }
  std::optional<std::filesystem::path> DriveFolder(char letter) override;
  PrinterPorts& Printers() override { return printers_; }

  // The cash-register program that StartCashRegister would start; nothing when there is none.
  std::optional<std::filesystem::path> FindCashRegister();

  // Run just before this process is replaced (main restores the terminal here), and after a
  // replacement that failed even so (main takes the terminal back).
  std::function<void()> beforeStart;
  std::function<void()> afterFailedStart;

 private:
  std::filesystem::path currentFolder_;
  RealPrinterPorts printers_;
};

}  // namespace shiftlog
