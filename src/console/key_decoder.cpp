#include "console/key_decoder.h"

#include <array>
#include <vector>

#include "text/cp437.h"

namespace shiftlog {
namespace {

constexpr char kEsc = '\x1b';

// The longest CSI or SS3 sequence read as a key, in bytes from the Esc: what runs on past it is
// a broken sequence and no key.
constexpr size_t kLongest = 40;

// The keys that come with modifiers, and their PC scan codes plain, with Shift, with Ctrl
// and with Alt.
enum BaseKey { kHome, kUp, kPageUp, kLeft, kRight, kEnd, kDown, kPageDown, kInsert, kDelete, kF1 };
struct ScanCodes {
  int plain, shift, ctrl, alt;
};
constexpr std::array<ScanCodes, 22> kScanCodes = {{
    {71, 71, 119, 151},  // Home
    {72, 72, 141, 152},  // Up
    {73, 73, 132, 153},  // Page Up
    {75, 75, 115, 155},  // Left
    {77, 77, 116, 157},  // Right
    {79, 79, 117, 159},  // End
    {80, 80, 145, 160},  // Down
    {81, 81, 118, 161},  // Page Down
    {82, 82, 146, 162},  // Insert
    {83, 83, 147, 163},  // Delete
    {59, 84, 94, 104},   // F1
    {60, 85, 95, 105},    {61, 86, 96, 106},  {62, 87, 97, 107},  {63, 88, 98, 108},  {64, 89, 99, 109},
    {65, 90, 100, 110},   {66, 91, 101, 111}, {67, 92, 102, 112}, {68, 93, 103, 113},  // F10
    {133, 135, 137, 139},                                                              // F11
    {134, 136, 138, 140},                                                              // F12
}};

// Scan codes of Alt with the letters a to z.
constexpr std::array<int, 26> kAltLetters = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                             49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

constexpr int kAltBackspace = 14;
constexpr int kShiftTab = 15;
constexpr int kAltTab = 165;
constexpr int kCtrlTab = 148;

KeyText Char(int c) {
  return KeyText(1, static_cast<char>(c));
}

// xterm's modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl, 8 Meta). The PC keyboard has
// one code per key and modifier; Alt wins over Ctrl, Ctrl over Shift.
KeyText Modified(int base, int modifier) {
  const int bits = modifier > 1 ? modifier - 1 : 0;
  const ScanCodes& codes = kScanCodes[base];
  if (bits & (2 | 8)) return ExtendedKey(codes.alt);
  if (bits & 4) return ExtendedKey(codes.ctrl);
  if (bits & 1) return ExtendedKey(codes.shift);
  return ExtendedKey(codes.plain);
}

// The Alt form of a key that came after an extra Esc (rxvt's way of sending Alt).
KeyText WithAlt(const KeyText& key) {
  if (key.size() != 2 || key[0] != '\0') return key;
  const int scan = static_cast<unsigned char>(key[1]);
  for (const ScanCodes& codes : kScanCodes) {
    if (codes.plain == scan || codes.shift == scan || codes.ctrl == scan) return ExtendedKey(codes.alt);
  }
  return key;
}

std::optional<KeyText> AltOf(int c) {
  if (c >= '1' && c <= '9') return ExtendedKey(120 + (c - '1'));
  if (c == '0') return ExtendedKey(129);
  if (c == '-') return ExtendedKey(130);
  if (c == '=') return ExtendedKey(131);
  if (c >= 'a' && c <= 'z') return ExtendedKey(kAltLetters[c - 'a']);
  if (c >= 'A' && c <= 'Z') return ExtendedKey(kAltLetters[c - 'A']);
  if (c == 127 || c == 8) return ExtendedKey(kAltBackspace);
  return std::nullopt;
}

// A key given by its character and modifiers (xterm's modifyOtherKeys, the CSI u form).
std::optional<KeyText> OtherKey(int code, int modifier) {
  const int bits = modifier > 1 ? modifier - 1 : 0;
  const bool alt = (bits & (2 | 8)) != 0, ctrl = (bits & 4) != 0, shift = (bits & 1) != 0;
  switch (code) {
    case 9:
      if (alt) return ExtendedKey(kAltTab);
      if (ctrl) return ExtendedKey(kCtrlTab);
      if (shift) return ExtendedKey(kShiftTab);
      return Char('\t');
    case 13:
      return Char('\r');
    case 27:
      return Char(kEsc);
    case 8:
    case 127:
      return alt ? ExtendedKey(kAltBackspace) : Char('\b');
    default:
      break;
  }
  if (code >= 32 && code < 127) {
    if (alt) {
      if (auto key = AltOf(code)) return key;
    }
    if (ctrl && ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z'))) return Char(code & 0x1F);
    return Char(code);
  }
  if (code < 0) return std::nullopt;
  if (auto byte = UnicodeToCp437(static_cast<char32_t>(code))) return Char(*byte);
  return std::nullopt;
}

// The numbers of a parameter string "1;5", -1 for an empty one; sub-parameters after ':'
// are dropped.
std::vector<int> Parameters(std::string_view text) {
  std::vector<int> values{-1};
  bool inSub = false;
  for (char c : text) {
    if (c == ';') {
      values.push_back(-1);
      inSub = false;
    } else if (c == ':') {
      inSub = true;
    } else if (c >= '0' && c <= '9' && !inSub) {
      int& v = values.back();
      if (v < 0) v = 0;
      if (v < 100000) v = v * 10 + (c - '0');
    }
  }
  return values;
}

int At(const std::vector<int>& values, size_t i, int absent) {
  return i < values.size() && values[i] >= 0 ? values[i] : absent;
}

// Keys of the form CSI n ~ (and rxvt's CSI n ^, $, @), by n.
int TildeKey(int n) {
  static constexpr std::array<int, 25> kKeys = {
      -1,      kHome,   kInsert, kDelete, kEnd,    kPageUp,  kPageDown, kHome, kEnd,
      -1,      -1,      kF1,     kF1 + 1, kF1 + 2, kF1 + 3,  kF1 + 4,   -1,    kF1 + 5,
      kF1 + 6, kF1 + 7, kF1 + 8, kF1 + 9, -1,      kF1 + 10, kF1 + 11};
  return n >= 0 && n < static_cast<int>(kKeys.size()) ? kKeys[n] : -1;
}

// Keys of the form CSI 1;m X and SS3 X.
int LetterKey(char c) {
  static constexpr std::string_view kLetters = "ABCDHFPQRS";
  static constexpr std::array<int, 10> kKeys = {kUp,  kDown, kRight,  kLeft,   kHome,
                                                kEnd, kF1,   kF1 + 1, kF1 + 2, kF1 + 3};
  const size_t at = kLetters.find(c);
  return at == std::string_view::npos ? -1 : kKeys[at];
}

bool IsAllEscapes(std::string_view bytes) {
  return bytes.find_first_not_of(kEsc) == std::string_view::npos;
}

}  // namespace

void KeyDecoder::AddSequence(const std::string& sequence, const KeyText& key) {
  if (!sequence.empty()) extra_[sequence] = key;
}

void KeyDecoder::Feed(std::string_view bytes, std::int64_t nowMs) {
  // Whatever waited too long is settled first: an Esc typed a while ago followed by "1" now
  // is [ESC] and then "1", not Alt+1.
  Expire(nowMs);
  const size_t before = pending_.size();
  pending_.append(bytes);
  const size_t left = pending_.size();
  Decode();
  // The unfinished rest started arriving now unless it is what already waited.
  if (left - pending_.size() >= before) pendingSince_ = nowMs;
}

std::optional<KeyText> KeyDecoder::Next(std::int64_t nowMs) {
  Expire(nowMs);
  if (keys_.empty()) return std::nullopt;
  KeyText key = std::move(keys_.front());
  keys_.pop_front();
  return key;
}

std::int64_t KeyDecoder::Deadline() const {
  return pendingSince_ + (IsAllEscapes(pending_) ? kEscapeWaitMs : kSequenceWaitMs);
}

int KeyDecoder::MillisecondsToDeadline(std::int64_t nowMs) const {
  if (pending_.empty()) return -1;
  const std::int64_t left = Deadline() - nowMs;
  return left > 0 ? static_cast<int>(left) : 0;
}

void KeyDecoder::Decode() {
  size_t used = 0;
  while (used < pending_.size()) {
    const Step step = DecodeOne(std::string_view(pending_).substr(used));
    if (step.length == 0) break;
    if (step.key) keys_.push_back(*step.key);
    used += step.length;
  }
  pending_.erase(0, used);
}

void KeyDecoder::Expire(std::int64_t nowMs) {
  if (pending_.empty() || nowMs < Deadline()) return;
  // Escs on their own are [ESC] keys; an Esc that began a sequence which never finished, or
  // the start of a broken UTF-8 character, is dropped rather than typed.
  while (!pending_.empty()) {
    if (pending_[0] == kEsc && (pending_.size() == 1 || pending_[1] == kEsc)) {
      keys_.push_back(Char(kEsc));
      pending_.erase(0, 1);
    } else {
      pending_.clear();
    }
  }
}

KeyDecoder::Step KeyDecoder::DecodeOne(std::string_view bytes) const {
  if (!extra_.empty()) {
    bool prefixOfOne = false;
    const std::string* longest = nullptr;
    for (const auto& [sequence, key] : extra_) {
      if (bytes.substr(0, sequence.size()) == sequence) {
        if (!longest || sequence.size() > longest->size()) longest = &sequence;
      } else if (sequence.size() > bytes.size() &&
                 std::string_view(sequence).substr(0, bytes.size()) == bytes) {
        prefixOfOne = true;
      }
    }
    if (longest) return Step{longest->size(), extra_.at(*longest)};
    if (prefixOfOne) return Step{};
  }
  if (bytes[0] == kEsc) return DecodeEscape(bytes);
  return DecodeText(bytes);
}

KeyDecoder::Step KeyDecoder::DecodeEscape(std::string_view bytes) const {
  if (bytes.size() < 2) return Step{};
  const unsigned char next = static_cast<unsigned char>(bytes[1]);
  if (next == '[') return DecodeCsi(bytes);
  if (next == 'O') return DecodeSs3(bytes);
  if (next == kEsc) {
    // rxvt sends Alt with a key as an extra Esc before the key's sequence. Only the last Esc
    // of a run can be that extra one: the ones before it are [ESC] keys, and looking into the
    // run Esc by Esc would go as deep as the run is long (a paste of Escs overflowed the stack).
    if (bytes.size() >= 3 && bytes[2] == kEsc) return Step{1, Char(kEsc)};
    const Step inner = DecodeOne(bytes.substr(1));
    if (inner.length == 0) return Step{};
    if (inner.length >= 2)
      return Step{1 + inner.length, inner.key ? std::optional(WithAlt(*inner.key)) : std::nullopt};
    return Step{1, Char(kEsc)};
  }
  if (auto alt = AltOf(next)) return Step{2, *alt};
  // Esc and some other key in one read: the [ESC] key, then that key on its own.
  return Step{1, Char(kEsc)};
}

KeyDecoder::Step KeyDecoder::DecodeCsi(std::string_view bytes) const {
  if (bytes.size() < 3) return Step{};
  if (bytes[2] == '[') {  // the Linux console's F1 to F5: Esc [ [ A to E
    if (bytes.size() < 4) return Step{};
    const char c = bytes[3];
    if (c >= 'A' && c <= 'E') return Step{4, Modified(kF1 + (c - 'A'), 1)};
    return Step{4, std::nullopt};
  }
  bool intermediate = false;
  size_t finalAt = 0;
  for (size_t i = 2; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (i >= kLongest) return Step{i, std::nullopt};
    if (c >= 0x30 && c <= 0x3F && !intermediate) continue;
    if (c == '$' && !intermediate) {  // rxvt: Shift with the key
      finalAt = i;
      break;
    }
    if (c >= 0x20 && c <= 0x2F) {
      intermediate = true;
      continue;
    }
    if (c >= 0x40 && c <= 0x7E) {
      finalAt = i;
      break;
    }
    // A control byte (another Esc, say) cuts the sequence short: drop what came before it.
    return Step{i, std::nullopt};
  }
  if (finalAt == 0) return Step{};
  const Step unknown{finalAt + 1, std::nullopt};
  const std::string_view parameterText = bytes.substr(2, finalAt - 2);
  if (intermediate) return unknown;
  if (!parameterText.empty() && (parameterText[0] < '0' || parameterText[0] > ';')) return unknown;
  const std::vector<int> p = Parameters(parameterText);
  const char final = bytes[finalAt];
  const size_t length = finalAt + 1;

  switch (final) {
    case '~':
    case '^':
    case '$':
    case '@': {
      const int n = At(p, 0, -1);
      if (final == '~' && n == 27) {  // xterm's modifyOtherKeys: CSI 27 ; m ; code ~
        return Step{length, OtherKey(At(p, 2, -1), At(p, 1, 1))};
      }
      const int base = TildeKey(n);
      if (base < 0) return unknown;
      const int modifier = final == '~' ? At(p, 1, 1) : final == '^' ? 5 : final == '$' ? 2 : 6;
      return Step{length, Modified(base, modifier)};
    }
    case 'Z':
      return Step{length, ExtendedKey(kShiftTab)};
    case 'a':
    case 'b':
    case 'c':
    case 'd': {  // rxvt: Shift with an arrow key
      static constexpr std::array<int, 4> kArrows = {kUp, kDown, kRight, kLeft};
      return Step{length, Modified(kArrows[final - 'a'], 2)};
    }
    case 'u':
      return Step{length, OtherKey(At(p, 0, -1), At(p, 1, 1))};
    default:
      break;
  }
  const int base = LetterKey(final);
  // A key here has no first parameter or 1; anything else (a cursor report) is no key.
  if (base >= 0 && At(p, 0, 1) == 1) return Step{length, Modified(base, At(p, 1, 1))};
  return unknown;
}

KeyDecoder::Step KeyDecoder::DecodeSs3(std::string_view bytes) const {
  // As long as a CSI sequence may be: digits past that are typed text after a broken sequence,
  // not a key's modifier, and waiting on them would keep every later key back.
  size_t i = 2;
  while (i < bytes.size() && i < kLongest && ((bytes[i] >= '0' && bytes[i] <= '9') || bytes[i] == ';')) ++i;
  if (i >= kLongest) return Step{i, std::nullopt};
  if (i >= bytes.size()) return Step{};
  const char final = bytes[i];
  const size_t length = i + 1;
  if (final < 0x40 || final > 0x7E) return Step{i, std::nullopt};
  // Old terminals put the modifier right after the O ("Esc O 5 A"), newer ones "1;5".
  const std::vector<int> p = Parameters(bytes.substr(2, i - 2));
  const int modifier = p.size() > 1 ? At(p, 1, 1) : At(p, 0, 1);

  const int base = LetterKey(final);
  if (base >= 0) return Step{length, Modified(base, modifier)};
  if (final >= 'a' && final <= 'd') {  // rxvt: Ctrl with an arrow key
    static constexpr std::array<int, 4> kArrows = {kUp, kDown, kRight, kLeft};
    return Step{length, Modified(kArrows[final - 'a'], 5)};
  }
  // The numeric keypad in application mode.
  if (final >= 'p' && final <= 'y') return Step{length, Char('0' + (final - 'p'))};
  static constexpr std::string_view kKeypadFinals = "MjklmnoX";
  static constexpr std::string_view kKeypadKeys = "\r*+,-./=";
  const size_t at = kKeypadFinals.find(final);
  if (at != std::string_view::npos) return Step{length, Char(kKeypadKeys[at])};
  return Step{length, std::nullopt};
}

KeyDecoder::Step KeyDecoder::DecodeText(std::string_view bytes) const {
  const unsigned char b = static_cast<unsigned char>(bytes[0]);
  // Terminals send DEL or ^H for Backspace, CR or LF for Enter; the PC sends 8 and 13.
  if (b == 127 || b == 8) return Step{1, Char('\b')};
  if (b == '\r' || b == '\n') return Step{1, Char('\r')};
  if (b == 0) return Step{1, std::nullopt};  // Ctrl+Space: no PC key to give
  if (b < 0x80) return Step{1, Char(b)};
  if (!utf8_) {
    const auto byte = UnicodeToCp437(b);
    return Step{1, byte ? std::optional(Char(*byte)) : std::nullopt};
  }
  size_t need;
  char32_t codePoint;
  if (b >= 0xC2 && b <= 0xDF) {
    need = 2;
    codePoint = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    need = 3;
    codePoint = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    need = 4;
    codePoint = b & 0x07;
  } else {
    return Step{1, std::nullopt};  // not the start of a character
  }
  for (size_t i = 1; i < need; ++i) {
    if (i >= bytes.size()) return Step{};
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if ((c & 0xC0) != 0x80) return Step{i, std::nullopt};  // broken off: drop the start
    codePoint = (codePoint << 6) | (c & 0x3F);
  }
  const auto byte = UnicodeToCp437(codePoint);
  return Step{need, byte ? std::optional(Char(*byte)) : std::nullopt};
}

}  // namespace shiftlog
