#include "cli/export_command.h"

#include "cli/command_error.h"
#include "cli/dates.h"
#include "store/blank_card.h"

namespace shiftlog {

namespace {

// One export form: the chosen cards of the week as bytes.
using CardsWriter = std::string (*)(const WeekCards& week, const std::vector<int>& slots);

struct ExportForm {
  std::string_view name;
  CardsWriter write;  // nothing: not available yet
};

// csv is to give the bytes of a transmitted DATA file and text those of a TEXT file, card by
// card from the snapshot, with the store's layouts of those files. Until those layouts exist
// the two forms are refused rather than approximated.
constexpr ExportForm kExportForms[] = {
    {"json", CardsAsJson},
    {"csv", nullptr},
    {"text", nullptr},
};

const ExportForm& FormNamed(std::string_view name) {
  for (const ExportForm& form : kExportForms) {
    if (form.name == name) return form;
  }
  throw UsageError("--format " + std::string(name) + ": no such format");
}

// The card file the --week option names: a day of its week, or the file's own name.
std::string WeekFileOf(const ExportOptions& options, BackOfficeStore& store, Clock& clock) {
  const int weekEnd = store.Context().associates.weekEnd;
  if (options.week.empty()) return CardFileOfDate(DateOf(clock.Now()), weekEnd);
  const ParsedDate parsed = ParseDate(options.week, true);
  // Checked before the store is read; here only the form is told apart.
  if (parsed.form == DateForm::kCardName) return options.week;
  return CardFileOfDate(parsed.date, weekEnd);
}

void CheckWeekOption(const std::string& week) {
  if (week.empty()) return;
  const ParsedDate parsed = ParseDate(week, true);
  switch (parsed.outcome) {
    case ParsedDate::kOk:
      return;
    case ParsedDate::kNotADate:
      throw UsageError("--week " + week + ": not a date (YYYY-MM-DD, or a card file's name YYYYMMDD)");
    case ParsedDate::kNoSuchDay:
      throw UsageError("--week " + week + ": no such date");
    case ParsedDate::kOutsideCardYears:
      throw UsageError("--week " + week + ": the time clock keeps weeks of the years 2000 to 2099 only");
  }
}

std::vector<int> ChosenSlots(const ExportOptions& options, const WeekCards& week) {
  if (options.slot != 0) return {options.slot};
  std::vector<int> slots;
  for (int slot = 1; slot <= 56; ++slot) {
    const WeekCards::Card& card = week.cards[static_cast<size_t>(slot)];
    if (options.all || !IsBlankCard(card.card, card.name)) slots.push_back(slot);
  }
  return slots;
}

}  // namespace

std::vector<std::string> ExportFormatNames() {
  std::vector<std::string> names;
  for (const ExportForm& form : kExportForms) names.emplace_back(form.name);
  return names;
}

std::string ExportCards(const ExportOptions& options, Clock& clock) {
  const ExportForm& form = FormNamed(options.format);
  if (form.write == nullptr) throw UsageError("--format " + options.format + ": format not available yet");
  if (options.slot != 0 && (options.slot < 1 || options.slot > 56))
    throw UsageError("--slot " + std::to_string(options.slot) + ": a slot is 1 to 56");
  CheckWeekOption(options.week);

  BackOfficeStore store(options.store);
  const WeekCards week = ReadWeekCards(store, WeekFileOf(options, store, clock));
  return form.write(week, ChosenSlots(options, week));
}

}  // namespace shiftlog
