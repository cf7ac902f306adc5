// make_fuzz_seeds FOLDER: writes the seed inputs of every fuzz target, in the form its entry
// reads (see the *_fuzz.cpp files), as FOLDER/<target>/seed-<n>. The seeds are checked in under
// tests/fuzz/; run `build/tests/fuzz/make_fuzz_seeds tests/fuzz` when an entry's input changes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "store/card_record.h"

namespace {

using shiftlog::CardHeader, shiftlog::EncodeHeader, shiftlog::NewCardRecord;
using Seeds = std::vector<std::string>;

std::string Bytes(std::initializer_list<int> values) {
  return std::string(values.begin(), values.end());
}

// A read of the terminal: the milliseconds since the last one, then its bytes.
std::string Read(int gap, const std::string& s) {
  return Bytes({gap, static_cast<int>(s.size())}) + s;
}

// A register file step: bytes at (record, offset) of file target (0 the local copy, 0x80 the printer's).
std::string Patch(int record, int offset, const std::string& bytes, int target = 0) {
  return Bytes({target, record / 256, record % 256, offset, static_cast<int>(bytes.size())}) + bytes;
}

Seeds CardFileSeeds() {  // the slot, the day, the punch slot, the flags, the file
  const std::string header = EncodeHeader(CardHeader{1, "STORE 0042  ", 1});
  std::string card = NewCardRecord("ANNA BAKER", "A-1001");
  card.replace(32 + 5 * 48, 15, "08:0012:0013:00");  // the last day: three punches
  card.replace(312, 5, "08:30");
  card[592] = 7;
  card.replace(648, 12, "LATE BUS    ");
  std::string full = card;
  for (int slot = 1; slot <= 8; ++slot)
    full.replace(32 + 5 * (47 + slot), 5, "1" + std::to_string(slot) + ":00");
  return {
      Bytes({0, 6, 4, 4}) + header + card,                    // slot 1, punch into a filled day
      Bytes({1, 6, 1, 0}) + header + card + full,             // slot 2, the day full: refused
      Bytes({2, 0, 8, 5}) + header.substr(0, 14),             // a cut header, cards past the end
      Bytes({0, 3, 2, 7}),                                    // an empty file
      Bytes({0, 6, 1, 4}) + header + std::string(800, '\0'),  // a card of zero bytes
  };
}

Seeds ExportersSeeds() {  // the slot, the flags (1 all cards, 2 printer setting 8 = 1), the file
  const std::string header = EncodeHeader(CardHeader{1, "A,B\"C   ", 0});
  std::string card = NewCardRecord("SMITH, \"MARY\"", "12,34");
  card.replace(32 + 5 * 8, 10, "08:4513:30");
  card.replace(312 + 5 * 8, 5, "08:30");
  card[592 + 8] = 12;
  card.replace(648 + 12, 12, "SICK,\r\nFLU\"");
  std::string files = header + card;
  for (int slot = 2; slot <= 56; ++slot) files += slot == 17 ? card : NewCardRecord("", "");
  return {
      Bytes({0, 3}) + files,                                   // every card with data, setting 8 = 1
      Bytes({16, 0}) + files,                                  // card 17 alone, 4-digit totals
      Bytes({1, 1}) + header + card + std::string(300, '\0'),  // a file cut inside card 2
      Bytes({0, 1}) + header.substr(0, 5),                     // a cut header, no cards at all
      Bytes({5, 2}) + header + std::string(5 * 800, '\xff'),   // cards of 0xFF bytes
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
    return 2;
  }
  const std::pair<const char*, Seeds> all[] = {
      {"key_decoder",
       {
           // UTF-8, xterm: Ctrl+Insert, the arrows, a lone Esc that settles, typed text.
           Bytes({1}) + Read(1, "\x1b[2;5~") + Read(1, "\x1b[D\x1b[C") + Read(3, "\x1b") + Read(61, "") +
               Read(1, "12\xc3\xa9\r"),
           // Latin-1, the Linux console's F1 to F5 and rxvt's Alt with an arrow, split across reads.
           Bytes({0}) + Read(1, "\x1b[[A\x1b") + Read(5, "\x1b[") + Read(5, "A") + Read(1, "\xe9\x7f"),
           // A sequence that never finishes, Alt+1 (Esc 1), F8 from SS3 and CSI forms, screen's keys.
           Bytes({1}) + Read(1, "\x1b[1;5") + Read(250, "") + Read(1, "\x1b\x31") +
               Read(1, "\x1b[19~\x1bOQ") + Read(1, "\x1b[4~\x1b[1~"),
           // A key string from a terminal description, and modifyOtherKeys / CSI u.
           Bytes({3, 3, 0x1b, 'O', 'w', 146}) + Read(1, "\x1bOw") + Read(1, "\x1b[27;5;9~\x1b[9;3u"),
       }},
      {"hand_over",
       {"\"STORE\"\r\n", "STORE1,2\r\n", "  \"A,B\" , C\r\n\x1a", "", "0.25 sec\r\n", "FILE:", "\"NO END"}},
      {"register_file",
       {
           Bytes({0}),  // sound files, no shared copy
           Bytes({1}),  // the shared copy in C:\DATA\ is read
           Bytes({0}) + Patch(11, 0, std::string(24, '\0')) + Patch(280, 0, "\xff\xff\xff\x7f") +
               Patch(456, 56, "\x02\x41\x00\x42"),  // a zero name, a huge PIN, odd settings bytes
           Bytes({1}) + Patch(8, 0, "..\\..\\NOWHERE\\") + Bytes({0x42, 0, 40}),  // a cut shared copy
           Bytes({14}) + Bytes({3, 6}) + "-2.5e9",  // only the local register file, a strange pause
           Bytes({0}) + Patch(20, 42, "\x09\x00\x00\x00\x00\x00\x00\x00\x05\x01\x02\x63\x09") +
               Patch(465, 25, "FILE:", 0x80),  // colours, line spacing, paper, print file overrides
       }},
      {"card_file", CardFileSeeds()},
      {"dos_path",
       {Bytes({1}) + "F:\\STORE\\20121215.CLK", Bytes({1}) + "C:\\DATA\\SHOP1\\", Bytes({1}) + "\\TIMING.DAT",
        Bytes({0}) + "..\\..\\X", Bytes({1}) + "G:\\X", Bytes({1}) + "c:..\\..\\etc",
        Bytes({1}) + "data\\Shop1.til", Bytes({1}) + "F:/store/send/../../../x"}},
      {"exporters", ExportersSeeds()}};
  for (const auto& [target, seeds] : all) {
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / target;
    std::filesystem::create_directories(folder);
    for (size_t n = 0; n < seeds.size(); ++n) {
      std::ofstream out(folder / ("seed-" + std::to_string(n + 1)), std::ios::binary);
      if (!out.write(seeds[n].data(), static_cast<std::streamsize>(seeds[n].size()))) return 1;
    }
  }
  return 0;
}
