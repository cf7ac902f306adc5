// The exporters fed damaged card files: one card or every card with data, as TEXT and as DATA,
// through the time clock's export (each card read from the file) and as the back-office
// command line makes them from its snapshot of the file. Whatever the bytes, the export works,
// its lines are whole (CR LF, no control character inside, the widths of the layouts), every
// DATA line keeps its ten columns, the two front ends give the same bytes, and the card file
// is left as it was.
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_store.h"
#include "fuzz_targets.h"
#include "layouts/export_cards.h"
#include "reports/export_time_cards.h"
#include "store/blank_card.h"
#include "store/card_file_snapshot.h"
#include "store/weeks.h"

namespace shiftlog::fuzz {

namespace {

constexpr size_t kRecord = 800;
constexpr size_t kWholeFile = 57 * kRecord;

// The fields of a DATA line as a spreadsheet reads them.
size_t DataFields(std::string_view line) {
  size_t fields = 1;
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') quoted = !quoted;  // a doubled quote toggles twice
    if (c == ',' && !quoted) ++fields;
  }
  FuzzCheck(!quoted, "every quoted DATA field is closed");
  return fields;
}

void CheckLines(const std::string& out, ExportKind kind, size_t cards) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t end; (end = out.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(std::string_view(out).substr(start, end - start));
  FuzzCheck(start == out.size(), "the export ends with a whole line");
  size_t headings = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    for (const char c : line) {
      const auto byte = static_cast<unsigned char>(c);
      FuzzCheck(byte >= 32 && byte != 127, "no control character inside a line");
    }
    if (kind == ExportKind::kText) {
      FuzzCheck(line.size() <= 77, "TEXT lines are at most 77 columns");
    } else if (line.rfind("WEEK ENDING ON ,", 0) == 0) {
      ++headings;
    } else if (line.rfind("CARD #,", 0) != 0 && line.rfind("ASSOCIATE: ,", 0) != 0 &&
               line.rfind("STORE ID = ,", 0) != 0 && line.rfind("TIME IS DISPLAYED", 0) != 0 &&
               line.rfind(",TOTAL TIME WORKED,", 0) != 0) {
      FuzzCheck(DataFields(line) == 10, "a DATA line of the card has ten columns");
    }
  }
  if (kind == ExportKind::kText) {
    FuzzCheck(lines.size() == cards * kTextCardLines, "a TEXT card is 63 lines");
  } else {
    FuzzCheck(headings == cards, "one DATA card for each card exported");
  }
}

}  // namespace

void FuzzExporters(std::string_view bytes) {
  FuzzInput input(bytes);
  const int slot = 1 + input.Byte() % 56;
  const std::uint8_t how = input.Byte();
  const bool all = (how & 1) != 0;
  const std::string file(input.Rest().substr(0, kWholeFile + kRecord));

  FuzzStore& store = FuzzStore::Fresh();
  Program& program = store.program();
  program.store.configName = "SHOP1";
  program.printer[8] = (how & 2) != 0 ? 1 : 0;
  program.frame.cardNameInUse = "20121215";
  program.frame.weekDates = ComputeCardWeek("12-15-2012", 6).dates;
  const std::filesystem::path folder = store.host.store / "SHOP1";
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / "20121215.CLK";
  WriteFile(path, file);

  // What the command line reads: the whole file at once, decoded card by card.
  CardFileSnapshot snapshot;
  FuzzCheck(ReadCardFileSnapshot(program.store, "20121215", snapshot).ok(), "a card file snapshot reads");
  const CardHeader header = snapshot.Header();
  const CardPrintSettings settings{program.printer, header.timeDisplay, header.weekEnd, header.storeId};

  for (const ExportKind kind : {ExportKind::kText, ExportKind::kData}) {
    std::string clock;
    FuzzCheck(ExportTimeCards(program, all, kind, slot, clock).ok(), "an existing card file exports");
    std::string commandLine;
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
    FuzzCheck(clock == commandLine, "the command line's export is the time clock's");
    CheckLines(clock, kind, cards);
  }
  FuzzCheck(ReadFile(path) == file, "exporting leaves the card file as it was");
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    FuzzCheck(entry.path().filename() == "20121215.CLK", "no lock or temporary file stays");
  }
}

}  // namespace shiftlog::fuzz
