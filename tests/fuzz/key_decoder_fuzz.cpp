// Terminal bytes in pieces at chosen moments: whatever arrives, every key given is a PC key,
// nothing waits longer than its deadline, and once the line is quiet everything is settled.
#include <string>

#include "console/key_decoder.h"
#include "fuzz_store.h"

namespace shiftlog::fuzz {

static void Drain(KeyDecoder& decoder, std::int64_t now) {
  while (const std::optional<KeyText> key = decoder.Next(now))
    FuzzCheck(key->size() == 1 || (key->size() == 2 && (*key)[0] == '\0'),
              "a key is one character or 0 + scan code");
  const int wait = decoder.MillisecondsToDeadline(now);
  FuzzCheck(wait >= -1 && wait <= KeyDecoder::kSequenceWaitMs, "a wait never exceeds the sequence deadline");
}

void FuzzKeyDecoder(std::string_view bytes) {
  FuzzInput input{bytes};
  const std::uint8_t setup = input.Byte();
  KeyDecoder decoder((setup & 1) != 0);
  for (int n = (setup >> 1) & 3; n > 0; --n) {  // key strings from a terminal description
    const std::string sequence(input.Piece(8));
    const std::uint8_t scan = input.Byte();
    decoder.AddSequence(sequence, scan < 128 ? KeyText(1, static_cast<char>(scan)) : ExtendedKey(scan));
  }
  std::int64_t now = 1000;
  while (!input.rest.empty()) {
    const std::uint8_t gap = input.Byte();
    if (gap == 255) {  // a burst (a paste, line noise): a pattern repeated up to 64 kB, read 4 kB at once
      const size_t count = static_cast<size_t>(input.Number16());
      const std::string_view pattern = input.Piece(8);
      std::string read;
      for (size_t sent = 0; !pattern.empty() && sent < count; sent += read.size()) {
        for (read.clear(); read.size() < 4096 && sent + read.size() < count;) read += pattern;
        decoder.Feed(read, now);
        Drain(decoder, now);
      }
    } else {  // a read 0-199 ms after the last one, or after up to 1.1 s of quiet
      now += gap < 200 ? gap : (gap - 199) * 20;
      decoder.Feed(input.Piece(32), now);
      if (gap & 1) Drain(decoder, now);
    }
  }
  Drain(decoder, now);
  now += KeyDecoder::kSequenceWaitMs + 1;
  Drain(decoder, now);
  FuzzCheck(decoder.MillisecondsToDeadline(now) == -1, "a quiet line leaves nothing waiting");
}

}  // namespace shiftlog::fuzz
