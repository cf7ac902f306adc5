#include "console/real_terminal.h"

#include <fcntl.h>
#include <langinfo.h>
#include <poll.h>
#include <signal.h>
#include <strings.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "host/clock.h"

namespace shiftlog {
namespace {

constexpr const char* kEnterAlternateScreen = "\x1b[?1049h";
constexpr const char* kLeaveAlternateScreen = "\x1b[?1049l";
// xterm proper sends Alt+key as an 8-bit character unless told to send Esc first; the
// setting is saved on the way in and given back on the way out.
constexpr const char* kXtermMetaSendsEscape = "\x1b[?1036s\x1b[?1036h";
constexpr const char* kXtermMetaRestore = "\x1b[?1036r";

// Signal handlers can reach nothing but globals. What they touch is kept to flags, the
// self-pipe and, for crash signals, the bytes and settings that put the terminal back.
int selfPipe[2] = {-1, -1};
volatile sig_atomic_t terminateSignal = 0;
volatile sig_atomic_t resized = 0;
volatile sig_atomic_t continued = 0;
RealTerminal* signalOwner = nullptr;

volatile sig_atomic_t crashTtyFd = -1;
volatile sig_atomic_t crashOutputFd = -1;
volatile sig_atomic_t crashHaveTermios = 0;
termios crashTermios{};
char crashBytes[128];
volatile sig_atomic_t crashLength = 0;

constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
// SIGINT and SIGQUIT cannot come from the keyboard in raw mode; sent with kill they end the
// program like SIGTERM, with the terminal restored.
constexpr int kNotifySignals[] = {SIGWINCH, SIGTERM, SIGHUP, SIGINT, SIGQUIT, SIGCONT};

void NotifyHandler(int signal) {
  const int savedErrno = errno;
  if (signal == SIGTERM || signal == SIGHUP || signal == SIGINT || signal == SIGQUIT) {
    terminateSignal = signal;
  } else if (signal == SIGWINCH) {
    resized = 1;
  } else if (signal == SIGCONT) {
    continued = 1;
  }
  if (selfPipe[1] >= 0) {
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] ssize_t ignored = write(selfPipe[1], &byte, 1);
  }
  errno = savedErrno;
}

// Only async-signal-safe calls: write, tcsetattr, signal, raise.
void CrashHandler(int signal) {
  const int output = crashOutputFd;
  if (output >= 0) {
    [[maybe_unused]] ssize_t ignored = write(output, crashBytes, static_cast<size_t>(crashLength));
    if (crashHaveTermios && crashTtyFd >= 0) tcsetattr(crashTtyFd, TCSANOW, &crashTermios);
  }
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void RestoreAtExit() {
  if (signalOwner != nullptr) signalOwner->Restore();
}

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

bool NamesUtf8(const char* text) {
  if (text == nullptr) return false;
  const std::string s(text);
  return s.find("UTF-8") != std::string::npos || s.find("utf-8") != std::string::npos ||
         s.find("UTF8") != std::string::npos || s.find("utf8") != std::string::npos;
}

}  // namespace

TerminalTraits TraitsFor(const std::string& term, const std::string& colorTerm, bool utf8) {
  TerminalTraits traits;
  traits.render.utf8 = utf8;
  if (StartsWith(term, "linux")) {
    // The Linux console takes 90-97 only on newer kernels and bright backgrounds not at
    // all; bold gives the bright foregrounds everywhere.
    traits.render.colours = ColourLevel::kEight;
    traits.render.cursorShape = CursorShapeControl::kLinux;
    return traits;
  }
  if (StartsWith(term, "vt") || term == "ansi") {
    traits.render.colours = ColourLevel::kEight;
    traits.render.cursorShape = CursorShapeControl::kNone;
    return traits;
  }
  // xterm and all that follow it (VTE, konsole, kitty, alacritty), tmux, screen and rxvt
  // take the 16 colours whatever their description says, and the cursor shape sequence.
  traits.render.colours = ColourLevel::kSixteen;
  if (term.find("256color") != std::string::npos) traits.render.colours = ColourLevel::k256;
  if (colorTerm == "truecolor" || colorTerm == "24bit") traits.render.colours = ColourLevel::kTrueColour;
  traits.render.cursorShape = CursorShapeControl::kDecscusr;
  traits.xterm = StartsWith(term, "xterm");
  return traits;
}

bool LocaleIsUtf8() {
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string saved = current != nullptr ? current : "C";
  bool utf8 = false;
  if (std::setlocale(LC_CTYPE, "") != nullptr) {
    const char* codeset = nl_langinfo(CODESET);
    utf8 = codeset != nullptr && (strcasecmp(codeset, "UTF-8") == 0 || strcasecmp(codeset, "UTF8") == 0);
  } else {
    // The locale named is not installed; its name still says what the terminal expects.
    const char* name = std::getenv("LC_ALL");
    if (name == nullptr || *name == '\0') name = std::getenv("LC_CTYPE");
    if (name == nullptr || *name == '\0') name = std::getenv("LANG");
    utf8 = NamesUtf8(name);
  }
  std::setlocale(LC_CTYPE, saved.c_str());
  return utf8;
}

std::unique_ptr<RealTerminal> RealTerminal::Open(std::string* whyNot) {
  auto fail = [whyNot](const std::string& reason) {
    if (whyNot != nullptr) *whyNot = reason;
    return std::unique_ptr<RealTerminal>();
  };
  const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0)
    return fail(std::string("there is no terminal to run in (/dev/tty: ") + std::strerror(errno) + ")");
  if (!isatty(fd)) {
    close(fd);
    return fail("/dev/tty is not a terminal");
  }
  const char* term = std::getenv("TERM");
  const char* colorTerm = std::getenv("COLORTERM");
  const std::string termName = term != nullptr ? term : "";
  if (termName == "dumb") {
    close(fd);
    return fail("the terminal (TERM=dumb) cannot place the cursor; a full-screen terminal is needed");
  }
  auto terminal = std::make_unique<RealTerminal>(
      fd, fd, TraitsFor(termName, colorTerm != nullptr ? colorTerm : "", LocaleIsUtf8()));
  terminal->ownedFd_ = fd;
  terminal->InstallSignalHandlers();
  // Raw mode from the start, so Ctrl+C cannot end the program half way through start-up.
  terminal->Enter();
  return terminal;
}

