#include "stress/pty_run.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace shiftlog::stress {

PtyRun::~PtyRun() {
  if (pid_ > 0) Kill();
  CloseTerminal();
}

bool PtyRun::Start(const std::filesystem::path& program, const std::filesystem::path& folder,
                   const std::vector<std::string>& environment) {
  image = TerminalImage();
  // Everything the child needs is made before the fork: it only changes folder and execs.
  const std::string programText = program.string();
  const std::string folderText = folder.string();
  std::vector<char*> argv = {const_cast<char*>(programText.c_str()), nullptr};
  std::vector<char*> envp;
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);

  winsize size{};
  size.ws_row = 25;
  size.ws_col = 80;
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, &size);
  if (pid < 0) return false;
  if (pid == 0) {
    if (::chdir(folderText.c_str()) != 0) ::_exit(126);
    // The stations yield to the bench, so that its kills come when it means them to.
    [[maybe_unused]] const int niceness = ::nice(5);
    ::execve(programText.c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  // The next station's program must not hold this terminal open.
  ::fcntl(master, F_SETFD, FD_CLOEXEC);
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  pid_ = pid;
  master_ = master;
  return true;
}

bool PtyRun::ReadOutput() {
  if (master_ < 0) return false;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n > 0) {
      image.Feed(std::string_view(buffer, static_cast<size_t>(n)));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return true;
    CloseTerminal();  // EIO: nobody has the terminal open any more
    return false;
  }
}

void PtyRun::Send(std::string_view bytes) {
  while (master_ >= 0 && !bytes.empty()) {
    const ssize_t n = ::write(master_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return;  // the program has gone; its end is noticed on reading
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

std::optional<int> PtyRun::Reap(bool wait) {
  if (pid_ <= 0) return std::nullopt;
  int status = 0;
  pid_t done;
  do {
    done = ::waitpid(pid_, &status, wait ? 0 : WNOHANG);
  } while (done < 0 && errno == EINTR);
  if (done == 0) return std::nullopt;
  const pid_t ended = pid_;
  pid_ = -1;
  if (done > 0 && onEnded) onEnded(ended);
  if (done < 0) return -1;
  ReadOutput();
  CloseTerminal();
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
}

int PtyRun::Kill() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGKILL);
  const std::optional<int> status = Reap(true);
  return status.value_or(-1);
}

void PtyRun::CloseTerminal() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

}  // namespace shiftlog::stress
