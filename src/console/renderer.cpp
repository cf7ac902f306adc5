#include "console/renderer.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "text/cp437.h"

namespace shiftlog {
namespace {

constexpr std::string_view kCsi = "\x1b[";

// What a cell's attribute asks of the terminal: SGR parameters for the two colours, and the
// bold (bright foreground on 8-colour terminals) and blink renditions.
struct Pen {
  std::string foreground;
  std::string background;
  bool bold = false;
  bool blink = false;
  bool operator==(const Pen&) const = default;
};

using PenTable = std::array<Pen, 256>;

int Square(int v) {
  return v * v;
}

int Distance(const Rgb& a, const Rgb& b) {
  return Square(a.red - b.red) + Square(a.green - b.green) + Square(a.blue - b.blue);
}

// The nearest entry of the xterm 256-colour palette above the first 16: the 6 x 6 x 6 cube
// or the grey ramp.
int Nearest256(const Rgb& c) {
  static constexpr std::array<int, 6> kLevels = {0, 95, 135, 175, 215, 255};
  auto nearestLevel = [](int v) {
    int best = 0;
    for (int i = 1; i < 6; ++i) {
      if (Square(kLevels[i] - v) < Square(kLevels[best] - v)) best = i;
    }
    return best;
  };
  const int r = nearestLevel(c.red), g = nearestLevel(c.green), b = nearestLevel(c.blue);
  const Rgb cube{static_cast<std::uint8_t>(kLevels[r]), static_cast<std::uint8_t>(kLevels[g]),
                 static_cast<std::uint8_t>(kLevels[b])};
  int grey = ((c.red + c.green + c.blue) / 3 - 8 + 5) / 10;
  grey = grey < 0 ? 0 : (grey > 23 ? 23 : grey);
  const auto level = static_cast<std::uint8_t>(8 + 10 * grey);
  const Rgb greyRgb{level, level, level};
  if (Distance(c, greyRgb) < Distance(c, cube)) return 232 + grey;
  return 16 + 36 * r + 6 * g + b;
}

// SGR parameters that show an EGA colour as foreground or background; sets *bold where an
// 8-colour terminal needs it for a bright foreground.
std::string ColourParameters(int egaColour, bool background, const RenderOptions& options, bool* bold) {
  const Rgb rgb = EgaToRgb(egaColour);
  const int pc = NearestPcColour(egaColour);
  const bool exact = EgaToRgb(DefaultEgaColour(pc)) == rgb;
  // The 16 PC colours go out as the terminal's own 16 colours, so they follow the user's
  // colour scheme; only remapped colours outside them need the wider palettes.
  if (!exact && options.colours == ColourLevel::kTrueColour) {
    return std::string(background ? "48;2;" : "38;2;") + std::to_string(rgb.red) + ';' +
           std::to_string(rgb.green) + ';' + std::to_string(rgb.blue);
  }
  if (!exact && options.colours == ColourLevel::k256) {
    return std::string(background ? "48;5;" : "38;5;") + std::to_string(Nearest256(rgb));
  }
  const int ansi = PcToAnsiColour(pc);
  const bool bright = ansi >= 8;
  if (options.colours == ColourLevel::kEight || !bright) {
    if (bright && !background) *bold = true;
    return std::to_string((background ? 40 : 30) + (ansi & 7));
  }
  return std::to_string((background ? 100 : 90) + (ansi & 7));
}

PenTable BuildPens(const std::array<std::uint8_t, 16>& palette, const RenderOptions& options) {
  PenTable pens;
  for (int attribute = 0; attribute < 256; ++attribute) {
    Pen& pen = pens[attribute];
    pen.foreground = ColourParameters(palette[attribute & 15], false, options, &pen.bold);
    bool ignored = false;
    pen.background = ColourParameters(palette[(attribute >> 4) & 7], true, options, &ignored);
    pen.blink = (attribute & 0x80) != 0;
  }
  return pens;
}

// The table changes only with the palette, so the last one is kept: building it costs more
// than rendering a clock tick.
const PenTable& MakePens(const std::array<std::uint8_t, 16>& palette, const RenderOptions& options) {
  struct Cached {
    std::array<std::uint8_t, 16> palette;
    ColourLevel colours;
    PenTable pens;
  };
  thread_local std::optional<Cached> cache[2];
  thread_local int next = 0;
  for (int i = 0; i < 2; ++i) {
    if (cache[i] && cache[i]->palette == palette && cache[i]->colours == options.colours) {
      next = 1 - i;  // the other entry goes first, so a reference handed out stays good
      return cache[i]->pens;
    }
  }
  auto& entry = cache[next];
  next = 1 - next;
  entry = Cached{palette, options.colours, BuildPens(palette, options)};
  return entry->pens;
}

std::string CursorPosition(int row, int column) {
  if (row == 1 && column == 1) return std::string(kCsi) + 'H';
  return std::string(kCsi) + std::to_string(row) + ';' + std::to_string(column) + 'H';
}

// The PC cursor covers scan lines of a 14-line cell; a tall one is shown as a block, the
// usual few lines at the bottom as an underline. Both blink, as the PC cursor does.
std::string CursorShape(const CursorState& cursor, CursorShapeControl control) {
  const bool block = cursor.firstLine > cursor.lastLine || cursor.lastLine - cursor.firstLine + 1 >= 7;
  switch (control) {
    case CursorShapeControl::kDecscusr:
      return std::string(kCsi) + (block ? "1 q" : "3 q");
    case CursorShapeControl::kLinux:
      return std::string(kCsi) + (block ? "?6c" : "?2c");
    case CursorShapeControl::kNone:
      break;
  }
  return {};
}

class FrameWriter {
 public:
  FrameWriter(const Frame& next, const PenTable& pens, const RenderOptions& options)
      : next_(next), pens_(pens), options_(options) {}

