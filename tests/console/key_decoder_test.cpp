#include "console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace shiftlog {
namespace {

const KeyText kEsc = "\x1b";

KeyText Ext(int scan) {
  return ExtendedKey(scan);
}

// Feeds the bytes split at `split` (the second part 10 ms later) and collects every key once
// all waiting is over.
std::vector<KeyText> Decode(const std::string& bytes, size_t split = std::string::npos, bool utf8 = true) {
  KeyDecoder decoder(utf8);
  if (split == std::string::npos || split >= bytes.size()) {
    decoder.Feed(bytes, 0);
  } else {
    decoder.Feed(bytes.substr(0, split), 0);
    decoder.Feed(bytes.substr(split), 10);
  }
  std::vector<KeyText> keys;
  while (auto key = decoder.Next(10000)) keys.push_back(*key);
  return keys;
}

struct Case {
  const char* terminal;
  std::string bytes;
  KeyText key;
};

// What the terminals send for the keys of the PC keyboard the screens use.
const std::vector<Case>& Table() {
  // clang-format off
  static const std::vector<Case> table = {
      // xterm and its followers (VTE, kitty, alacritty), normal and application cursor mode
      {"xterm", "\x1b[2;5~", Ext(146)}, {"xterm", "\x1b[2~", Ext(82)}, {"xterm", "\x1b[3~", Ext(83)},
      {"xterm", "\x1b[H", Ext(71)}, {"xterm", "\x1b[F", Ext(79)}, {"xterm", "\x1bOH", Ext(71)},
      {"xterm", "\x1bOF", Ext(79)}, {"xterm", "\x1b[A", Ext(72)}, {"xterm", "\x1b[B", Ext(80)},
      {"xterm", "\x1b[C", Ext(77)}, {"xterm", "\x1b[D", Ext(75)}, {"xterm", "\x1bOA", Ext(72)},
      {"xterm", "\x1bOD", Ext(75)}, {"xterm", "\x1b[5~", Ext(73)}, {"xterm", "\x1b[6~", Ext(81)},
      {"xterm", "\x1bOP", Ext(59)}, {"xterm", "\x1bOQ", Ext(60)}, {"xterm", "\x1bOR", Ext(61)},
      {"xterm", "\x1bOS", Ext(62)}, {"xterm", "\x1b[15~", Ext(63)}, {"xterm", "\x1b[17~", Ext(64)},
      {"xterm", "\x1b[18~", Ext(65)}, {"xterm", "\x1b[19~", Ext(66)}, {"xterm", "\x1b[20~", Ext(67)},
      {"xterm", "\x1b[21~", Ext(68)}, {"xterm", "\x1b[23~", Ext(133)}, {"xterm", "\x1b[24~", Ext(134)},
      {"xterm", "\x1b[23;2~", Ext(135)}, {"xterm", "\x1b[24;2~", Ext(136)}, {"xterm", "\x1b[27;5;9~", Ext(148)},
      {"xterm", "\x1b[9;5u", Ext(148)}, {"xterm", "\x1b[1;5C", Ext(116)}, {"xterm", "\x1b[1;3A", Ext(152)},
      {"xterm", "\x1b[1;2P", Ext(84)}, {"xterm", "\x1b[3;5~", Ext(147)}, {"xterm", "\x1b[Z", Ext(15)},
      {"xterm", "\x1bOk", "+"}, {"xterm", "\x1bOM", "\r"}, {"xterm", "\x1bOq", "1"},
      // tmux and screen
      {"tmux", "\x1b[1~", Ext(71)}, {"tmux", "\x1b[4~", Ext(79)}, {"tmux", "\x1b[2;5~", Ext(146)},
      {"tmux", "\x1b[5;5~", Ext(132)}, {"screen", "\x1bOP", Ext(59)}, {"screen", "\x1b[11~", Ext(59)},
      // rxvt
      {"rxvt", "\x1b[2^", Ext(146)}, {"rxvt", "\x1b[2@", Ext(146)}, {"rxvt", "\x1b[7~", Ext(71)},
      {"rxvt", "\x1b[8~", Ext(79)}, {"rxvt", "\x1b[12~", Ext(60)}, {"rxvt", "\x1b[14~", Ext(62)},
      {"rxvt", "\x1b[23$", Ext(135)}, {"rxvt", "\x1b[24$", Ext(136)}, {"rxvt", "\x1b[11^", Ext(94)},
      {"rxvt", "\x1bOa", Ext(141)}, {"rxvt", "\x1b[c", Ext(77)}, {"rxvt", "\x1b\x1b[A", Ext(152)},
      // the Linux console
      {"linux", "\x1b[[A", Ext(59)}, {"linux", "\x1b[[B", Ext(60)}, {"linux", "\x1b[[E", Ext(63)},
      // Esc and a digit, "-" or "=": Alt with that key
      {"alt", "\x1b" "1", Ext(120)}, {"alt", "\x1b" "2", Ext(121)}, {"alt", "\x1b" "9", Ext(128)},
      {"alt", "\x1b" "0", Ext(129)}, {"alt", "\x1b-", Ext(130)}, {"alt", "\x1b=", Ext(131)},
      {"alt", "\x1bx", Ext(45)}, {"alt", "\x1b\x7f", Ext(14)},
      // keys that differ between terminals but not on the PC
      {"keys", "\x7f", "\b"}, {"keys", "\b", "\b"}, {"keys", "\r", "\r"},
      {"keys", "\n", "\r"}, {"keys", "\t", "\t"}, {"keys", "+", "+"},
      // typed text in UTF-8
      {"utf8", "\xc3\xa9", "\x82"}, {"utf8", "\xe2\x95\x94", "\xc9"}, {"utf8", "\xc2\xbd", "\xab"},
      {"utf8", "\xc3\x9f", "\xe1"}, {"utf8", "\xce\xb2", "\xe1"},
  };
  // clang-format on
  return table;
}

TEST(KeyDecoder, TranslatesTheSequencesOfEachTerminal) {
  for (const Case& c : Table()) {
    EXPECT_EQ(Decode(c.bytes), std::vector<KeyText>{c.key})
        << c.terminal << " sequence " << testing::PrintToString(c.bytes);
  }
}

TEST(KeyDecoder, SequencesSplitBetweenReadsAreDecodedTheSame) {
  for (const Case& c : Table()) {
    for (size_t split = 1; split < c.bytes.size(); ++split) {
      EXPECT_EQ(Decode(c.bytes, split), std::vector<KeyText>{c.key})
          << c.terminal << " sequence " << testing::PrintToString(c.bytes) << " split at " << split;
    }
  }
}

TEST(KeyDecoder, KeysRunTogetherInOneReadComeOutInOrder) {
  EXPECT_EQ(Decode("ab\x1b[2;5~c\x1bOP\x7f"
                   "7"),
            (std::vector<KeyText>{"a", "b", Ext(146), "c", Ext(59), "\b", "7"}));
}

TEST(KeyDecoder, UnknownSequencesAreSwallowedWholeAndNeverTyped) {
  // An unknown function key, a terminal's answer to a query, the start of a paste, a
  // cursor report, the keypad centre and a focus report.
  EXPECT_EQ(Decode("\x1b[99~x"), std::vector<KeyText>{"x"});
  EXPECT_EQ(Decode("\x1b[?1;2cx"), std::vector<KeyText>{"x"});
  EXPECT_EQ(Decode("\x1b[200~x"), std::vector<KeyText>{"x"});
  EXPECT_EQ(Decode("\x1b[24;80Rx"), std::vector<KeyText>{"x"});
  EXPECT_EQ(Decode("\x1b[Ex\x1b[Ix"), (std::vector<KeyText>{"x", "x"}));
  EXPECT_EQ(Decode("\x1b[[Zx"), std::vector<KeyText>{"x"});
  // A sequence cut short by the next one loses only itself.
  EXPECT_EQ(Decode("\x1b[2\x1b[A"), std::vector<KeyText>{Ext(72)});
  // Text with no code page 437 form, a stray continuation byte and NUL are dropped.
  EXPECT_EQ(Decode("\xe2\x82\xac"
                   "a\x80"
                   "b" +
                   std::string(1, '\0') + "c"),
            (std::vector<KeyText>{"a", "b", "c"}));
  // A runaway sequence does not swallow the keyboard for ever.
  EXPECT_EQ(Decode("\x1b[" + std::string(60, '1') + "~x").back(), "x");
}

TEST(KeyDecoder, LoneEscIsTheEscKeyOnceItsShortWaitIsOver) {
  KeyDecoder decoder;
  decoder.Feed("\x1b", 1000);
  EXPECT_EQ(decoder.Next(1000), std::nullopt);
  EXPECT_EQ(decoder.MillisecondsToDeadline(1000), KeyDecoder::kEscapeWaitMs);
  EXPECT_EQ(decoder.MillisecondsToDeadline(1030), KeyDecoder::kEscapeWaitMs - 30);
  EXPECT_EQ(decoder.Next(1000 + KeyDecoder::kEscapeWaitMs - 1), std::nullopt);
  EXPECT_EQ(decoder.Next(1000 + KeyDecoder::kEscapeWaitMs), kEsc);
  EXPECT_EQ(decoder.MillisecondsToDeadline(1100), -1);
  EXPECT_EQ(decoder.Next(1100), std::nullopt);
}

TEST(KeyDecoder, EscThenAKeyAfterTheWaitAreTwoKeysButWithinItOne) {
  KeyDecoder late;
  late.Feed("\x1b", 0);
  late.Feed("1", 80);  // Esc and then "1": not Alt+1
  EXPECT_EQ(late.Next(80), kEsc);
  EXPECT_EQ(late.Next(80), "1");

  KeyDecoder soon;
  soon.Feed("\x1b", 0);
  soon.Feed("1", 20);
  EXPECT_EQ(soon.Next(20), Ext(120));
  EXPECT_EQ(soon.Next(20), std::nullopt);
}

TEST(KeyDecoder, TwoEscsAreTwoEscKeysAndEscBeforeOtherTextKeepsBoth) {
  EXPECT_EQ(Decode("\x1b\x1b"), (std::vector<KeyText>{kEsc, kEsc}));
  EXPECT_EQ(Decode("\x1b!"), (std::vector<KeyText>{kEsc, "!"}));
  EXPECT_EQ(Decode("\x1b\r"), (std::vector<KeyText>{kEsc, "\r"}));
}

// A run of Escs (a paste, noise on the line) is that many [ESC] keys; only the last Esc before
// a sequence can be rxvt's Alt. A long run once went as deep into the stack as it was long.
TEST(KeyDecoder, ARunOfEscsIsThatManyEscKeysHoweverLong) {
  EXPECT_EQ(Decode("\x1b\x1b\x1b[A"), (std::vector<KeyText>{kEsc, Ext(152)}));
  EXPECT_EQ(Decode("\x1b\x1b\x1b"), (std::vector<KeyText>{kEsc, kEsc, kEsc}));
  KeyDecoder decoder;
  const std::string read(4096, '\x1b');
  for (int n = 0; n < 64; ++n) decoder.Feed(read, 0);
  size_t escs = 0;
  while (const std::optional<KeyText> key = decoder.Next(KeyDecoder::kEscapeWaitMs)) escs += *key == kEsc;
  EXPECT_EQ(escs, 64u * 4096u);
  // Nor do digits after Esc O wait without end: past the longest sequence they are typed.
  EXPECT_EQ(Decode("\x1bO" + std::string(38, '1') + "23").back(), "3");
}

TEST(KeyDecoder, UnfinishedSequenceWaitsLongerAndIsThenDropped) {
  KeyDecoder decoder;
  decoder.Feed("\x1b[2;", 0);
  EXPECT_EQ(decoder.MillisecondsToDeadline(0), KeyDecoder::kSequenceWaitMs);
  EXPECT_EQ(decoder.Next(KeyDecoder::kEscapeWaitMs + 10), std::nullopt);
  decoder.Feed("5~", KeyDecoder::kEscapeWaitMs + 10);  // a slow link, but still in time
  EXPECT_EQ(decoder.Next(KeyDecoder::kEscapeWaitMs + 10), Ext(146));

  decoder.Feed("\x1b[", 1000);
  EXPECT_EQ(decoder.Next(1000 + KeyDecoder::kSequenceWaitMs), std::nullopt);
  EXPECT_EQ(decoder.MillisecondsToDeadline(1000 + KeyDecoder::kSequenceWaitMs), -1);
  decoder.Feed("A", 2000);  // the broken start has gone; this is just the letter
  EXPECT_EQ(decoder.Next(2000), "A");

  decoder.Feed("\xe2\x95", 3000);  // half a box character
  EXPECT_EQ(decoder.Next(3000 + KeyDecoder::kSequenceWaitMs), std::nullopt);
  decoder.Feed("z", 4000);
  EXPECT_EQ(decoder.Next(4000), "z");
}

TEST(KeyDecoder, Latin1TextWhenTheLocaleIsNotUtf8) {
  EXPECT_EQ(Decode("\xe9\xbd", std::string::npos, false), (std::vector<KeyText>{"\x82", "\xab"}));
  EXPECT_EQ(Decode("\xa4", std::string::npos, false), std::vector<KeyText>{});  // currency sign: none
}

TEST(KeyDecoder, AddedSequencesComeBeforeTheTablesAndWaitForTheirRest) {
  KeyDecoder decoder;
  decoder.AddSequence("\x1b[25~", Ext(146));
  decoder.AddSequence("\x1b[2~", Ext(83));
  decoder.Feed("\x1b[2", 0);
  decoder.Feed("5~\x1b[2~", 5);
  EXPECT_EQ(decoder.Next(5), Ext(146));
  EXPECT_EQ(decoder.Next(5), Ext(83));
  EXPECT_EQ(decoder.Next(5), std::nullopt);
}

}  // namespace
}  // namespace shiftlog
