// A whole time card file read as one consistent picture, for readers that look at many cards
// at once (the back-office command line): the file is read in one go under its lock file, so
// no station's update is seen half done, and the lock is held only for that read.
#pragma once

#include <string>
#include <string_view>

#include "host/run_time_errors.h"
#include "store/card_record.h"
#include "store/store_context.h"
#include "store/time_card.h"

namespace shiftlog {

struct CardFileSnapshot {
  // The 57 records of the file; zero bytes where the file ends early, as a record read past
  // the end of the file reads.
  std::string bytes;

  // The header settings, taken as a card read takes them.
  CardHeader Header() const;
  // The card of slot 1-56, decoded as a card read decodes it.
  DecodedCard Card(int slot, TimeCard& card, std::string& name, std::string& id) const;
};

// The DOS name of card file fileName (8 characters, no extension): card folder + name + ".CLK".
std::string CardFileDosName(const StoreContext& store, std::string_view fileName);

// Reads card file fileName of the card folder whole. Waits for another station's lock as an
// update does, holds the lock only while the bytes are read, and keeps the signals that end a
// program away meanwhile, so the lock file never outlives the read. Neither creates nor writes
// the card file: a missing one is File not found.
Status ReadCardFileSnapshot(StoreContext& store, std::string_view fileName, CardFileSnapshot& snapshot);

}  // namespace shiftlog