  std::string& Out() { return out_; }
  bool PositionKnown() const { return positionKnown_; }
  int Row() const { return row_; }
  int Column() const { return column_; }

  std::string_view Glyph(const Cell& cell) {
    if (options_.utf8) return Cp437ToUtf8(cell.character);
    ascii_ = Cp437ToAscii(cell.character);
    return std::string_view(&ascii_, 1);
  }

  void MoveTo(int row, int column) {
    if (positionKnown_ && row == row_ && column == column_) return;
    std::string best = CursorPosition(row, column);
    if (positionKnown_ && row == row_ && column > column_) {
      const int gap = column - column_;
      std::string forward =
          gap == 1 ? std::string(kCsi) + 'C' : std::string(kCsi) + std::to_string(gap) + 'C';
      if (forward.size() < best.size()) best = forward;
      // Writing a few unchanged cells again is cheaper still when they share the pen.
      if (gap <= 4 && pen_) {
        std::string again;
        bool samePen = true;
        for (int c = column_; c < column && samePen; ++c) {
          const Cell& cell = next_.page.At(row, c);
          samePen = pens_[cell.attribute] == *pen_;
          again += Glyph(cell);
        }
        if (samePen && again.size() <= best.size()) best = again;
      }
    }
    out_ += best;
    row_ = row;
    column_ = column;
    positionKnown_ = true;
  }

  void SetPen(const Pen& want) {
    if (pen_ && *pen_ == want) return;
    std::string parameters;
    auto add = [&parameters](std::string_view p) {
      if (!parameters.empty()) parameters += ';';
      parameters += p;
    };
    // Bold and blink can only be switched off by a full reset, which takes the colours too.
    if (!pen_ || (pen_->bold && !want.bold) || (pen_->blink && !want.blink)) {
      add("0");
      if (want.bold) add("1");
      if (want.blink) add("5");
      add(want.foreground);
      add(want.background);
    } else {
      if (want.bold && !pen_->bold) add("1");
      if (want.blink && !pen_->blink) add("5");
      if (want.foreground != pen_->foreground) add(want.foreground);
      if (want.background != pen_->background) add(want.background);
    }
    out_ += kCsi;
    out_ += parameters;
    out_ += 'm';
    pen_ = want;
  }

  void WriteCell(int row, int column) {
    const Cell& cell = next_.page.At(row, column);
    MoveTo(row, column);
    SetPen(pens_[cell.attribute]);
    out_ += Glyph(cell);
    // Past the last column the terminal waits to wrap; where the cursor then is depends
    // on the terminal's width, so the next cell is always placed explicitly.
    if (++column_ > kColumns) positionKnown_ = false;
  }