RealTerminal::RealTerminal(int inputFd, int outputFd, const TerminalTraits& traits)
    : input_(inputFd), output_(outputFd), traits_(traits), decoder_(traits.render.utf8) {}

RealTerminal::~RealTerminal() {
  Restore();
  if (signalOwner == this) {
    // Nobody is left to act on these signals: let them take their usual course again.
    for (int s : kNotifySignals) ::signal(s, SIG_DFL);
    for (int s : kCrashSignals) ::signal(s, SIG_DFL);
    signalOwner = nullptr;
  }
  if (ownedFd_ >= 0) close(ownedFd_);
}

void RealTerminal::InstallSignalHandlers() {
  static bool once = false;
  if (!once) {
    once = true;
    if (pipe(selfPipe) == 0) {
      for (int fd : selfPipe) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
      }
    } else {
      selfPipe[0] = selfPipe[1] = -1;
    }
    std::atexit(RestoreAtExit);
    // A crash from a stack overflow needs a stack of its own to restore the terminal on.
    static char alternateStack[64 * 1024];
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);
  }
  signalOwner = this;
  signalsInstalled_ = true;

  struct sigaction notify {};
  notify.sa_handler = NotifyHandler;
  sigemptyset(&notify.sa_mask);
  notify.sa_flags = SA_RESTART;
  for (int s : kNotifySignals) sigaction(s, &notify, nullptr);

  struct sigaction crash {};
  crash.sa_handler = CrashHandler;
  sigemptyset(&crash.sa_mask);
  crash.sa_flags = SA_ONSTACK;
  for (int s : kCrashSignals) sigaction(s, &crash, nullptr);

  if (active_) Enter();  // refreshes what the crash handler writes
}

void RealTerminal::Enter() {
  if (!haveSaved_ && tcgetattr(input_, &saved_) == 0) haveSaved_ = true;
  if (haveSaved_) {
    termios raw = saved_;
    // No signals from Ctrl+C, Ctrl+Z or Ctrl+\, no flow control from Ctrl+S, keys as they
    // come, nothing echoed, output exactly as written.
    raw.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF);
    raw.c_oflag &= ~OPOST;
    raw.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cflag &= ~(CSIZE | PARENB);
    raw.c_cflag |= CS8;
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(input_, TCSANOW, &raw);
  }
  if (!active_) {
    active_ = true;
    std::string enter = kEnterAlternateScreen;
    if (traits_.xterm) enter += kXtermMetaSendsEscape;
    Write(enter);
    UpdateSize();
    shown_.reset();
    askingToEnlarge_ = false;
  }
  if (signalsInstalled_ && signalOwner == this) {
    // Filled before the descriptor is published, so a crash meanwhile writes nothing half-made.
    crashOutputFd = -1;
    std::string bytes = RenderResetAttributes(traits_.render);
    if (traits_.xterm) bytes += kXtermMetaRestore;
    bytes += kLeaveAlternateScreen;
    const size_t length = bytes.size() < sizeof crashBytes ? bytes.size() : sizeof crashBytes;
    std::memcpy(crashBytes, bytes.data(), length);
    crashLength = static_cast<sig_atomic_t>(length);
    crashTermios = saved_;
    crashHaveTermios = haveSaved_ ? 1 : 0;
    crashTtyFd = input_;
    crashOutputFd = output_;
  }
}

