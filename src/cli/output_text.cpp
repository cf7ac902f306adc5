#include "cli/output_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "layouts/export_cards.h"
#include "text/cp437.h"

namespace shiftlog {

std::string Utf8Of(std::string_view cp437) {
  std::string utf8;
  utf8.reserve(cp437.size());
  for (char c : cp437) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte >= 32 && byte < 127) {
      utf8 += c;
    } else {
      utf8 += Cp437ToUtf8(byte);
    }
  }
  return utf8;
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += DataField(fields[i]);
  }
  line += "\r\n";
  return line;
}

std::string AlignedTable(const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& rightAligned) {
  std::vector<size_t> widths;
  for (const auto& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size(), 0);
    for (size_t column = 0; column < row.size(); ++column)
      widths[column] = std::max(widths[column], row[column].size());
  }
  std::string table;
  for (const auto& row : rows) {
    std::string line;
    for (size_t column = 0; column < row.size(); ++column) {
      if (column > 0) line += "  ";
      const std::string padding(widths[column] - row[column].size(), ' ');
      const bool right = column < rightAligned.size() && rightAligned[column];
      line += right ? padding + row[column] : row[column] + padding;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    table += Utf8Of(line);
    table += '\n';
  }
  return table;
}

std::string WorkedText(long long minutes, int timeDisplay) {
  const long long hours = minutes / 60;
  const long long rest = minutes % 60;
  char text[32];
  if (timeDisplay != 0) {
    std::snprintf(text, sizeof text, "%02lld.%02lld", hours, (rest * 200 + 60) / 120 % 100);
  } else {
    std::snprintf(text, sizeof text, "%02lld:%02lld", hours, rest);
  }
  return text;
}

}  // namespace shiftlog
