// The exported time cards, as the saved files and the files left in the SEND folder hold them:
// the TEXT card, a page image that repeats the wide printed card, and the DATA card,
// comma-separated lines for a spreadsheet. Lines end with CR LF; the printer's extra line end,
// top margin and form feed are never written. The totals have their separator (5 characters)
// when printer setting 8 is 1, else 4 digits, in both kinds. Pure: nothing is written here.
#pragma once

#include <string>
#include <string_view>

#include "layouts/card_lines.h"

namespace shiftlog {

// The numbers of "2. Save as TEXT" and "3. Save as DATA", which the menus share.
enum class ExportKind { kText = 2, kData = 3 };

// Appends one card of the given kind to out.
void AppendExportedCard(std::string& out, ExportKind kind, const PrintedCard& card,
                        const CardPrintSettings& settings);

// A field of a DATA line: as it stands, or, when it holds a comma, a double quote or a line
// break, in double quotes with each double quote inside doubled, so a spreadsheet keeps every
// later column in its place. (The card's own texts reach it with control bytes blanked.)
std::string DataField(std::string_view text);

// A TEXT card is the wide printed card followed by empty lines, one page of this many lines.
inline constexpr int kTextCardLines = 63;

}  // namespace shiftlog
