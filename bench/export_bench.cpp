// What exporting a week costs: all 56 cards of a full card file (every card with a name and
// punches in every slot, corrections and reasons) as TEXT and as DATA through the time clock's
// ExportTimeCards, each card read afresh from the file; the same cards through the layouts
// alone; and a transmit file written whole into SEND.
//   export_bench [rounds]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_host.h"
#include "console/scripted_terminal.h"
#include "frame/program.h"
#include "host/whole_file.h"
#include "reports/export_time_cards.h"
#include "reports/print_time_card.h"
#include "store/time_card_file.h"
#include "store/weeks.h"

using namespace shiftlog;
namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  const fs::path folder = MakeBenchFolder();
  ScriptedTerminal terminal;
  FixedClock clock;
  BenchHost host(folder);
  Program program(terminal, clock, host);
  program.store.configName = "STORE";
  program.store.associates.storeId = "STORE 42    ";
  program.printer[8] = 1;
  program.frame.cardNameInUse = "20121215";
  program.frame.weekDates = ComputeCardWeek("12-15-2012", 6).dates;
  for (int slot = 1; slot <= 56; ++slot) {
    const std::string name = "ASSOCIATE NUMBER " + std::to_string(slot);
    if (!WriteTimeCard(program.store, FullCard(slot), name, slot, "20121215",
                       "ID0000" + std::to_string(slot))) {
      std::fprintf(stderr, "cannot write the card file\n");
      return 1;
    }
  }

  for (const ExportKind kind : {ExportKind::kText, ExportKind::kData}) {
    const char* label = kind == ExportKind::kText ? "TEXT" : "DATA";
    std::string bytes;
    const double cpu0 = CpuSeconds();
    const double wall0 = WallSeconds();
    for (int i = 0; i < rounds; ++i) {
      bytes.clear();
      if (!ExportTimeCards(program, true, kind, 0, bytes)) {
        std::fprintf(stderr, "the export failed\n");
        return 1;
      }
    }
    const double cpu = (CpuSeconds() - cpu0) / rounds;
    const double wall = (WallSeconds() - wall0) / rounds;

    const CardPrintSettings settings = CardPrintSettingsOf(program);
    const TimeCard card = FullCard(1);
    std::string layoutBytes;
    const double layout0 = CpuSeconds();
    for (int i = 0; i < rounds; ++i) {
      layoutBytes.clear();
      for (int slot = 1; slot <= 56; ++slot)
        AppendExportedCard(layoutBytes, kind,
                           PrintedCard{card, "ASSOCIATE", "ID", slot, program.frame.weekDates}, settings);
    }
    const double layoutCpu = (CpuSeconds() - layout0) / rounds;

    const double write0 = WallSeconds();
    const int writes = std::max(1, rounds / 10);
    for (int i = 0; i < writes; ++i) {
      if (!WriteWholeFile(folder / "SEND.CSV", bytes)) {
        std::fprintf(stderr, "cannot write the transmit file\n");
        return 1;
      }
    }
    const double write = (WallSeconds() - write0) / writes;

    std::printf("%s, 56 cards: %8.3f ms CPU, %8.3f ms wall clock (goal < 10 ms), %zu bytes\n", label,
                cpu * 1e3, wall * 1e3, bytes.size());
    std::printf("  of which the layouts  %8.3f ms CPU; the file written whole %8.3f ms wall clock\n",
                layoutCpu * 1e3, write * 1e3);
  }
  fs::remove_all(folder);
  return 0;
}
