#include "console/terminal_image.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "text/cp437.h"

namespace shiftlog {

namespace {

constexpr unsigned char kEsc = 0x1b;

// The numbers of a sequence's parameters; an empty one is -1 (its default applies).
std::vector<int> Numbers(std::string_view parameters) {
  std::vector<int> numbers;
  size_t start = 0;
  for (;;) {
    const size_t end = std::min(parameters.find(';', start), parameters.size());
    const std::string_view part = parameters.substr(start, end - start);
    int value = -1;
    if (!part.empty()) {
      value = 0;
      const auto [rest, error] = std::from_chars(part.data(), part.data() + part.size(), value);
      if (error != std::errc() || rest != part.data() + part.size()) value = 0;
    }
    numbers.push_back(value);
    if (end >= parameters.size()) return numbers;
    start = end + 1;
  }
}

int NumberOr(const std::vector<int>& numbers, size_t index, int fallback) {
  return index < numbers.size() && numbers[index] > 0 ? numbers[index] : fallback;
}

}  // namespace

TerminalImage::TerminalImage() {
  Erase(0, kRows * kColumns);
}

void TerminalImage::Feed(std::string_view bytes) {
  bytesFed_ += bytes.size();
  for (const char signedByte : bytes) {
    const auto byte = static_cast<unsigned char>(signedByte);
    switch (state_) {
      case State::kGround:
        if (utf8Left_ > 0) {
          if ((byte & 0xC0) == 0x80) {
            utf8Value_ = (utf8Value_ << 6) | (byte & 0x3F);
            if (--utf8Left_ == 0) PutGlyph(utf8Value_);
            continue;
          }
          utf8Left_ = 0;
          PutGlyph(U'\uFFFD');  // a character cut short; the byte is taken on its own below
        }
        if (byte == kEsc) {
          state_ = State::kEscape;
          sequence_.clear();
        } else if (byte == '\r') {
          column_ = 1;
        } else if (byte == '\n') {
          if (row_ < kRows) ++row_;
        } else if (byte == '\b') {
          column_ = std::max(1, std::min(column_, kColumns) - 1);
        } else if (byte < 0x20 || byte == 0x7F) {
          // Bell and the other controls show nothing.
        } else if (byte < 0x80) {
          PutGlyph(byte);
        } else if ((byte & 0xE0) == 0xC0) {
          utf8Value_ = byte & 0x1F;
          utf8Left_ = 1;
        } else if ((byte & 0xF0) == 0xE0) {
          utf8Value_ = byte & 0x0F;
          utf8Left_ = 2;
        } else if ((byte & 0xF8) == 0xF0) {
          utf8Value_ = byte & 0x07;
          utf8Left_ = 3;
        } else {
          PutGlyph(U'\uFFFD');
        }
        break;
      case State::kEscape:
        if (byte == '[') {
          state_ = State::kCsi;
        } else if (byte == ']' || byte == 'P' || byte == '_' || byte == '^' || byte == 'X') {
          state_ = State::kString;
        } else if (byte >= 0x20 && byte <= 0x2F) {
          // An intermediate byte: the sequence ends with the next final byte.
        } else {
          if (byte == 'c') {  // a full reset
            const std::uint64_t fed = bytesFed_;
            *this = TerminalImage();
            bytesFed_ = fed;
          }
          state_ = State::kGround;
        }
        break;
      case State::kCsi:
        if (byte >= 0x40 && byte <= 0x7E) {
          state_ = State::kGround;
          RunControlSequence(sequence_, static_cast<char>(byte));
        } else if (byte >= 0x20 && byte <= 0x3F && sequence_.size() < 64) {
          sequence_ += static_cast<char>(byte);
        } else if (byte == kEsc) {
          state_ = State::kEscape;
          sequence_.clear();
        }
        break;
      case State::kString:
        if (byte == 0x07) state_ = State::kGround;
        if (byte == kEsc) state_ = State::kStringEscape;
        break;
      case State::kStringEscape:
        state_ = byte == '\\' ? State::kGround : State::kString;
        break;
    }
  }
}

void TerminalImage::PutGlyph(char32_t glyph) {
  if (column_ > kColumns) {
    column_ = 1;
    if (row_ < kRows) {
      ++row_;
    } else {
      std::move(cells_.begin() + kColumns, cells_.end(), cells_.begin());
      Erase(Index(kRows, 1), kRows * kColumns);
    }
  }
  TerminalCell& cell = cells_[Index(row_, column_)];
  cell = pen_;
  cell.glyph = glyph;
  ++column_;
}

void TerminalImage::Erase(int fromIndex, int toIndex) {
  TerminalCell blank = pen_;
  blank.glyph = U' ';
  blank.bold = false;
  blank.blink = false;
  for (int i = std::max(0, fromIndex); i < std::min(toIndex, kRows * kColumns); ++i) cells_[i] = blank;
}

void TerminalImage::RunControlSequence(std::string_view parameters, char final) {
  if (!parameters.empty() && parameters[0] == '?') {
    const bool set = final == 'h';
    if (final != 'h' && final != 'l') return;
    for (const int mode : Numbers(parameters.substr(1))) {
      if (mode == 25) cursorVisible_ = set;
      // The alternate screen starts empty.
      if ((mode == 1049 || mode == 47 || mode == 1047) && set) Erase(0, kRows * kColumns);
    }
    return;
  }
  // Sequences with intermediate bytes (the cursor shape) or other private markers change
  // nothing that shows.
  if (parameters.find_first_of(" !\"#$%&'()*+,-./<=>") != std::string_view::npos) return;
  const std::vector<int> numbers = Numbers(parameters);
  const int column = std::min(column_, kColumns);
  switch (final) {
    case 'H':
    case 'f':
      row_ = std::clamp(NumberOr(numbers, 0, 1), 1, kRows);
      column_ = std::clamp(NumberOr(numbers, 1, 1), 1, kColumns);
      break;
    case 'A':
      row_ = std::max(1, row_ - NumberOr(numbers, 0, 1));
      column_ = column;
      break;
    case 'B':
      row_ = std::min(kRows, row_ + NumberOr(numbers, 0, 1));
      column_ = column;
      break;
    case 'C':
      column_ = std::min(kColumns, column + NumberOr(numbers, 0, 1));
      break;
    case 'D':
      column_ = std::max(1, column - NumberOr(numbers, 0, 1));
      break;
    case 'G':
      column_ = std::clamp(NumberOr(numbers, 0, 1), 1, kColumns);
      break;
    case 'd':
      row_ = std::clamp(NumberOr(numbers, 0, 1), 1, kRows);
      break;
    case 'J': {
      const int mode = std::max(0, numbers[0]);
      const int here = Index(row_, column);
      if (mode == 0) Erase(here, kRows * kColumns);
      if (mode == 1) Erase(0, here + 1);
      if (mode >= 2) Erase(0, kRows * kColumns);
      break;
    }
    case 'K': {
      const int mode = std::max(0, numbers[0]);
      const int lineStart = Index(row_, 1);
      const int here = Index(row_, column);
      if (mode == 0) Erase(here, lineStart + kColumns);
      if (mode == 1) Erase(lineStart, here + 1);
      if (mode >= 2) Erase(lineStart, lineStart + kColumns);
      break;
    }
    case 'X':
      Erase(Index(row_, column),
            Index(row_, column) + std::min(NumberOr(numbers, 0, 1), kColumns - column + 1));
      break;
    case 'm':
      SelectGraphicRendition(numbers);
      break;
    default:
      break;
  }
}

void TerminalImage::SelectGraphicRendition(const std::vector<int>& numbers) {
  for (size_t i = 0; i < numbers.size(); ++i) {
    const int n = numbers[i];
    auto extended = [&](TerminalColour& colour) {
      // 38;5;N or 38;2;R;G;B (and the same with 48).
      if (i + 2 < numbers.size() && numbers[i + 1] == 5) {
        colour = {TerminalColour::Kind::kIndexed, std::clamp(numbers[i + 2], 0, 255)};
        i += 2;
      } else if (i + 4 < numbers.size() && numbers[i + 1] == 2) {
        const int rgb = (std::clamp(numbers[i + 2], 0, 255) << 16) |
                        (std::clamp(numbers[i + 3], 0, 255) << 8) | std::clamp(numbers[i + 4], 0, 255);
        colour = {TerminalColour::Kind::kRgb, rgb};
        i += 4;
      } else {
        i = numbers.size();  // a cut-short colour: the rest cannot be read
      }
    };
    if (n <= 0) {
      pen_ = TerminalCell{};
    } else if (n == 1) {
      pen_.bold = true;
    } else if (n == 22) {
      pen_.bold = false;
    } else if (n == 5) {
      pen_.blink = true;
    } else if (n == 25) {
      pen_.blink = false;
    } else if (n >= 30 && n <= 37) {
      pen_.foreground = {TerminalColour::Kind::kIndexed, n - 30};
    } else if (n == 38) {
      extended(pen_.foreground);
    } else if (n == 39) {
      pen_.foreground = {};
    } else if (n >= 40 && n <= 47) {
      pen_.background = {TerminalColour::Kind::kIndexed, n - 40};
    } else if (n == 48) {
      extended(pen_.background);
    } else if (n == 49) {
      pen_.background = {};
    } else if (n >= 90 && n <= 97) {
      pen_.foreground = {TerminalColour::Kind::kIndexed, n - 90 + 8};
    } else if (n >= 100 && n <= 107) {
      pen_.background = {TerminalColour::Kind::kIndexed, n - 100 + 8};
    }
  }
}

std::string TerminalImage::Text(int row, int column, int length) const {
  std::string text;
  for (int c = column; c < column + length && c <= kColumns; ++c) AppendUtf8(text, At(row, c).glyph);
  return text;
}

int TerminalImage::BackgroundIndex(int row, int column) const {
  const TerminalColour& colour = At(row, column).background;
  return colour.kind == TerminalColour::Kind::kIndexed && colour.value < 16 ? colour.value : -1;
}

bool TerminalImage::Shows(std::string_view text) const {
  for (int row = 1; row <= kRows; ++row) {
    if (Text(row, 1, kColumns).find(text) != std::string::npos) return true;
  }
  return false;
}

std::string TerminalImage::Dump() const {
  std::string dump;
  for (int row = 1; row <= kRows; ++row) {
    dump += Text(row, 1, kColumns);
    dump += '\n';
  }
  return dump;
}

}  // namespace shiftlog
