#include "console/screen_svg.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "console/renderer.h"
#include "text/cp437.h"

namespace shiftlog {

namespace {

constexpr int kWidth = kPictureCellWidth;
constexpr int kHeight = kPictureCellHeight;
constexpr int kBaseline = 15;      // of the 16-pixel font within a cell
constexpr int kGap = 3;            // how far the two lines of a double line stand from the middle
// More blanks than this start a new text element: each element is placed on its cells, and a
// viewer that does not stretch text to its textLength drifts only within short runs.
constexpr int kBlankRunLimit = 1;

// A rectangle [x0, x1) x [y0, y1) in pixels.
struct Box {
  int x0, y0, x1, y1;
  bool operator<(const Box& other) const {
    return std::tie(y0, y1, x0, x1) < std::tie(other.y0, other.y1, other.x0, other.x1);
  }
};

// What to fill with which colour ("#rrggbb", or with an opacity for the shades).
using Shapes = std::map<std::string, std::vector<Box>>;

std::string Colour(const Frame& frame, int colourNumber) {
  const Rgb rgb = EgaToRgb(frame.palette[static_cast<size_t>(colourNumber & 15)]);
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
  return text;
}

std::string Foreground(const Frame& frame, const Cell& cell) {
  return Colour(frame, cell.attribute & 15);  // blinking text is shown steady
}

std::string Background(const Frame& frame, const Cell& cell) {
  return Colour(frame, (cell.attribute >> 4) & 7);
}

// The lines of a box character towards each side: 0 none, 1 single, 2 double.
struct Arms {
  int up, down, left, right;
};

std::optional<Arms> LineArms(std::uint8_t c) {
  // Code page 437 179 to 218, in order.
  static constexpr std::array<Arms, 40> kArms = {{
      {1, 1, 0, 0}, {1, 1, 1, 0}, {1, 1, 2, 0}, {2, 2, 1, 0}, {0, 2, 1, 0}, {0, 1, 2, 0}, {2, 2, 2, 0},
      {2, 2, 0, 0}, {0, 2, 2, 0}, {2, 0, 2, 0}, {2, 0, 1, 0}, {1, 0, 2, 0}, {0, 1, 1, 0}, {1, 0, 0, 1},
      {1, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}, {1, 1, 0, 2}, {2, 2, 0, 1},
      {2, 0, 0, 2}, {0, 2, 0, 2}, {2, 0, 2, 2}, {0, 2, 2, 2}, {2, 2, 0, 2}, {0, 0, 2, 2}, {2, 2, 2, 2},
      {1, 0, 2, 2}, {2, 0, 1, 1}, {0, 1, 2, 2}, {0, 2, 1, 1}, {2, 0, 0, 1}, {1, 0, 0, 2}, {0, 1, 0, 2},
      {0, 2, 0, 1}, {2, 2, 1, 1}, {1, 1, 2, 2}, {1, 0, 1, 0}, {0, 1, 0, 1},
  }};
  if (c < 179 || c > 218) return std::nullopt;
  return kArms[static_cast<size_t>(c - 179)];
}

int Offset(int weight) {
  return weight == 2 ? kGap : 0;
}

// The lines of a box character in the cell at (x, y), two pixels thick. Each line runs from
// the cell's edge to where it meets the lines across it: a single line stops at the near line
// of a double one it does not cross, the two lines of a double line turn the corner with the
// other side's double lines, so frames of both kinds join as the PC draws them.
void AddLines(int x, int y, const Arms& a, std::vector<Box>& out) {
  const int cx = x + kWidth / 2;
  const int cy = y + kHeight / 2;
  auto across = [&](int yc, int xa, int xb) { out.push_back({xa, yc - 1, xb, yc + 1}); };
  auto along = [&](int xc, int ya, int yb) { out.push_back({xc - 1, ya, xc + 1, yb}); };
  const bool verticalDouble = a.up == 2 || a.down == 2;
  const bool horizontalDouble = a.left == 2 || a.right == 2;

  if (a.left == 1) {
    across(cy, x, verticalDouble ? ((a.up && a.down) ? cx - kGap + 1 : cx + kGap + 1) : cx + 1);
  } else if (a.left == 2) {
    across(cy - kGap, x, a.up ? cx - Offset(a.up) + 1 : a.right ? cx : cx + Offset(a.down) + 1);
    across(cy + kGap, x, a.down ? cx - Offset(a.down) + 1 : a.right ? cx : cx + Offset(a.up) + 1);
  }
  if (a.right == 1) {
    across(cy, verticalDouble ? ((a.up && a.down) ? cx + kGap - 1 : cx - kGap - 1) : cx - 1, x + kWidth);
  } else if (a.right == 2) {
    across(cy - kGap, a.up ? cx + Offset(a.up) - 1 : a.left ? cx : cx - Offset(a.down) - 1, x + kWidth);
    across(cy + kGap, a.down ? cx + Offset(a.down) - 1 : a.left ? cx : cx - Offset(a.up) - 1, x + kWidth);
  }
  if (a.up == 1) {
    along(cx, y, horizontalDouble ? ((a.left && a.right) ? cy - kGap + 1 : cy + kGap + 1) : cy + 1);
  } else if (a.up == 2) {
    along(cx - kGap, y, a.left ? cy - Offset(a.left) + 1 : a.down ? cy : cy + Offset(a.right) + 1);
    along(cx + kGap, y, a.right ? cy - Offset(a.right) + 1 : a.down ? cy : cy + Offset(a.left) + 1);
  }
  if (a.down == 1) {
    along(cx, horizontalDouble ? ((a.left && a.right) ? cy + kGap - 1 : cy - kGap - 1) : cy - 1, y + kHeight);
  } else if (a.down == 2) {
    along(cx - kGap, a.left ? cy + Offset(a.left) - 1 : a.up ? cy : cy - Offset(a.right) - 1, y + kHeight);
    along(cx + kGap, a.right ? cy + Offset(a.right) - 1 : a.up ? cy : cy - Offset(a.left) - 1, y + kHeight);
  }
}

// The blocks and shades: the part of the cell they fill, and the shades' opacity.
bool AddBlock(int x, int y, std::uint8_t c, const std::string& colour, Shapes& shapes) {
  const Box cell{x, y, x + kWidth, y + kHeight};
  switch (c) {
    case 176:
      shapes[colour + "\" fill-opacity=\".25"].push_back(cell);
      return true;
    case 177:
      shapes[colour + "\" fill-opacity=\".5"].push_back(cell);
      return true;
    case 178:
      shapes[colour + "\" fill-opacity=\".75"].push_back(cell);
      return true;
    case 219:
      shapes[colour].push_back(cell);
      return true;
    case 220:
      shapes[colour].push_back({x, y + kHeight / 2, x + kWidth, y + kHeight});
      return true;
    case 221:
      shapes[colour].push_back({x, y, x + kWidth / 2, y + kHeight});
      return true;
    case 222:
      shapes[colour].push_back({x + kWidth / 2, y, x + kWidth, y + kHeight});
      return true;
    case 223:
      shapes[colour].push_back({x, y, x + kWidth, y + kHeight / 2});
      return true;
    default:
      return false;
  }
}

bool IsBlank(std::uint8_t c) {
  return c == 0 || c == ' ' || c == 255;
}

bool IsDrawn(std::uint8_t c) {
  return LineArms(c).has_value() || (c >= 176 && c <= 178) || (c >= 219 && c <= 223);
}

// Boxes that touch along a row become one, then boxes of the same width that touch down a
// column: a frame's side is one rectangle, a screen's background a few.
void Merge(std::vector<Box>& boxes) {
  std::sort(boxes.begin(), boxes.end());
  std::vector<Box> rows;
  for (const Box& box : boxes) {
    if (!rows.empty() && rows.back().y0 == box.y0 && rows.back().y1 == box.y1 && box.x0 <= rows.back().x1) {
      rows.back().x1 = std::max(rows.back().x1, box.x1);
    } else {
      rows.push_back(box);
    }
  }
  std::sort(rows.begin(), rows.end(), [](const Box& a, const Box& b) {
    return std::tie(a.x0, a.x1, a.y0, a.y1) < std::tie(b.x0, b.x1, b.y0, b.y1);
  });
  boxes.clear();
  for (const Box& box : rows) {
    if (!boxes.empty() && boxes.back().x0 == box.x0 && boxes.back().x1 == box.x1 &&
        box.y0 <= boxes.back().y1) {
      boxes.back().y1 = std::max(boxes.back().y1, box.y1);
    } else {
      boxes.push_back(box);
    }
  }
  std::sort(boxes.begin(), boxes.end());
}

void WritePaths(Shapes& shapes, std::string& svg) {
  for (auto& [fill, boxes] : shapes) {
    Merge(boxes);
    svg += "<path fill=\"" + fill + "\" d=\"";
    for (const Box& b : boxes) {
      svg += 'M' + std::to_string(b.x0) + ' ' + std::to_string(b.y0) + 'h' + std::to_string(b.x1 - b.x0) +
             'v' + std::to_string(b.y1 - b.y0) + 'h' + std::to_string(b.x0 - b.x1) + 'z';
    }
    svg += "\"/>\n";
  }
}

void AppendEscaped(std::string_view text, std::string& out) {
  for (char c : text) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      out += c;
    }
  }
}

}  // namespace

