// The terminal in front of the associate: /dev/tty in raw mode on the alternate screen,
// drawn through the renderer and read through the key decoder. It puts the terminal back as
// it found it on every way out: Restore(), normal exit, SIGTERM, SIGHUP, SIGINT and SIGQUIT
// (taken up the next time the program presents a frame or waits for a key), and crash signals.
#pragma once

#include <termios.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "console/key_decoder.h"
#include "console/renderer.h"
#include "console/terminal.h"

namespace shiftlog {

// What the terminal can show, as guessed from its name and the locale.
struct TerminalTraits {
  RenderOptions render;
  bool xterm = false;  // accepts xterm's private modes (meta sends Esc)
};

// TERM and COLORTERM as the environment gives them; utf8 from the locale.
TerminalTraits TraitsFor(const std::string& term, const std::string& colorTerm, bool utf8);

// Whether the user's locale (LC_ALL, LC_CTYPE, LANG) uses UTF-8. Leaves the program's own
// locale as it was.
bool LocaleIsUtf8();

class RealTerminal : public Terminal {
 public:
  // Opens /dev/tty with traits from TERM, COLORTERM and the locale, sets it up and installs
  // the signal handling. Null when there is no terminal; *whyNot then says why.
  static std::unique_ptr<RealTerminal> Open(std::string* whyNot = nullptr);

  // Over descriptors the caller owns and keeps open (a pseudo-terminal in tests and the
  // benchmark). Sets the terminal up; signal handling is separate (InstallSignalHandlers).
  RealTerminal(int inputFd, int outputFd, const TerminalTraits& traits);
  ~RealTerminal() override;
  RealTerminal(const RealTerminal&) = delete;
  RealTerminal& operator=(const RealTerminal&) = delete;

  void Present(const Frame& frame) override;
  std::optional<KeyText> ReadKey(int timeoutMs) override;
  void Beep() override;

  // Leaves raw mode and the alternate screen, shows the cursor and resets the colours. Safe
  // to call more than once; a later Present or ReadKey sets the terminal up again.
  void Restore();

  // SIGWINCH, SIGTERM, SIGHUP, SIGINT, SIGQUIT and SIGCONT through a self-pipe that wakes
  // ReadKey; crash signals restore the terminal and then take their usual course; restores at
  // exit too.
  // One terminal at a time owns the signals: the last one to call this.
  void InstallSignalHandlers();

  // The terminal's size as last seen.
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  // Bytes written to the terminal so far (the benchmark reads it).
  std::uint64_t BytesWritten() const { return bytesWritten_; }
  const TerminalTraits& Traits() const { return traits_; }

 private:
  void Enter();
  void Write(const std::string& bytes);
  void TakeSignals();
  void UpdateSize();
  void Draw();
  bool Fits() const { return rows_ >= kRows && columns_ >= kColumns; }
  [[noreturn]] void EndOnSignal(int signal);

  int input_;
  int output_;
  int ownedFd_ = -1;  // /dev/tty when Open made it
  TerminalTraits traits_;
  KeyDecoder decoder_;
  termios saved_{};
  bool haveSaved_ = false;
  bool active_ = false;
  bool signalsInstalled_ = false;
  int rows_ = kRows;
  int columns_ = kColumns;
  std::optional<Frame> wanted_;  // the frame the program last presented
  std::optional<Frame> shown_;   // what the terminal shows; empty when unknown
  bool askingToEnlarge_ = false;
  std::uint64_t bytesWritten_ = 0;
};

}  // namespace shiftlog
