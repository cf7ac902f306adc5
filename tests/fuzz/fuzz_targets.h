// The readers of outside bytes that are fuzzed, each an entry taking one input. The libFuzzer
// programs (built with SHIFTLOG_FUZZ=ON) call one entry each; the normal test run feeds every
// checked-in input under tests/fuzz/<target>/ to the same entries, so a crash once found
// stays mended.
#pragma once

#include <string_view>

namespace shiftlog::fuzz {

using FuzzEntry = void (*)(std::string_view input);

struct FuzzTarget {
  const char* name;  // also the folder of its inputs under tests/fuzz/
  FuzzEntry entry;
};

// Keys from terminal bytes arriving at chosen times (console/key_decoder).
void FuzzKeyDecoder(std::string_view input);
// TILCONFG.DAT as the cash-register program leaves it, and the one-line texts read with it.
void FuzzHandOver(std::string_view input);
// Start-up over damaged register data, printer record and TIMING.DAT files.
void FuzzRegisterFile(std::string_view input);
// Card file headers and records, decoded directly and through the store's reads and writes.
void FuzzCardFile(std::string_view input);
// DOS paths resolved through the drive mapping.
void FuzzDosPath(std::string_view input);
// The TEXT and DATA exports of damaged card files, by the time clock and the command line.
void FuzzExporters(std::string_view input);

// All of them.
inline constexpr FuzzTarget kFuzzTargets[] = {
    {"key_decoder", FuzzKeyDecoder}, {"hand_over", FuzzHandOver}, {"register_file", FuzzRegisterFile},
    {"card_file", FuzzCardFile},     {"dos_path", FuzzDosPath},   {"exporters", FuzzExporters},
};

// Stops the run (as a crash the fuzzer keeps) when a promise of the code under test is broken.
void FuzzCheck(bool kept, const char* promise);

}  // namespace shiftlog::fuzz
