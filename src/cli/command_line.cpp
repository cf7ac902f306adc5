#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "cli/command_error.h"
#include "cli/export_command.h"
#include "cli/status_report.h"
#include "host/whole_file.h"

#ifndef SHIFTLOG_VERSION
#define SHIFTLOG_VERSION "unknown"
#endif

namespace shiftlog {

namespace {

constexpr std::string_view kCommands[] = {"export", "status"};

void AddStoreOptions(CLI::App& command, StoreOptions& store) {
  command
      .add_option(
          "--store", store.folder,
          "The store's folder, where the register starts the time clock (default: the current folder)")
      ->type_name("DIR");
  command
      .add_option(
          "--config", store.configName,
          "The configuration name: the register data file NAME.TIL in the store's folder (default: the "
          "only *.TIL file there)")
      ->type_name("NAME");
}

void AddExportCommand(CLI::App& app, ExportOptions& options) {
  CLI::App* command = app.add_subcommand(
      "export",
      "Write the time cards of one week: every card with a name or a time on it, unless told otherwise");
  AddStoreOptions(*command, options.store);
  command
      ->add_option("--week", options.week,
                   "Any day of the week as YYYY-MM-DD, or the card file's name YYYYMMDD (default: this week)")
      ->type_name("DATE");
  command
      ->add_option("--format", options.format,
                   "csv: the lines of a transmitted DATA file; text: the pages of a transmitted TEXT file; "
                   "json: one object per card")
      ->check(CLI::IsMember(ExportFormatNames()))
      ->capture_default_str();
  CLI::Option* all = command->add_flag("--all", options.all, "All 56 cards, blank ones too");
  CLI::Option* slot =
      command->add_option("--slot", options.slot, "Only the card of slot N (1-56), even when blank")
          ->type_name("N")
          ->check(CLI::Range(1, kSlotCount));
  all->excludes(slot);
  command
      ->add_option("--output", options.output,
                   "Write to FILE, whole or not at all, instead of standard output")
      ->type_name("FILE");
  command->footer("Example: shiftlog export --store /srv/store --week 2012-12-15 --output week.csv");
}

void AddStatusCommand(CLI::App& app, StatusOptions& options) {
  CLI::App* command = app.add_subcommand(
      "status", "Tell who is clocked in on a day, or list the punches of a week that have no partner");
  AddStoreOptions(*command, options.store);
  command->add_option("--date", options.date, "The day as YYYY-MM-DD (default: today)")->type_name("DATE");
  command->add_flag(
      "--week", options.week,
      "Every day of the date's week with an IN or an OUT without its partner, by associate and day");
  command->add_option("--format", options.format, "text: an aligned table; csv; json")
      ->check(CLI::IsMember({"text", "csv", "json"}))
      ->capture_default_str();
  command->footer("Example: shiftlog status --store /srv/store --date 2012-12-15 --week");
}

// Words the parser did not expect: an option the command does not have, or an argument too many.
std::string UnexpectedWords(const CLI::ExtrasError& error) {
  const std::string text = error.what();
  const size_t colon = text.find(": ");
  const std::string words = colon == std::string::npos ? text : text.substr(colon + 2);
  const bool option = words.rfind('-', 0) == 0 || words.find(" -") != std::string::npos;
  return (option ? "unknown option: " : "unexpected argument: ") + words;
}

// A message of the parser on one line.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

bool IsCommand(std::string_view word) {
  for (std::string_view command : kCommands) {
    if (word == command) return true;
  }
  return false;
}

void Write(std::ostream& out, const std::string& bytes) {
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) throw StoreError("cannot write to standard output");
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err, Clock& clock) {
  CLI::App app(
      "The back office of the shiftlog time clock: a week's time cards for payroll, and who is "
      "clocked in. Without a command, shiftlog is the time clock the cash-register program starts.",
      "shiftlog");
  app.set_version_flag("--version", "shiftlog " SHIFTLOG_VERSION, "Show the version and end");
  app.require_subcommand(1);
  app.footer("Run shiftlog COMMAND --help for the options of a command.");
  app.get_formatter()->column_width(24);
  ExportOptions exportOptions;
  StatusOptions statusOptions;
  AddExportCommand(app, exportOptions);
  AddStatusCommand(app, statusOptions);

  // A word where the command belongs that is no command: say so rather than leave the parser
  // to call it an unexpected argument.
  if (argc > 1 && (argv[1][0] != '-' || argv[1][1] == '\0') && !IsCommand(argv[1])) {
    err << "shiftlog: unknown command \"" << argv[1]
        << "\" (commands: export, status; see shiftlog --help)\n";
    return kExitUsage;
  }
  std::string who = "shiftlog";
  try {
    try {
      app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
      if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
        app.exit(error, out, err);  // --help or --version
        return kExitSuccess;
      }
      for (const CLI::App* command : app.get_subcommands()) who += " " + command->get_name();
      if (const auto* extras = dynamic_cast<const CLI::ExtrasError*>(&error))
        throw UsageError(UnexpectedWords(*extras));
      if (app.get_subcommands().empty()) {
        throw UsageError(std::string(argc > 1 ? argv[1] : "") +
                         ": not an option of shiftlog itself; a command comes first: export or status (see "
                         "shiftlog --help)");
      }
      throw UsageError(OneLine(error.what()));
    }
    if (app.got_subcommand("export")) {
      who += " export";
      const std::string bytes = ExportCards(exportOptions, clock);
      if (exportOptions.output.empty()) {
        Write(out, bytes);
      } else if (const Status written = WriteWholeFile(exportOptions.output, bytes); !written) {
        throw StoreError("cannot write " + exportOptions.output + ": " + RunTimeErrorText(written.error));
      }
    } else {
      who += " status";
      Write(out, StatusReport(statusOptions, clock));
    }
    return kExitSuccess;
  } catch (const CommandError& error) {
    err << who << ": " << error.what() << "\n";
    return error.exitStatus;
  } catch (const std::exception& error) {
    err << who << ": " << error.what() << "\n";
    return kExitStoreUnreadable;
  }
}

int RunCommandLine(int argc, const char* const* argv) {
  SystemClock clock;
  return RunCommandLine(argc, argv, std::cout, std::cerr, clock);
}

}  // namespace shiftlog
