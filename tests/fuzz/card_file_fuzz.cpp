// Card files as any station, crash or disk may have left them, read, punched, written, exported.
#include <algorithm>

#include "fuzz_store.h"
#include "layouts/export_cards.h"
#include "reports/export_time_cards.h"
#include "store/blank_card.h"
#include "store/card_file_snapshot.h"
#include "store/card_record.h"
#include "store/time_card_file.h"
#include "store/weeks.h"

namespace shiftlog::fuzz {

static void CheckFields(const TimeCard& card, const std::string& name, const std::string& id) {
  FuzzCheck(name.empty() || name.size() == 24, "a name is empty or 24 characters");
  FuzzCheck(id.empty() || id.size() == 8, "an ID# is empty or 8 characters");
  for (int row = 1; row <= 2; ++row)
    for (int day = 0; day < 7; ++day)
      for (int slot = 1; slot <= 8; ++slot)
        FuzzCheck(card.Text(row, day, slot).size() == 5, "times are 5 bytes");
  for (int day = 1; day <= 7; ++day) FuzzCheck(card.reasons[day].size() == 12, "reasons are 12 bytes");
}

// Everything outside record slot + 1 is as it was (a file shorter than the record grows).
static void CheckOnlyRecordChanged(const std::string& before, const std::string& after, size_t slot) {
  const size_t from = slot * kRecord, kept = std::min(from, before.size());
  FuzzCheck(after.size() >= before.size() && after.size() <= std::max(before.size(), from + kRecord),
            "a card file never shrinks, and grows by one record at most");
  FuzzCheck(after.compare(0, kept, before, 0, kept) == 0, "the records before the card are untouched");
  if (before.size() > from + kRecord) {
    FuzzCheck(after.compare(from + kRecord, std::string::npos, before, from + kRecord) == 0,
              "the records after the card are untouched");
  }
}

// The header and a card decoded directly, then read, punched and written as the punch screen and
// the correction do: fields keep their widths, a card encodes back to what it read, a punch or a
// write changes only the associate's own record, and no lock or temporary file stays.
void FuzzCardFile(std::string_view bytes) {
  FuzzInput input{bytes};
  const int slot = 1 + input.Byte() % 56;
  const int day = input.Byte() % 7;
  const int punchSlot = 1 + input.Byte() % 8;
  const std::uint8_t how = input.Byte();
  const std::string file(input.rest.substr(0, 58 * kRecord));  // the whole file and a record more

  for (WeekEndRule rule : {WeekEndRule::kOnlyOne, WeekEndRule::kAnyNonZero}) {
    const CardHeader header = DecodeHeader(file, rule);
    FuzzCheck(header.storeId.size() == 12, "the store ID has 12 characters");
    FuzzCheck(header.timeDisplay == 0 || header.timeDisplay == 1, "the time display is 0 or 1");
    FuzzCheck(header.weekEnd == 0 || header.weekEnd == 1, "the week end is 0 or 1");
    FuzzCheck(DecodeHeader(EncodeHeader(header), rule).storeId == header.storeId, "a header encodes back");
  }
  const size_t from = static_cast<size_t>(slot) * kRecord;
  TimeCard card, again, read;
  std::string name, id, name2, id2, encoded;
  DecodeCard(file.size() > from ? std::string_view(file).substr(from, kRecord) : std::string_view(), card,
             name, id);
  CheckFields(card, name, id);
  FuzzCheck(EncodeCard(card, name, id, encoded).ok(), "a card read from a file can be written");
  FuzzCheck(encoded.size() == kRecord, "a record has 800 bytes");
  DecodeCard(encoded, again, name2, id2);
  FuzzCheck(again.texts == card.texts, "a card encodes back to the card it was");
  (void)WorkedTimeTotals(card, how & 1, (how & 2) != 0);

  FuzzStore& store = FuzzStore::Fresh();
  StoreContext& context = store.program->store;
  const fs::path path = store.PutCardFile(file, (how & 4) != 0);
  FuzzCheck(ReadTimeCard(context, read, name, slot, "20121215", id).ok(), "an existing card file reads");
  CheckFields(read, name, id);
  FuzzCheck(read.texts == card.texts, "the store reads the card the bytes hold");
  int stored = -1;
  FuzzCheck(PunchTimeCard(context, read, name, slot, "20121215", id, day, punchSlot, "12:34", &stored).ok(),
            "a punch into an existing card file is stored");
  FuzzCheck(stored >= 0 && stored <= 8, "a punch goes into a slot of the day, or is refused");
  CheckOnlyRecordChanged(file, ReadFile(path), slot);
  if (stored != 0) FuzzCheck(read.Text(kPunchRow, day, stored) == "12:34", "the punch is on the card");
  FuzzCheck(WriteTimeCard(context, read, name, slot, "20121215", id).ok(), "a card read can be written");
  CheckOnlyRecordChanged(file, ReadFile(path), slot);
  FuzzStore::CheckNothingBeside(path);
}

// One card or every card with data, as TEXT and as DATA, by the time clock (each card read from
// the file) and as the command line makes them from its snapshot of the file: the same bytes, in
// whole lines of the layouts' widths, ten columns to each DATA line of a card, the file unchanged.
void FuzzExporters(std::string_view bytes) {
  FuzzInput input{bytes};
  const int slot = 1 + input.Byte() % 56;
  const std::uint8_t how = input.Byte();
  const bool all = (how & 1) != 0;
  const std::string file(input.rest.substr(0, 58 * kRecord));

  FuzzStore& store = FuzzStore::Fresh();
  Program& program = *store.program;
  const fs::path path = store.PutCardFile(file, false);
  program.printer[8] = (how & 2) != 0 ? 1 : 0;
  program.frame.cardNameInUse = "20121215";
  program.frame.weekDates = ComputeCardWeek("12-15-2012", 6).dates;
  CardFileSnapshot snapshot;  // what the command line reads: the whole file at once
  FuzzCheck(ReadCardFileSnapshot(program.store, "20121215", snapshot).ok(), "a card file snapshot reads");
  const CardHeader header = snapshot.Header();
  const CardPrintSettings settings{program.printer, header.timeDisplay, header.weekEnd, header.storeId};
  for (const ExportKind kind : {ExportKind::kText, ExportKind::kData}) {
    std::string out, commandLine;
    FuzzCheck(ExportTimeCards(program, all, kind, slot, out).ok(), "an existing card file exports");
    size_t cards = 0;
    for (int n = all ? 1 : slot; n <= (all ? 56 : slot); ++n) {
      TimeCard card;
      std::string name, id;
      snapshot.Card(n, card, name, id);
      if (all && IsBlankCard(card, name)) continue;
      AppendExportedCard(commandLine, kind, PrintedCard{card, name, id, n, program.frame.weekDates},
                         settings);
      ++cards;
    }
    FuzzCheck(out == commandLine, "the command line's export is the time clock's");

    size_t start = 0, lines = 0, headings = 0;
    for (size_t end; (end = out.find("\r\n", start)) != std::string::npos; start = end + 2, ++lines) {
      const std::string_view line = std::string_view(out).substr(start, end - start);
      size_t fields = 1;  // as a spreadsheet reads them
      bool quoted = false;
      for (const char c : line) {
        FuzzCheck(static_cast<unsigned char>(c) >= 32 && c != 127, "no control character inside a line");
        if (c == '"') quoted = !quoted;  // a doubled quote toggles twice
        if (c == ',' && !quoted) ++fields;
      }
      if (kind == ExportKind::kText) {
        FuzzCheck(line.size() <= 77, "TEXT lines are at most 77 columns");
      } else if (line.rfind("WEEK ENDING ON ,", 0) == 0) {
        ++headings;
      } else if (line.rfind("CARD #,", 0) != 0 && line.rfind("ASSOCIATE: ,", 0) != 0 &&
                 line.rfind("STORE ID = ,", 0) != 0 && line.rfind("TIME IS DISPLAYED", 0) != 0 &&
                 line.rfind(",TOTAL TIME WORKED,", 0) != 0) {
        FuzzCheck(!quoted, "every quoted DATA field is closed");
        FuzzCheck(fields == 10, "a DATA line of the card has ten columns");
      }
    }
    FuzzCheck(start == out.size(), "the export ends with a whole line");
    if (kind == ExportKind::kText) FuzzCheck(lines == cards * kTextCardLines, "a TEXT card is 63 lines");
    if (kind == ExportKind::kData) FuzzCheck(headings == cards, "one DATA card for each card exported");
  }
  FuzzCheck(ReadFile(path) == file, "exporting leaves the card file as it was");
  FuzzStore::CheckNothingBeside(path);
}

}  // namespace shiftlog::fuzz
