// One run of a program on a pseudo-terminal of its own, as a station's terminal runs the time
// clock: the program's output goes into a TerminalImage (what the station's screen shows), keys
// go in as the terminal sends them, and the run can be killed at any moment.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/terminal_image.h"

namespace shiftlog::stress {

class PtyRun {
 public:
  PtyRun() = default;
  PtyRun(const PtyRun&) = delete;
  PtyRun& operator=(const PtyRun&) = delete;
  ~PtyRun();

  // Starts program in folder on a new 80 x 25 pseudo-terminal with exactly the environment
  // given ("NAME=value"). False when no terminal or process could be made.
  bool Start(const std::filesystem::path& program, const std::filesystem::path& folder,
             const std::vector<std::string>& environment);

  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  int OutputFd() const { return master_; }

  // Takes whatever output is waiting into the image; false once the terminal has closed
  // (the program and whatever it started have gone).
  bool ReadOutput();
  // Keys as bytes a terminal sends.
  void Send(std::string_view bytes);

  // The exit status (or 128 + signal) once the process has ended; waits for it when wait.
  std::optional<int> Reap(bool wait);
  // SIGKILL, then waits for the process, so that no dead station lingers as a zombie.
  int Kill();

  TerminalImage image;
  // Called with the process number once the process has ended and been reaped.
  std::function<void(pid_t)> onEnded;

 private:
  void CloseTerminal();
  pid_t pid_ = -1;
  int master_ = -1;
};

}  // namespace shiftlog::stress
