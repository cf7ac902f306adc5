// The text forms the command line writes. The store's texts are code page 437; what the command
// line writes of its own (JSON, the status table and its CSV) is UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace shiftlog {

std::string Utf8Of(std::string_view cp437);

// The fields joined by commas (each quoted as a DATA field is), ending in CR LF as the suite's
// text files do.
std::string CsvLine(const std::vector<std::string>& fields);

// Rows of code page 437 cells as UTF-8 lines, each column as wide as its widest cell and two
// blanks between columns; the columns marked in rightAligned are aligned to the right. No line
// ends in blanks.
std::string AlignedTable(const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& rightAligned);

// Worked minutes in the store's time display: hours and minutes ("08:30") or decimal hours
// with the hundredths rounded half up as on the card ("08.50"); all of the hours, however many.
std::string WorkedText(long long minutes, int timeDisplay);

}  // namespace shiftlog
