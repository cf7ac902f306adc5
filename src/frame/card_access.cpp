#include "frame/card_access.h"

namespace shiftlog {

Status ReadTimeCard(Program& program, TimeCard& card, std::string& name, int slot, std::string_view fileName,
                    std::string& id) {
  CardReadNotes notes;
  const Status status = ReadTimeCard(program.store, card, name, slot, fileName, id, &notes);
  if (notes.idHadZeroByte) program.console.Beep();
  return status;
}

}  // namespace shiftlog
