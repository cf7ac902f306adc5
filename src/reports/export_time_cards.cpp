#include "reports/export_time_cards.h"

#include "reports/print_time_card.h"
#include "store/blank_card.h"
#include "store/time_card_file.h"

namespace shiftlog {

Status ExportTimeCards(Program& program, bool allCards, ExportKind kind, int slot, std::string& output) {
  const FrameState& frame = program.frame;
  const int first = allCards ? 1 : slot;
  const int last = allCards ? kSlotCount : slot;
  bool zeroByteId = false;
  Status status;
  for (int number = first; number <= last && status; ++number) {
    TimeCard card;
    std::string name;
    std::string id;
    CardReadNotes notes;
    status = ReadTimeCard(program.store, card, name, number, frame.cardNameInUse, id, &notes);
    if (!status) break;
    zeroByteId = zeroByteId || notes.idHadZeroByte;
    if (allCards && IsBlankCard(card, name)) continue;
    AppendExportedCard(output, kind, PrintedCard{card, name, id, number, frame.weekDates},
                       CardPrintSettingsOf(program));
  }
  // One beep for the export, not one for each damaged card of a damaged file.
  if (zeroByteId) program.console.Beep();
  return status;
}

}  // namespace shiftlog
