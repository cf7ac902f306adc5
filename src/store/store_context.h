// What the store needs to find and describe the suite's shared files: the host that resolves
// DOS paths, the configuration name, the data path, and the associate list with the settings
// that every card file carries in its header. The time clock keeps one in its Program; the
// back-office command line builds its own.
#pragma once

#include <string>

#include "host/host.h"
#include "store/associates.h"

namespace shiftlog {

struct StoreContext {
  explicit StoreContext(Host& host) : host(host) {}

  Host& host;
  std::string configName;  // first item of TILCONFG.DAT; base name of .TIL, .DAT and the card folder
  std::string dataPath;  // folder prefix of the shared files (DOS form, ends in "\"); empty = current folder
  // The roster, and the settings in force: those of the register data file at start-up, then
  // those of the card file read or written last (time display, store ID, week end).
  AssociateList associates;
};

}  // namespace shiftlog
