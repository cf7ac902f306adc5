// How much a printed time card costs: CPU per card printed to the print file (the "FILE:"
// port), from PrintTimeCard to the file written whole, for both layouts; and the layout alone.
// The wall clock includes the disk (the print file is flushed before it takes its name).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_host.h"
#include "console/scripted_terminal.h"
#include "frame/program.h"
#include "reports/print_time_card.h"

using namespace shiftlog;
namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const int cards = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  const fs::path folder = MakeBenchFolder();
  ScriptedTerminal terminal;
  FixedClock clock;
  BenchHost host(folder);
  Program program(terminal, clock, host);
  program.store.configName = "STORE";
  program.printer[1] = 1;
  program.printer[4] = 3;
  program.printer[5] = 60;
  program.printer[6] = 6;
  program.printer.deviceName = "WLSDFKJN.DRY";
  const TimeCard card = FullCard();
  const PrintedCard printed{
      card,
      "ASSOCIATE NUMBER 12     ",
      "ID000012",
      12,
      {"12-09-2012", "12-10-2012", "12-11-2012", "12-12-2012", "12-13-2012", "12-14-2012", "12-15-2012"}};

  for (const int layout : {1, 0}) {
    program.printer[8] = layout;
    program.store.associates.timeDisplay = layout == 1 ? 0 : 1;
    const CardPrintSettings settings = CardPrintSettingsOf(program);
    const double cpu0 = CpuSeconds();
    const double wall0 = WallSeconds();
    for (int i = 0; i < cards; ++i) {
      if (PrintTimeCard(program, printed, settings) != PrintOutcome::kPrinted) {
        std::fprintf(stderr, "a card was not printed\n");
        return 1;
      }
    }
    const double cpu = (CpuSeconds() - cpu0) / cards;
    const double wall = (WallSeconds() - wall0) / cards;

    const double layout0 = CpuSeconds();
    size_t bytes = 0;
    for (int i = 0; i < cards; ++i) {
      for (const std::string& piece : CardPrintout(printed, settings)) bytes += piece.size();
    }
    const double layoutCpu = (CpuSeconds() - layout0) / cards;

    std::printf("%-40s %8.4f ms CPU per card (goal < 1 ms), %8.4f ms wall clock\n",
                layout == 1 ? "wide card to the print file" : "narrow card (decimal) to the print file",
                cpu * 1e3, wall * 1e3);
    std::printf("%-40s %8.4f ms CPU per card, %zu bytes per card\n", "  of which the layout", layoutCpu * 1e3,
                bytes / static_cast<size_t>(cards));
  }
  if (terminal.Presents() != 0) {
    std::fprintf(stderr, "a printer screen came up\n");
    return 1;
  }
  fs::remove_all(folder);
  return 0;
}
