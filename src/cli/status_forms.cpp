// The forms of the status report: an aligned table for people, CSV and JSON for programs.
#include <nlohmann/json.hpp>

#include "cli/dates.h"
#include "cli/output_text.h"
#include "cli/status_report.h"
#include "store/weeks.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

using Json = nlohmann::ordered_json;

const char* KindOf(const CountedTime& time) {
  return time.punchSlot % 2 == 1 ? "IN" : "OUT";
}

std::string TimeText(const CountedTime& time) {
  return TrimBlanks(time.text);
}

struct Person {
  std::string name;  // code page 437, without surrounding blanks
  std::string id;
};

Person PersonOf(const WeekCards& week, int slot) {
  const WeekCards::Card& card = week.cards[static_cast<size_t>(slot)];
  return {TrimBlanks(card.name), TrimBlanks(card.id)};
}

Json PersonJson(const WeekCards& week, int slot) {
  const Person person = PersonOf(week, slot);
  return Json{{"slot", slot}, {"name", Utf8Of(person.name)}, {"id", Utf8Of(person.id)}};
}

Json TimeJson(const CountedTime& time) {
  return Json{{"punchSlot", time.punchSlot},
              {"kind", KindOf(time)},
              {"time", Utf8Of(TimeText(time))},
              {"corrected", time.corrected}};
}

std::string DayText(const WeekCards& week, int day) {
  return DayName(day, week.header.weekEnd) + " " + IsoDateText(week.dates[static_cast<size_t>(day)]);
}

}  // namespace

std::string ClockedInReport(const WeekCards& week, int day, const std::vector<ClockedIn>& people,
                            const std::string& format) {
  const std::string date = IsoDateText(week.dates[static_cast<size_t>(day)]);
  const std::string dayName = DayName(day, week.header.weekEnd);
  if (format == "json") {
    Json list = Json::array();
    for (const ClockedIn& person : people) {
      Json entry = PersonJson(week, person.slot);
      entry["in"] = Utf8Of(TimeText(person.in));
      entry["punchSlot"] = person.in.punchSlot;
      entry["corrected"] = person.in.corrected;
      list.push_back(std::move(entry));
    }
    Json root{{"date", date}, {"day", dayName}, {"cardFile", week.fileName}, {"clockedIn", std::move(list)}};
    return root.dump(2) + "\n";
  }
  if (format == "csv") {
    std::string csv = CsvLine({"slot", "name", "id", "date", "day", "in"});
    for (const ClockedIn& person : people) {
      const Person who = PersonOf(week, person.slot);
      csv += CsvLine({std::to_string(person.slot), Utf8Of(who.name), Utf8Of(who.id), date, dayName,
                      Utf8Of(TimeText(person.in))});
    }
    return csv;
  }
  if (people.empty()) return "Nobody is clocked in on " + DayText(week, day) + ".\n";
  std::vector<std::vector<std::string>> rows{{"SLOT", "NAME", "ID#", "IN SINCE"}};
  for (const ClockedIn& person : people) {
    const Person who = PersonOf(week, person.slot);
    rows.push_back({std::to_string(person.slot), who.name, who.id, TimeText(person.in)});
  }
  return "Clocked in on " + DayText(week, day) + ":\n" + AlignedTable(rows, {true, false, false, false});
}

std::string UnpairedReport(const WeekCards& week, const std::vector<UnpairedDay>& days,
                           const std::string& format) {
  const std::string weekText = "the week ending " + DayText(week, 6);
  if (format == "json") {
    Json list = Json::array();
    for (const UnpairedDay& unpaired : days) {
      Json entry = PersonJson(week, unpaired.slot);
      entry["date"] = IsoDateText(week.dates[static_cast<size_t>(unpaired.day)]);
      entry["day"] = DayName(unpaired.day, week.header.weekEnd);
      Json punches = Json::array();
      for (const CountedTime& time : unpaired.punches) punches.push_back(TimeJson(time));
      entry["punches"] = std::move(punches);
      list.push_back(std::move(entry));
    }
    Json root{{"weekEnding", IsoDateText(week.dates[6])},
              {"cardFile", week.fileName},
              {"unpaired", std::move(list)}};
    return root.dump(2) + "\n";
  }
  if (format == "csv") {
    // One line per punch, so a spreadsheet can sort and count them.
    std::string csv = CsvLine({"slot", "name", "id", "date", "day", "punch", "time", "punch_slot"});
    for (const UnpairedDay& unpaired : days) {
      const Person who = PersonOf(week, unpaired.slot);
      for (const CountedTime& time : unpaired.punches) {
        csv += CsvLine({std::to_string(unpaired.slot), Utf8Of(who.name), Utf8Of(who.id),
                        IsoDateText(week.dates[static_cast<size_t>(unpaired.day)]),
                        DayName(unpaired.day, week.header.weekEnd), KindOf(time), Utf8Of(TimeText(time)),
                        std::to_string(time.punchSlot)});
      }
    }
    return csv;
  }
  if (days.empty()) return "No punch without its partner in " + weekText + ".\n";
  std::vector<std::vector<std::string>> rows{{"SLOT", "NAME", "ID#", "DAY", "DATE", "WITHOUT PARTNER"}};
  for (const UnpairedDay& unpaired : days) {
    const Person who = PersonOf(week, unpaired.slot);
    std::string punches;
    for (const CountedTime& time : unpaired.punches)
      punches += (punches.empty() ? "" : ", ") + std::string(KindOf(time)) + " " + TimeText(time);
    rows.push_back({std::to_string(unpaired.slot), who.name, who.id,
                    DayName(unpaired.day, week.header.weekEnd),
                    IsoDateText(week.dates[static_cast<size_t>(unpaired.day)]), punches});
  }
  return "Punches without their partner in " + weekText + ":\n" +
         AlignedTable(rows, {true, false, false, false, false, false});
}

}  // namespace shiftlog
