#include "frame/hand_over.h"

#include <fstream>
#include <system_error>

#include "frame/run_time_error_report.h"
#include "host/dos_paths.h"
#include "host/whole_file.h"
#include "text/text_fields.h"

namespace shiftlog {

namespace {

constexpr const char* kHandOverFile = "TILCONFG.DAT";
// The suite's run-time holds no text longer than this; nothing past it can be the name.
constexpr size_t kLongestText = 32767;
// A DOS text file may end with Ctrl+Z; the run-time reads it as the end of the file.
constexpr char kEndOfFileMark = 26;

bool LineEnd(char c) {
  return c == '\r' || c == '\n' || c == kEndOfFileMark;
}

}  // namespace

std::string FirstItemOf(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  if (at < text.size() && text[at] == '"') {
    const size_t start = at + 1;
    size_t end = start;
    while (end < text.size() && text[end] != '"' && !LineEnd(text[end])) ++end;
    return std::string(text.substr(start, end - start));
  }
  size_t end = at;
  while (end < text.size() && text[end] != ',' && !LineEnd(text[end])) ++end;
  return TrimTrailingBlanks(text.substr(at, end - at));
}

std::optional<std::string> TakeHandOver(Program& program) {
  const std::optional<std::filesystem::path> path = ResolveDosPath(program.host, kHandOverFile);
  if (!path) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(*path, ec)) return std::nullopt;
  std::ifstream in(*path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(kLongestText, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  in.close();

  std::string name = FirstItemOf(text);
  if (!std::filesystem::remove(*path, ec) || ec) program.frame.errorFlag = 1;
  return name;
}

void ReturnToRegister(Program& program) {
  const std::optional<std::filesystem::path> path = ResolveDosPath(program.host, kHandOverFile);
  Status written =
      path ? WriteWholeFile(*path, "\"" + program.store.configName + "\"\r\n") : Status::Failed(kBadFileName);
  // Going on past a failed write still starts the cash-register program: it runs without the
  // hand-over file as it does when started by hand, and writes its own before the next punch.
  ReportIfFailed(program, written);
  program.host.StartCashRegister();
  // Still here: there is no cash-register program to start.
  RunTimeErrorReport(program, kFileNotFound);
}

}  // namespace shiftlog