void RealTerminal::Restore() {
  if (!active_) return;
  active_ = false;
  if (signalOwner == this) crashOutputFd = -1;
  std::string bytes = RenderResetAttributes(traits_.render);
  if (traits_.xterm) bytes += kXtermMetaRestore;
  bytes += kLeaveAlternateScreen;
  Write(bytes);
  if (haveSaved_) tcsetattr(input_, TCSANOW, &saved_);
  shown_.reset();
  askingToEnlarge_ = false;
}

void RealTerminal::Write(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(output_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      bytesWritten_ += static_cast<std::uint64_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {
      pollfd out{output_, POLLOUT, 0};
      poll(&out, 1, 1000);
    } else {
      return;  // the terminal is gone; the next read notices and ends the program
    }
  }
}

void RealTerminal::UpdateSize() {
  winsize size{};
  if (ioctl(output_, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0) {
    rows_ = size.ws_row;
    columns_ = size.ws_col;
  }
}

void RealTerminal::Draw() {
  if (!wanted_) return;
  if (!Fits()) {
    // Asked once per size; keys still reach the program meanwhile.
    if (!askingToEnlarge_) Write(RenderEnlargeRequest(rows_, columns_));
    askingToEnlarge_ = true;
    shown_.reset();
    return;
  }
  askingToEnlarge_ = false;
  const std::string bytes = RenderFrame(shown_ ? &*shown_ : nullptr, *wanted_, traits_.render);
  if (!bytes.empty()) Write(bytes);
  shown_ = wanted_;
}

void RealTerminal::TakeSignals() {
  if (signalOwner != this) return;
  if (selfPipe[0] >= 0) {
    char drain[64];
    while (read(selfPipe[0], drain, sizeof drain) > 0) {
    }
  }
  if (terminateSignal != 0) EndOnSignal(terminateSignal);
  if (continued != 0) {
    continued = 0;
    // Whoever stopped us may have put the terminal back into line mode.
    if (active_) {
      active_ = false;
      Enter();
      Draw();
    }
  }
  if (resized != 0) {
    resized = 0;
    UpdateSize();
    shown_.reset();
    askingToEnlarge_ = false;
    if (active_) Draw();
  }
}

void RealTerminal::EndOnSignal(int signal) {
  Restore();
  std::exit(128 + signal);
}

void RealTerminal::Present(const Frame& frame) {
  Enter();
  TakeSignals();
  wanted_ = frame;
  Draw();
}

std::optional<KeyText> RealTerminal::ReadKey(int timeoutMs) {
  if (!active_) Enter();
  const std::int64_t deadline = timeoutMs < 0 ? -1 : MonotonicMs() + timeoutMs;
  for (;;) {
    TakeSignals();
    std::int64_t now = MonotonicMs();
    if (auto key = decoder_.Next(now)) return key;
    int wait = deadline < 0 ? -1 : static_cast<int>(deadline > now ? deadline - now : 0);
    const int escape = decoder_.MillisecondsToDeadline(now);
    if (escape >= 0 && (wait < 0 || escape < wait)) wait = escape;

    pollfd fds[2] = {{input_, POLLIN, 0}, {selfPipe[0], POLLIN, 0}};
    const nfds_t count = signalOwner == this && selfPipe[0] >= 0 ? 2 : 1;
    const int ready = poll(fds, count, wait);
    if (ready < 0 && errno != EINTR) EndOnSignal(SIGHUP);  // the terminal cannot be waited on
    if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0) {
      char bytes[512];
      const ssize_t n = read(input_, bytes, sizeof bytes);
      if (n > 0) {
        decoder_.Feed(std::string_view(bytes, static_cast<size_t>(n)), MonotonicMs());
      } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        // The terminal hung up: nobody can use the time clock through it any more.
        EndOnSignal(SIGHUP);
      }
    }
    now = MonotonicMs();
    if (auto key = decoder_.Next(now)) return key;
    if (deadline >= 0 && now >= deadline) return std::nullopt;
  }
}

void RealTerminal::Beep() {
  Enter();
  Write("\a");
}

}  // namespace shiftlog
