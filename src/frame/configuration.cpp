#include "frame/configuration.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include "frame/run_time_error_report.h"
#include "host/dos_paths.h"
#include "store/associate_records.h"
#include "store/data_files.h"
#include "store/record_file.h"
#include "store/register_data.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr int kDisplayRecord = 20;

int Byte(const std::string& record, int offset) {
  return static_cast<unsigned char>(record[offset]);
}
int Flag(const std::string& record, int offset) {
  return Byte(record, offset) != 0 ? 1 : 0;
}

// Only the first line of TIMING.DAT can hold the number; a few bytes of it are enough.
constexpr std::streamsize kTimingBytes = 256;

std::optional<double> ReadPrintPause(Program& program) {
  const std::optional<std::filesystem::path> path =
      ResolveDosPath(program.host, program.frame.currentDrive + "\\TIMING.DAT");
  if (!path) return std::nullopt;
  std::ifstream in(*path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<size_t>(kTimingBytes), '\0');
  in.read(text.data(), kTimingBytes);
  text.resize(static_cast<size_t>(in.gcount()));
  return PrintPauseOf(text);
}

}  // namespace

double PrintPauseOf(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  const size_t end = text.find_first_of(std::string_view(" ,\t\r\n\x1a", 6), start);
  const double pause = NumericValue(text.substr(start, end == std::string_view::npos ? end : end - start));
  // A pause is never negative, and one longer than a day would only hang the printing.
  return pause > 0 ? std::min(pause, 86400.0) : 0;
}

std::string PrinterDeviceOf(std::string_view portField) {
  const std::string name = TrimBlanks(portField);
  if (name.empty() || name.find_first_of(std::string_view(" \0", 2)) != std::string::npos) return "LPT1:";
  if (name == "FILE:") return kPrintFileName;
  return name;
}

void ApplyPalette(Console& console, int colourChoice, int displayModeByte) {
  static constexpr int kPaletteColourOf[8] = {1, 2, 3, 4, 5, 6, 8, 0};
  if (colourChoice < 0 || colourChoice > 7) colourChoice = 0;
  const int chosen = kPaletteColourOf[colourChoice];
  Screen& screen = console.screen;
  for (int attribute = 0; attribute <= 7; ++attribute) screen.SetPalette(attribute, attribute);
  // The blue of the screens becomes the chosen colour; the chosen attribute takes the blue.
  screen.SetPalette(1, chosen);
  if (chosen != 8) screen.SetPalette(chosen, 1);

  console.displayMode = displayModeByte > 2 ? kColourDisplay : displayModeByte;
  if (console.displayMode == kMonochrome) console.monoForeground = 7;
  if (console.displayMode == 2) {
    console.displayMode = kMonochrome;
    console.monoForeground = 15;
    screen.SetPalette(7, 63);
  }
}

Status LoadPrinterOverrides(Program& program) {
  std::string record;
  const Status read = ReadPrinterOverrideRecord(program.store, record, true);
  if (!read) return read;
  ApplyPrinterOverrideRecord(program.printer, record);
  return Status::Ok();
}

void LoadConfiguration(Program& program) {
  FrameState& frame = program.frame;
  PrinterSettings& printer = program.printer;
  Console& console = program.console;
  // A failing read until the palette is in place only sets the error flag; the defaults stay.
  auto trapped = [&frame](Status status) {
    if (!status) frame.errorFlag = 1;
    return status.ok();
  };

  if (std::optional<double> pause = ReadPrintPause(program)) {
    printer.printPause = *pause;
  } else {
    frame.errorFlag = 1;
  }

  RecordFile local;
  const std::optional<std::filesystem::path> localPath =
      ResolveDosPath(program.host, program.store.configName + std::string(kRegisterExtension));
  const Status localOpen =
      localPath ? local.Open(*localPath, kRegisterRecordLength, false) : Status::Failed(kBadFileName);
  trapped(localOpen);

  std::string record(kRegisterRecordLength, '\0');
  int displayModeByte = console.displayMode;
  if (local.IsOpen() && trapped(local.Read(kDataPathRecord, record)))
    program.store.dataPath = DataPathOf(record);
  if (local.IsOpen() && trapped(local.Read(kPrinterSettingsRecord, record))) {
    ApplyPrinterSettingsRecord(printer, record);
    displayModeByte = Byte(record, 19);
  }
  std::string display(kRegisterRecordLength, '\0');
  if (local.IsOpen() && trapped(local.Read(kDisplayRecord, display))) printer[24] = Flag(display, 55);
  ApplyPalette(console, Byte(display, 42), displayModeByte);
  if (displayModeByte == 2) frame.errorFlag = 0;
  // From here on a failure reaches the run-time error report.

  const int lineSpacing = Byte(display, 54);
  printer[23] = (lineSpacing == 0 || lineSpacing == 32 || lineSpacing >= 100) ? 50 : lineSpacing;
  printer.deviceName = PrinterDeviceOf(std::string_view(display).substr(57, 23));
  if (printer.deviceName != kPrintFileName || printer[1] == 0) printer.printPause = 0;
  if (printer[2] == 1 && printer[24] == 1) printer.extraLineEnd = "\n";
  ReportIfFailed(program, LoadPrinterOverrides(program));

  // The rest comes from the shared copy in the data path, when there is one. Should it fail to
  // open and the user go on, the local copy serves instead.
  DataFile shared;
  const RecordFile* registerFile = &local;
  if (!program.store.dataPath.empty() &&
      ReportIfFailed(program,
                     OpenDataFile(program.store, shared, kRegisterRecordLength, FileMode::kRead, kRegisterExtension, ""))) {
    local.Close();
    registerFile = &shared.records;
  }
  if (!registerFile->IsOpen()) {
    // The local copy could not be opened either: say why once; going on keeps the defaults.
    ReportIfFailed(program, localOpen.ok() ? Status::Failed(kBadFileNumber) : localOpen);
    return;
  }

  if (ReportIfFailed(program, registerFile->Read(kDisplayRecord, display))) {
    printer[19] = Byte(display, 50) > 1 ? 0 : Byte(display, 50);
    for (int n = 20; n <= 22; ++n) printer[n] = Flag(display, n + 31);
    const int paper = Byte(display, 56) > 3 ? 0 : Byte(display, 56);
    printer[25] = paper & 1;
    printer[26] = (paper >> 1) & 1;
  }
  ReportIfFailed(program, LoadAssociateList(program.store, *registerFile));
  if (registerFile == &shared.records) {
    ReportIfFailed(program, CloseDataFile(program.store, shared));
  } else {
    ReportIfFailed(program, local.Close());
  }
}

}  // namespace shiftlog
