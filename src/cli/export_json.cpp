// The JSON form of an export: one object per card, for programs that read JSON rather than the
// suite's DATA lines.
#include <nlohmann/json.hpp>

#include "cli/dates.h"
#include "cli/export_command.h"
#include "cli/output_text.h"
#include "store/card_record.h"
#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

using Json = nlohmann::ordered_json;

// A card time as stored, or "" for a slot without one. The zero bytes of a file that ends
// inside the field are no characters.
std::string TimeOf(std::string stored) {
  if (IsEmptyCardTime(stored)) return "";
  for (char& c : stored) {
    if (c == '\0') c = ' ';
  }
  return Utf8Of(TrimBlanks(stored));
}

Json DayOf(const WeekCards& week, const TimeCard& card, int day) {
  // The corrections and their correctors side by side: correctors[i] is the slot of the
  // supervisor who entered corrections[i] (0: nobody).
  Json punches = Json::array();
  Json corrections = Json::array();
  Json correctors = Json::array();
  for (Json* list : {&punches, &corrections, &correctors}) list->get_ref<Json::array_t&>().reserve(8);
  for (int slot = 1; slot <= 8; ++slot) {
    punches.push_back(TimeOf(card.Text(kPunchRow, day, slot)));
    corrections.push_back(TimeOf(card.Text(kCorrectionRow, day, slot)));
    correctors.push_back(static_cast<int>(NumericValue(card.Text(kCorrectorRow, day, slot))));
  }
  const long long minutes = DayMinutes(card, day);
  return Json{{"date", IsoDateText(week.dates[static_cast<size_t>(day)])},
              {"day", DayName(day, week.header.weekEnd)},
              {"punches", std::move(punches)},
              {"corrections", std::move(corrections)},
              {"correctors", std::move(correctors)},
              {"reason", Utf8Of(TrimBlanks(card.reasons[static_cast<size_t>(day + 1)]))},
              {"minutes", minutes},
              {"worked", WorkedText(minutes, week.header.timeDisplay)}};
}

Json CardOf(const WeekCards& week, int slot) {
  const WeekCards::Card& stored = week.cards[static_cast<size_t>(slot)];
  Json days = Json::array();
  long long minutes = 0;
  for (int day = 0; day < 7; ++day) {
    days.push_back(DayOf(week, stored.card, day));
    minutes += DayMinutes(stored.card, day);
  }
  Json card;
  card["slot"] = slot;
  card["name"] = Utf8Of(TrimBlanks(stored.name));
  card["id"] = Utf8Of(TrimBlanks(stored.id));
  card["days"] = std::move(days);
  card["minutes"] = minutes;
  card["worked"] = WorkedText(minutes, week.header.timeDisplay);
  return card;
}

}  // namespace

std::string CardsAsJson(const WeekCards& week, const std::vector<int>& slots) {
  // The week's fields, then one card to a line: readable, easy to compare card by card, and a
  // quarter of the bytes of a fully indented week.
  const Json head{{"cardFile", week.fileName},
                  {"weekEnding", IsoDateText(week.dates[6])},
                  {"storeId", Utf8Of(TrimBlanks(week.header.storeId))},
                  {"timeDisplay", week.header.timeDisplay != 0 ? "decimal" : "hours:minutes"}};
  std::string text = head.dump();
  text.pop_back();  // the closing brace: the cards follow
  text += ",\"cards\":[";
  for (size_t i = 0; i < slots.size(); ++i) {
    text += i == 0 ? "\n" : ",\n";
    text += CardOf(week, slots[i]).dump();
  }
  text += slots.empty() ? "]}\n" : "\n]}\n";
  return text;
}

}  // namespace shiftlog
