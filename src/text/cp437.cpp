#include "text/cp437.h"

#include <array>
#include <string>

namespace shiftlog {
namespace {

// Glyphs of the control codes 0-31 on the PC screen.
constexpr std::array<char32_t, 32> kLowGlyphs = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,  //
    0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,  //
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,  //
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};

// Bytes 128-255.
constexpr std::array<char32_t, 128> kHighGlyphs = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 128
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  //
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 144
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  //
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // 160
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  //
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // 176
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  //
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // 192
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  //
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // 208
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  //
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // 224
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  //
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // 240
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  //
};

// Stand-ins for 0-31 and 128-255, in the same order as the glyph tables.
constexpr std::string_view kLowAscii = " oo****.#o#oodd*><|!PS-|^v><L-^v";
constexpr std::string_view kHighAscii =
    "CueaaaaceeeiiiAA"
    "EaAooouuyOUcLYPf"
    "aiounNao?--//!<>"
    "###|++++++|+++++"
    "++++-++++++++=++"
    "+++++++++++#####"
    "aBGpSsutFOOd8fen"
    "=+><||/~o..vn2# ";
static_assert(kLowAscii.size() == 32 && kHighAscii.size() == 128);

const std::array<std::string, 256>& Utf8Table() {
  static const std::array<std::string, 256> table = [] {
    std::array<std::string, 256> t;
    for (int b = 0; b < 256; ++b) AppendUtf8(t[b], Cp437ToUnicode(static_cast<std::uint8_t>(b)));
    return t;
  }();
  return table;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t Cp437ToUnicode(std::uint8_t byte) {
  if (byte < 32) return kLowGlyphs[byte];
  if (byte == 127) return 0x2302;
  if (byte < 128) return byte;
  return kHighGlyphs[byte - 128];
}

std::string_view Cp437ToUtf8(std::uint8_t byte) {
  return Utf8Table()[byte];
}

char Cp437ToAscii(std::uint8_t byte) {
  if (byte < 32) return kLowAscii[byte];
  if (byte == 127) return '^';
  if (byte < 128) return static_cast<char>(byte);
  return kHighAscii[byte - 128];
}

std::optional<std::uint8_t> UnicodeToCp437(char32_t codePoint) {
  if (codePoint >= 0x20 && codePoint < 0x7F) return static_cast<std::uint8_t>(codePoint);
  for (int i = 0; i < 128; ++i) {
    if (kHighGlyphs[i] == codePoint) return static_cast<std::uint8_t>(128 + i);
  }
  // Look-alikes that keyboards produce for the code page's Greek and sign characters.
  switch (codePoint) {
    case 0x03B2:
      return 225;  // beta for the sharp s the PC shows as beta
    case 0x03BC:
      return 230;  // Greek mu for the micro sign
    case 0x2126:
      return 234;  // ohm sign for omega
    case 0x2205:
      return 237;  // empty set for phi
    case 0x2208:
      return 238;  // element-of for epsilon
    default:
      return std::nullopt;
  }
}

}  // namespace shiftlog
