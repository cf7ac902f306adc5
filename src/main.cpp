// shiftlog: the time clock the cash-register program starts for each punch, and with a
// command word (export, status) the back-office command line.
//
// main() wires the real terminal, the system clock and the host into a Program and runs it.
// Every way out restores the terminal: the normal end, an end chosen in the run-time error
// report (ProgramEnd), an exception nothing else caught (reported first), and the hand-over
// to the cash-register program (the host restores it just before the process is replaced).
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "cli/command_line.h"
#include "console/real_terminal.h"
#include "frame/program.h"
#include "frame/program_end.h"
#include "frame/run_time_error_report.h"
#include "frame/start_up.h"
#include "host/clock.h"
#include "host/real_host.h"

namespace {

using namespace shiftlog;

// The terminal the Program holds. It forwards to the real terminal of the moment, so that the
// terminal can be taken back after a hand-over that failed once the terminal was restored.
class TerminalHandle : public Terminal {
 public:
  explicit TerminalHandle(std::unique_ptr<RealTerminal> terminal) : terminal_(std::move(terminal)) {}
  void Present(const Frame& frame) override {
    if (terminal_) terminal_->Present(frame);
  }
  std::optional<KeyText> ReadKey(int timeoutMs) override {
    if (!terminal_) throw ProgramEnd{kExitRunTimeError};  // no keyboard left to wait on
    return terminal_->ReadKey(timeoutMs);
  }
  void Beep() override {
    if (terminal_) terminal_->Beep();
  }
  void Restore() {
    if (terminal_) terminal_->Restore();
  }
  void Reopen() { terminal_ = RealTerminal::Open(); }

 private:
  std::unique_ptr<RealTerminal> terminal_;
};

int Run() {
  std::string whyNot;
  std::unique_ptr<RealTerminal> real = RealTerminal::Open(&whyNot);
  if (!real) {
    std::fprintf(stderr, "shiftlog: cannot use this terminal: %s\n", whyNot.c_str());
    return kExitRunTimeError;
  }
  TerminalHandle terminal(std::move(real));
  SystemClock clock;
  RealHost host;
  host.beforeStart = [&terminal] { terminal.Restore(); };
  host.afterFailedStart = [&terminal] { terminal.Reopen(); };
  Program program(terminal, clock, host);

  int status = kExitNormal;
  try {
    status = RunTimeClock(program);
  } catch (const ProgramEnd& end) {
    status = end.exitStatus;
  } catch (const std::exception& failure) {
    status = kExitRunTimeError;
    try {
      RunTimeErrorReport(program, RunTimeErrorOf(failure), false);
    } catch (...) {
      // The report ends the program in any case.
    }
  }
  terminal.Restore();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  // With a command word it is the back-office command line; the register starts the time
  // clock without arguments.
  if (argc > 1) return RunCommandLine(argc, argv);
  return Run();
}
