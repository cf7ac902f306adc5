// The readers of outside bytes that are fuzzed, each an entry taking one input. The libFuzzer
// programs (SHIFTLOG_FUZZ=ON) call one entry each; the normal test run feeds the same entries
// every input checked in under tests/fuzz/<target>/, so a crash once found stays mended.
#pragma once

#include <string_view>

namespace shiftlog::fuzz {

void FuzzKeyDecoder(std::string_view input);    // keys from terminal bytes arriving at chosen times
void FuzzHandOver(std::string_view input);      // TILCONFG.DAT and the one-line texts read with it
void FuzzRegisterFile(std::string_view input);  // start-up over damaged register, printer, TIMING.DAT
void FuzzCardFile(std::string_view input);      // card headers and records, directly and via the store
void FuzzDosPath(std::string_view input);       // DOS paths resolved through the drive mapping
void FuzzExporters(std::string_view input);     // TEXT and DATA exports of damaged card files

using FuzzEntry = void (*)(std::string_view input);
struct FuzzTarget {
  const char* name;  // also the folder of its inputs under tests/fuzz/
  FuzzEntry entry;
};
inline constexpr FuzzTarget kFuzzTargets[] = {
    {"key_decoder", FuzzKeyDecoder}, {"hand_over", FuzzHandOver}, {"register_file", FuzzRegisterFile},
    {"card_file", FuzzCardFile},     {"dos_path", FuzzDosPath},   {"exporters", FuzzExporters},
};

// Stops the run (as a crash the fuzzer keeps) when a promise of the code under test is broken.
void FuzzCheck(bool kept, const char* promise);

}  // namespace shiftlog::fuzz
