// The associate list: the 56 clerk slots of the register data file with their names, ID
// numbers, PINs and supervisor flags, and the store settings kept beside them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace shiftlog {

inline constexpr int kSlotCount = 56;
inline constexpr int kNoMatch = 57;  // the slot number that means "nobody"

struct AssociateList {
  // Indexed by slot 1-56; element 0 is unused.
  std::array<std::string, kSlotCount + 1> names;    // 24 characters, blank padded
  std::array<std::string, kSlotCount + 1> ids;      // 8 characters
  std::array<std::int32_t, kSlotCount + 1> pins{};  // 0 = no PIN
  std::array<int, kSlotCount + 1> supervisor{};     // 1 = payroll supervisor

  int timeDisplay = 0;  // 0 hours and minutes, 1 decimal hours
  std::string storeId = std::string(12, ' ');
  int requireSupervisor = 0;  // 1 = a supervisor unlocks the clock first
  int weekEnd = 0;            // 0 the week ends on Saturday, 1 on Sunday
  int noSupervisor = 1;       // 1 while nobody is marked as supervisor

  AssociateList() {
    names.fill(std::string(24, ' '));
    ids.fill(std::string(8, ' '));
  }
};

// Sets noSupervisor from the supervisor marks as they now stand: 1 when no slot is marked.
inline void NoteSupervisors(AssociateList& list) {
  list.noSupervisor = 1;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (list.supervisor[static_cast<size_t>(slot)] != 0) list.noSupervisor = 0;
  }
}

}  // namespace shiftlog
