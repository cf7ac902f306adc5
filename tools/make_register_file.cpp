// make_register_file: writes a register data file (configuration name + ".TIL") for a demo
// store or a test, laid out as the cash-register program lays it out.
//
//   make_register_file FILE [options]
//     --associate SLOT,NAME,PIN,ID[,S]   an associate in slot 1-56; S marks a payroll supervisor
//     --store-id TEXT                    the store ID (12 characters)
//     --data-path DOSPATH                the shared data path, e.g. F:\STORE\ (empty: none)
//     --display colour|mono|bright       the display mode (default colour)
//     --colour-choice N                  the colour choice 0-7
//     --printer-port NAME                the printer port, e.g. LPT1: or FILE:
//     --printer-setting N=V              printer setting 1-10
//     --require-supervisor               a supervisor unlocks the clock first
//     --week-ends-sunday                 the card week ends on Sunday (default Saturday)
//     --decimal-hours                    worked time in decimal hours
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "store/register_file_builder.h"

namespace {

using shiftlog::RegisterFileBuilder;

[[noreturn]] void Usage(const char* why) {
  std::fprintf(
      stderr,
      "make_register_file: %s\nusage: make_register_file FILE [--associate SLOT,NAME,PIN,ID[,S]]...\n", why);
  std::exit(2);
}

std::vector<std::string> SplitCommas(std::string_view text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    parts.emplace_back(
        text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

int Number(const std::string& text, long low, long high) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < low || value > high)
    Usage(("not a number in range: " + text).c_str());
  return static_cast<int>(value);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) Usage("no file named");
  RegisterFileBuilder builder;
  builder.SetDisplayMode(1);
  builder.SetPrinterPort("LPT1:");
  try {
    for (int i = 2; i < argc; ++i) {
      const std::string option = argv[i];
      auto value = [&]() -> std::string {
        if (i + 1 >= argc) Usage(("no value after " + option).c_str());
        return argv[++i];
      };
      if (option == "--associate") {
        const std::vector<std::string> parts = SplitCommas(value());
        if (parts.size() < 4 || parts.size() > 5) Usage("--associate wants SLOT,NAME,PIN,ID[,S]");
        builder.SetAssociate(Number(parts[0], 1, 56), parts[1], Number(parts[2], 0, 100000000), parts[3],
                             parts.size() == 5 && (parts[4] == "S" || parts[4] == "s"));
      } else if (option == "--store-id") {
        builder.SetStoreId(value());
      } else if (option == "--data-path") {
        builder.SetDataPath(value());
      } else if (option == "--display") {
        const std::string mode = value();
        if (mode != "mono" && mode != "bright" && mode != "colour")
          Usage("--display wants colour, mono or bright");
        builder.SetDisplayMode(mode == "mono" ? 0 : mode == "bright" ? 2 : 1);
      } else if (option == "--colour-choice") {
        builder.SetColourChoice(Number(value(), 0, 7));
      } else if (option == "--printer-port") {
        builder.SetPrinterPort(value());
      } else if (option == "--printer-setting") {
        const std::string setting = value();
        const size_t equals = setting.find('=');
        if (equals == std::string::npos) Usage("--printer-setting wants N=V");
        builder.SetPrinterSetting(Number(setting.substr(0, equals), 1, 10),
                                  Number(setting.substr(equals + 1), 0, 255));
      } else if (option == "--require-supervisor") {
        builder.SetRequireSupervisor(1);
      } else if (option == "--week-ends-sunday") {
        builder.SetWeekEnd(1);
      } else if (option == "--decimal-hours") {
        builder.SetTimeDisplay(1);
      } else {
        Usage(("unknown option " + option).c_str());
      }
    }
  } catch (const std::exception& failure) {
    Usage(failure.what());
  }
  const shiftlog::Status written = builder.WriteTo(argv[1]);
  if (!written) {
    std::fprintf(stderr, "make_register_file: cannot write %s (error %d)\n", argv[1], written.error);
    return 1;
  }
  return 0;
}