 private:
  const Frame& next_;
  const PenTable& pens_;
  const RenderOptions& options_;
  std::string out_;
  std::optional<Pen> pen_;
  bool positionKnown_ = false;
  int row_ = 0;
  int column_ = 0;
  char ascii_ = ' ';
};

}  // namespace

Rgb EgaToRgb(int egaColour) {
  auto channel = [egaColour](int primaryBit, int secondaryBit) {
    return static_cast<std::uint8_t>(((egaColour >> primaryBit) & 1) * 0xAA +
                                     ((egaColour >> secondaryBit) & 1) * 0x55);
  };
  return Rgb{channel(2, 5), channel(1, 4), channel(0, 3)};
}

int NearestPcColour(int egaColour) {
  const Rgb rgb = EgaToRgb(egaColour & 63);
  int best = 0;
  int bestDistance = Distance(rgb, EgaToRgb(DefaultEgaColour(0)));
  for (int pc = 1; pc < 16; ++pc) {
    const int d = Distance(rgb, EgaToRgb(DefaultEgaColour(pc)));
    if (d < bestDistance) {
      best = pc;
      bestDistance = d;
    }
  }
  return best;
}

int PcToAnsiColour(int pcColour) {
  static constexpr std::array<int, 8> kAnsi = {0, 4, 2, 6, 1, 5, 3, 7};
  return kAnsi[pcColour & 7] | (pcColour & 8);
}

std::string RenderFrame(const Frame* previous, const Frame& next, const RenderOptions& options) {
  const PenTable& pens = MakePens(next.palette, options);
  // A changed palette changes how unchanged cells look, so cells are compared by what they
  // show, not only by their bytes.
  const bool paletteChanged = previous != nullptr && previous->palette != next.palette;
  const PenTable& previousPens = paletteChanged ? MakePens(previous->palette, options) : pens;

  FrameWriter writer(next, pens, options);
  std::string& out = writer.Out();
  const bool full = previous == nullptr;
  const CursorState& cursor = next.cursor;
  bool drew = false;

  if (!cursor.visible && (full || previous->cursor.visible)) {
    out += kCsi;
    out += "?25l";
  }
  if (full) {
    out += kCsi;
    out += "0m";
    out += kCsi;
    out += "H";
    out += kCsi;
    out += "2J";
  }
  for (int row = 1; row <= kRows; ++row) {
    for (int column = 1; column <= kColumns; ++column) {
      if (!full) {
        const Cell& before = previous->page.At(row, column);
        const Cell& after = next.page.At(row, column);
        const bool same =
            before == after && (!paletteChanged || previousPens[before.attribute] == pens[after.attribute]);
        if (same) continue;
      }
      writer.WriteCell(row, column);
      drew = true;
    }
  }

  const bool shapeChanged =
      full || previous->cursor.firstLine != cursor.firstLine || previous->cursor.lastLine != cursor.lastLine;
  if (shapeChanged) out += CursorShape(cursor, options.cursorShape);
  if (cursor.visible) {
    const bool moved = full || drew || !previous->cursor.visible || previous->cursor.row != cursor.row ||
                       previous->cursor.column != cursor.column;
    if (moved &&
        !(writer.PositionKnown() && writer.Row() == cursor.row && writer.Column() == cursor.column)) {
      out += CursorPosition(cursor.row, cursor.column);
    }
    if (full || !previous->cursor.visible) {
      out += kCsi;
      out += "?25h";
    }
  }
  return std::move(out);
}

std::string RenderEnlargeRequest(int rows, int columns) {
  const std::string message = "Please enlarge this window to at least " + std::to_string(kColumns) + " x " +
                              std::to_string(kRows) + " (now " + std::to_string(columns) + " x " +
                              std::to_string(rows) + ").";
  // Break at blanks into lines that fit the width the terminal has.
  const size_t width = columns > 1 ? static_cast<size_t>(columns) : 1;
  std::vector<std::string> lines;
  std::string line;
  size_t start = 0;
  while (start < message.size()) {
    size_t end = message.find(' ', start);
    if (end == std::string::npos) end = message.size();
    const std::string word = message.substr(start, end - start);
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);

  std::string out = std::string(kCsi) + "0m" + std::string(kCsi) + "?25l" + std::string(kCsi) + "H" +
                    std::string(kCsi) + "2J";
  const int count = static_cast<int>(lines.size());
  const int top = rows > count ? (rows - count) / 2 + 1 : 1;
  for (int i = 0; i < count; ++i) {
    if (top + i > rows && rows > 0) break;
    std::string text = lines[i].substr(0, width);
    const int length = static_cast<int>(text.size());
    const int column = columns > length ? (columns - length) / 2 + 1 : 1;
    out += CursorPosition(top + i, column);
    out += text;
  }
  return out;
}

std::string RenderResetAttributes(const RenderOptions& options) {
  std::string out = std::string(kCsi) + "0m";
  if (options.cursorShape == CursorShapeControl::kDecscusr) out += std::string(kCsi) + "0 q";
  if (options.cursorShape == CursorShapeControl::kLinux) out += std::string(kCsi) + "?0c";
  out += std::string(kCsi) + "?25h";
  return out;
}

}  // namespace shiftlog
