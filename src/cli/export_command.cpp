#include "cli/export_command.h"

#include "cli/command_error.h"
#include "cli/dates.h"
#include "layouts/export_cards.h"
#include "store/blank_card.h"

namespace shiftlog {

namespace {

// One export form: the chosen cards of the week as bytes. The station's printer settings shape
// the forms that repeat the time clock's files (setting 8: the totals' form).
using CardsWriter = std::string (*)(const WeekCards& week, const std::vector<int>& slots,
                                    const PrinterSettings& printer);

struct ExportForm {
  std::string_view name;
  CardsWriter write;
  bool needsPrinterSettings;
};

// The cards in the time clock's TEXT or DATA layout: the bytes a transmit leaves in the SEND
// folder. The header settings are the card file's own, as a card read takes them there.
std::string ExportedCards(ExportKind kind, const WeekCards& week, const std::vector<int>& slots,
                          const PrinterSettings& printer) {
  const CardPrintSettings settings{printer, week.header.timeDisplay, week.header.weekEnd,
                                   week.header.storeId};
  std::string bytes;
  for (const int slot : slots) {
    const WeekCards::Card& card = week.cards[static_cast<size_t>(slot)];
    AppendExportedCard(bytes, kind, PrintedCard{card.card, card.name, card.id, slot, week.dates}, settings);
  }
  return bytes;
}

constexpr ExportForm kExportForms[] = {
    {"csv",
     [](const WeekCards& week, const std::vector<int>& slots, const PrinterSettings& printer) {
       return ExportedCards(ExportKind::kData, week, slots, printer);
     },
     true},
    {"text",
     [](const WeekCards& week, const std::vector<int>& slots, const PrinterSettings& printer) {
       return ExportedCards(ExportKind::kText, week, slots, printer);
     },
     true},
    {"json",
     [](const WeekCards& week, const std::vector<int>& slots, const PrinterSettings&) {
       return CardsAsJson(week, slots);
     },
     false},
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
  for (int slot = 1; slot <= kSlotCount; ++slot) {
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
  if (options.slot != 0 && (options.slot < 1 || options.slot > kSlotCount))
    throw UsageError("--slot " + std::to_string(options.slot) + ": a slot is 1 to 56");
  CheckWeekOption(options.week);

  BackOfficeStore store(options.store);
  PrinterSettings printer;
  if (form.needsPrinterSettings) printer = ReadPrinterSettings(store);
  const WeekCards week = ReadWeekCards(store, WeekFileOf(options, store, clock));
  return form.write(week, ChosenSlots(options, week), printer);
}

}  // namespace shiftlog