std::string FrameSvg(const Frame& frame) {
  const Page& page = frame.page;
  const int width = kColumns * kWidth;
  const int height = kRows * kHeight;

  // The commonest background fills the picture; the others are merged runs over it.
  std::map<std::string, int> backgroundCount;
  for (const Cell& cell : page.cells) ++backgroundCount[Background(frame, cell)];
  const std::string ground =
      std::max_element(backgroundCount.begin(), backgroundCount.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
      })->first;
  Shapes backgrounds;
  Shapes drawn;
  std::map<std::string, std::string> texts;  // per colour, its text elements
  for (int row = 1; row <= kRows; ++row) {
    const int y = (row - 1) * kHeight;
    for (int column = 1; column <= kColumns; ++column) {
      const Cell& cell = page.At(row, column);
      const int x = (column - 1) * kWidth;
      const std::string background = Background(frame, cell);
      if (background != ground) backgrounds[background].push_back({x, y, x + kWidth, y + kHeight});
      if (const std::optional<Arms> arms = LineArms(cell.character)) {
        AddLines(x, y, *arms, drawn[Foreground(frame, cell)]);
      } else {
        AddBlock(x, y, cell.character, Foreground(frame, cell), drawn);
      }
    }
    // Text: runs of glyphs of one colour, through a few blanks (or drawn cells) between them.
    for (int column = 1; column <= kColumns;) {
      const Cell& first = page.At(row, column);
      if (IsBlank(first.character) || IsDrawn(first.character)) {
        ++column;
        continue;
      }
      const std::string colour = Foreground(frame, first);
      std::string text;
      int last = column;
      int blanks = 0;
      for (int c = column; c <= kColumns; ++c) {
        const Cell& cell = page.At(row, c);
        if (IsBlank(cell.character) || IsDrawn(cell.character)) {
          if (++blanks > kBlankRunLimit) break;
          continue;
        }
        if (Foreground(frame, cell) != colour) break;
        text.append(static_cast<size_t>(blanks), ' ');
        blanks = 0;
        AppendEscaped(Cp437ToUtf8(cell.character), text);
        last = c;
      }
      std::string& element = texts[colour];
      element += "<text x=\"" + std::to_string((column - 1) * kWidth) + "\" y=\"" +
                 std::to_string(y + kBaseline) + "\" textLength=\"" +
                 std::to_string((last - column + 1) * kWidth) + "\">" + text + "</text>\n";
      column = last + 1;
    }
  }
  if (frame.cursor.visible && frame.cursor.row >= 1 && frame.cursor.row <= kRows &&
      frame.cursor.column >= 1 && frame.cursor.column <= kColumns) {
    // As on the terminal: a tall cursor is a block, the usual few scan lines an underline.
    const CursorState& cursor = frame.cursor;
    const int x = (cursor.column - 1) * kWidth;
    const int y = (cursor.row - 1) * kHeight;
    const bool block = cursor.firstLine > cursor.lastLine || cursor.lastLine - cursor.firstLine + 1 >= 7;
    drawn[Foreground(frame, page.At(cursor.row, cursor.column))].push_back(
        {x, block ? y : y + kHeight - 3, x + kWidth, y + kHeight});
  }

  std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
      std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) + ' ' + std::to_string(height) +
      "\" font-family=\"DejaVu Sans Mono,Menlo,Consolas,Liberation Mono,monospace\" font-size=\"16.6\" "
      "xml:space=\"preserve\">\n";
  svg += "<rect width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" fill=\"" +
         ground + "\"/>\n";
  WritePaths(backgrounds, svg);
  WritePaths(drawn, svg);
  for (const auto& [colour, elements] : texts) svg += "<g fill=\"" + colour + "\">\n" + elements + "</g>\n";
  svg += "</svg>\n";
  return svg;
}

}  // namespace shiftlog
