#include "reports/export_time_cards.h"

#include "reports/print_time_card.h"
#include "store/blank_card.h"
#include "store/time_card_file.h"

namespace shiftlog {

Status ForEachExportedCard(Program& program, bool allCards, int slot,
                           const std::function<bool(const PrintedCard&)>& each) {
  const FrameState& frame = program.frame;
  const int first = allCards ? 1 : slot;
  const int last = allCards ? kSlotCount : slot;
  bool zeroByteId = false;
  Status status;
  for (int number = first; number <= last; ++number) {
    TimeCard card;
    std::string name;
    std::string id;
    CardReadNotes notes;
    status = ReadTimeCard(program.store, card, name, number, frame.cardNameInUse, id, &notes);
    if (!status) break;
    zeroByteId = zeroByteId || notes.idHadZeroByte;
    if (allCards && IsBlankCard(card, name)) continue;
    if (!each(PrintedCard{card, name, id, number, frame.weekDates})) break;
  }
  // One beep for the whole walk, not one for each damaged card of a damaged file.
  if (zeroByteId) program.console.Beep();
  return status;
}

Status ExportTimeCards(Program& program, bool allCards, ExportKind kind, int slot, std::string& output) {
  return ForEachExportedCard(program, allCards, slot, [&](const PrintedCard& card) {
    AppendExportedCard(output, kind, card, CardPrintSettingsOf(program));
    return true;
  });
}

}  // namespace shiftlog
