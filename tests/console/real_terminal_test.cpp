#include "console/real_terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace shiftlog {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A pseudo-terminal: the program's side is the slave, the test plays the terminal on the
// master side.
struct Pty {
  int master = -1;
  int slave = -1;
  explicit Pty(int rows = 25, int columns = 80) {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
      slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    Resize(rows, columns);
  }
  ~Pty() {
    if (slave >= 0) close(slave);
    if (master >= 0) close(master);
  }
  void Resize(int rows, int columns) const {
    winsize size{static_cast<unsigned short>(rows), static_cast<unsigned short>(columns), 0, 0};
    ioctl(master, TIOCSWINSZ, &size);
  }
  void Type(const std::string& bytes) const {
    ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  termios Modes() const {
    termios t{};
    tcgetattr(slave, &t);
    return t;
  }
};

// Reads what the program writes to the terminal, so its writes never block.
class Screenshot {
 public:
  explicit Screenshot(int master) : master_(master), reader_([this] { Run(); }) {}
  ~Screenshot() {
    stop_ = true;
    reader_.join();
  }
  bool WaitFor(const std::string& text, int timeoutMs = 2000) {
    const auto start = Clock::now();
    while (MsSince(start) < timeoutMs) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (seen_.find(text) != std::string::npos) return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  std::string Take() {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let the last writes arrive
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(seen_, {});
  }

 private:
  void Run() {
    while (!stop_) {
      pollfd in{master_, POLLIN, 0};
      if (poll(&in, 1, 10) <= 0) continue;
      char buffer[4096];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) continue;
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.append(buffer, static_cast<size_t>(n));
    }
  }
  int master_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::string seen_;
  std::thread reader_;
};

Frame HelloFrame() {
  Screen screen;
  screen.SetColour(15, 1);
  screen.ClearScreen();
  screen.Locate(2, 3, false);
  screen.PrintText("HELLO \xc9\xcd\xbb");
  return screen.CurrentFrame();
}

TerminalTraits Xterm() {
  return TraitsFor("xterm-256color", "", true);
}

bool Raw(const termios& t) {
  return (t.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) == 0 && (t.c_iflag & (IXON | ICRNL)) == 0 &&
         (t.c_oflag & OPOST) == 0;
}

// Waits until the program on the other side has put the terminal into raw mode.
bool WaitForRaw(const Pty& pty) {
  const auto start = Clock::now();
  while (MsSince(start) < 3000) {
    if (Raw(pty.Modes())) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST(TerminalTraits, ColoursAndCursorShapeFollowTheTerminalsName) {
  EXPECT_EQ(TraitsFor("linux", "", true).render.colours, ColourLevel::kEight);
  EXPECT_EQ(TraitsFor("linux", "", true).render.cursorShape, CursorShapeControl::kLinux);
  EXPECT_EQ(TraitsFor("screen", "", true).render.colours, ColourLevel::kSixteen);
  EXPECT_EQ(TraitsFor("tmux-256color", "", true).render.colours, ColourLevel::k256);
  EXPECT_EQ(TraitsFor("xterm-256color", "truecolor", false).render.colours, ColourLevel::kTrueColour);
  EXPECT_FALSE(TraitsFor("xterm-256color", "truecolor", false).render.utf8);
  EXPECT_TRUE(TraitsFor("xterm", "", true).xterm);
  EXPECT_FALSE(TraitsFor("tmux-256color", "", true).xterm);
}

TEST(RealTerminal, RawModeIsSetOnTheWayInAndRestoredOnTheWayOut) {
  Pty pty;
  ASSERT_GE(pty.slave, 0);
  const termios original = pty.Modes();
  ASSERT_FALSE(Raw(original));
  Screenshot screen(pty.master);
  {
    RealTerminal terminal(pty.slave, pty.slave, Xterm());
    terminal.Present(HelloFrame());
    EXPECT_TRUE(Raw(pty.Modes()));
    EXPECT_TRUE(screen.WaitFor("\x1b[2J"));
    const std::string entered = screen.Take();
    EXPECT_EQ(entered.rfind("\x1b[?1049h\x1b[?1036s\x1b[?1036h", 0), 0u);
    EXPECT_NE(entered.find("HELLO \u2554\u2550\u2557"), std::string::npos);

    terminal.Restore();
    EXPECT_EQ(pty.Modes().c_lflag, original.c_lflag);
    EXPECT_EQ(pty.Modes().c_iflag, original.c_iflag);
    EXPECT_EQ(screen.Take(), "\x1b[0m\x1b[0 q\x1b[?25h\x1b[?1036r\x1b[?1049l");
    const auto written = terminal.BytesWritten();
    terminal.Restore();
    EXPECT_EQ(terminal.BytesWritten(), written);

    // Drawing again sets the terminal up again, with the whole screen.
    terminal.Present(HelloFrame());
    EXPECT_TRUE(Raw(pty.Modes()));
    EXPECT_TRUE(screen.WaitFor("HELLO"));
  }
  EXPECT_EQ(pty.Modes().c_lflag, original.c_lflag);
  EXPECT_TRUE(screen.WaitFor("\x1b[?1049l"));
}

TEST(RealTerminal, KeysAreReadWithoutSignalsAndWaitingDoesNotSpin) {
  Pty pty;
  Screenshot screen(pty.master);
  RealTerminal terminal(pty.slave, pty.slave, Xterm());
  terminal.Present(HelloFrame());

  // Ctrl+C and Ctrl+Z are keys like any other: they neither end nor stop the time clock.
  pty.Type("\x1b[2;5~a\x03\x1a\xc3\xa9");
  EXPECT_EQ(terminal.ReadKey(1000), ExtendedKey(146));
  EXPECT_EQ(terminal.ReadKey(1000), "a");
  EXPECT_EQ(terminal.ReadKey(1000), "\x03");
  EXPECT_EQ(terminal.ReadKey(1000), "\x1a");
  EXPECT_EQ(terminal.ReadKey(1000), "\x82");

  pty.Type("\x1b");
  auto start = Clock::now();
  EXPECT_EQ(terminal.ReadKey(1000), "\x1b");
  EXPECT_GE(MsSince(start), KeyDecoder::kEscapeWaitMs - 5);
  EXPECT_LT(MsSince(start), 500);

  rusage before{}, after{};
  getrusage(RUSAGE_THREAD, &before);
  start = Clock::now();
  EXPECT_EQ(terminal.ReadKey(300), std::nullopt);
  EXPECT_GE(MsSince(start), 295);
  getrusage(RUSAGE_THREAD, &after);
  const long cpuUs = (after.ru_utime.tv_sec - before.ru_utime.tv_sec) * 1000000L +
                     (after.ru_utime.tv_usec - before.ru_utime.tv_usec) +
                     (after.ru_stime.tv_sec - before.ru_stime.tv_sec) * 1000000L +
                     (after.ru_stime.tv_usec - before.ru_stime.tv_usec);
  EXPECT_LT(cpuUs, 20000) << "waiting for a key must sleep";

  start = Clock::now();
  EXPECT_EQ(terminal.ReadKey(0), std::nullopt);
  EXPECT_LT(MsSince(start), 50);
}

TEST(RealTerminal, TooSmallTerminalAsksToBeEnlargedAndRedrawsOnceItIs) {
  Pty pty(25, 80);
  Screenshot screen(pty.master);
  RealTerminal terminal(pty.slave, pty.slave, Xterm());
  terminal.InstallSignalHandlers();
  terminal.Present(HelloFrame());
  ASSERT_TRUE(screen.WaitFor("HELLO"));
  screen.Take();

  pty.Resize(20, 70);
  raise(SIGWINCH);
  EXPECT_EQ(terminal.ReadKey(50), std::nullopt);
  EXPECT_TRUE(screen.WaitFor("Please enlarge this window to at least 80 x 25 (now 70 x 20)."));
  EXPECT_EQ(terminal.Rows(), 20);
  // Keys still arrive, and frames presented meanwhile do not overwrite the request.
  pty.Type("k");
  EXPECT_EQ(terminal.ReadKey(1000), "k");
  screen.Take();
  terminal.Present(HelloFrame());
  EXPECT_EQ(screen.Take(), "");

  pty.Resize(30, 100);
  raise(SIGWINCH);
  EXPECT_EQ(terminal.ReadKey(50), std::nullopt);
  EXPECT_TRUE(screen.WaitFor("HELLO"));
  EXPECT_NE(screen.Take().find("\x1b[2J"), std::string::npos);
}

TEST(RealTerminal, CrashSignalRestoresTheTerminalAndStillEndsTheProgram) {
  Pty pty;
  const termios original = pty.Modes();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    RealTerminal terminal(pty.slave, pty.slave, Xterm());
    terminal.InstallSignalHandlers();
    terminal.Present(HelloFrame());
    std::abort();
  }
  // The reader thread starts after the fork: a child forked while a thread runs can inherit a
  // lock held by that thread (the allocator's) and hang on its way out.
  Screenshot screen(pty.master);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status));
  if (WIFSIGNALED(status)) {
    EXPECT_EQ(WTERMSIG(status), SIGABRT);
  }
  EXPECT_EQ(pty.Modes().c_lflag, original.c_lflag);
  EXPECT_TRUE(screen.WaitFor("\x1b[?25h\x1b[?1036r\x1b[?1049l"));
}

TEST(RealTerminal, TerminateSignalRestoresTheTerminalAndEndsWithItsCode) {
  for (const int signal : {SIGTERM, SIGINT}) {
    Pty pty;
    const termios original = pty.Modes();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      RealTerminal terminal(pty.slave, pty.slave, Xterm());
      terminal.InstallSignalHandlers();
      terminal.Present(HelloFrame());
      for (;;) terminal.ReadKey(-1);
    }
    Screenshot screen(pty.master);  // after the fork, as above
    ASSERT_TRUE(WaitForRaw(pty));
    ASSERT_TRUE(screen.WaitFor("HELLO"));
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    if (WIFEXITED(status)) {
      EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    }
    EXPECT_EQ(pty.Modes().c_lflag, original.c_lflag);
    EXPECT_TRUE(screen.WaitFor("\x1b[?1049l"));
  }
}

TEST(RealTerminal, OpenWithoutATerminalSaysWhy) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setsid();  // a new session has no controlling terminal
    std::string whyNot;
    auto terminal = RealTerminal::Open(&whyNot);
    _exit(terminal == nullptr && whyNot.find("/dev/tty") != std::string::npos ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace shiftlog
