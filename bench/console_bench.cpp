// Measures the console over a pseudo-terminal: what the key wait costs while it idles with
// its clock running, and what a full-screen change and a one-cell change cost in bytes and
// time. Usage: console_bench [idle seconds, default 10]
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "console/console.h"
#include "console/real_terminal.h"
#include "console/renderer.h"
#include "console/wait_key.h"
#include "host/clock.h"

using namespace shiftlog;

namespace {

using Steady = std::chrono::steady_clock;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double SecondsSince(Steady::time_point start) {
  return std::chrono::duration<double>(Steady::now() - start).count();
}

// A screen like the program's: a grey background, a blue panel with a double frame and text.
// The second variant differs in every cell (other colours, other text).
void DrawPanel(Screen& screen, int variant) {
  screen.SetColour(15, variant == 0 ? 7 : 2);
  screen.ClearScreen();
  screen.SetColour(15, variant == 0 ? 1 : 4);
  for (int row = 4; row <= 20; ++row) {
    screen.Locate(row, 10);
    std::string line(60, ' ');
    if (row == 4 || row == 20) line.assign(60, '\xcd');
    line.front() = row == 4 ? '\xc9' : row == 20 ? '\xc8' : '\xba';
    line.back() = row == 4 ? '\xbb' : row == 20 ? '\xbc' : '\xba';
    screen.PrintText(line);
  }
  for (int row = 6; row <= 18; ++row) {
    screen.Locate(row, 14);
    screen.PrintText(variant == 0 ? "Monday     08:00  12:00  12:30  17:00"
                                  : "Tuesday    07:45  11:30  12:15  16:30");
  }
  screen.SetColour(0, 3);
  screen.Locate(25, 1);
  screen.PrintText(std::string(80, variant == 0 ? ' ' : '-'));
  screen.Locate(1, 1, false);
}

}  // namespace

int main(int argc, char** argv) {
  const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 10;
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("console_bench: pseudo-terminal");
    return 1;
  }
  const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
  winsize size{25, 80, 0, 0};
  ioctl(master, TIOCSWINSZ, &size);

  // The terminal's side: reads everything so the program's writes never block.
  std::atomic<bool> stop{false};
  std::thread reader([&] {
    char buffer[8192];
    while (!stop) {
      pollfd in{master, POLLIN, 0};
      if (poll(&in, 1, 50) > 0 && read(master, buffer, sizeof buffer) <= 0) break;
    }
  });

  {
    RealTerminal terminal(slave, slave, TraitsFor("xterm-256color", "", true));
    SystemClock clock;
    Console console(terminal, clock);
    DrawPanel(console.screen, 0);
    console.Present();

    // Idle in the key wait with the clock and the time tag running, until a key comes.
    std::thread typist([&] {
      std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
      [[maybe_unused]] ssize_t n = write(master, "x", 1);
    });
    const std::uint64_t bytesBefore = terminal.BytesWritten();
    const double cpuBefore = CpuSeconds();
    const auto idleStart = Steady::now();
    WaitKey(console, true, 70, 1, "");
    const double wall = SecondsSince(idleStart);
    const double cpu = CpuSeconds() - cpuBefore;
    const double bytes = static_cast<double>(terminal.BytesWritten() - bytesBefore);
    typist.join();
    std::printf("idle in WaitKey (%.1f s, clock and tag running):\n", wall);
    std::printf("  CPU seconds per 10 s: %.4f (goal < 0.05)\n", cpu * 10.0 / wall);
    std::printf("  bytes to the terminal per second: %.1f (goal < 64)\n", bytes / wall);

    // A full-screen change: two different screens in turn.
    constexpr int kFullRounds = 200;
    Screen a, b;
    DrawPanel(a, 0);
    DrawPanel(b, 1);
    const Frame frames[2] = {a.CurrentFrame(), b.CurrentFrame()};
    terminal.Present(frames[0]);
    std::uint64_t start = terminal.BytesWritten();
    auto t0 = Steady::now();
    for (int i = 1; i <= kFullRounds; ++i) terminal.Present(frames[i % 2]);
    double perChange = SecondsSince(t0) / kFullRounds;
    std::printf("full-screen change: %.0f bytes, %.1f us (rendering and writing)\n",
                static_cast<double>(terminal.BytesWritten() - start) / kFullRounds, perChange * 1e6);
    t0 = Steady::now();
    std::size_t rendered = 0;
    for (int i = 1; i <= kFullRounds; ++i)
      rendered += RenderFrame(&frames[(i + 1) % 2], frames[i % 2], terminal.Traits().render).size();
    std::printf("  rendering alone: %.1f us\n", SecondsSince(t0) / kFullRounds * 1e6);
    t0 = Steady::now();
    for (int i = 1; i <= kFullRounds; ++i)
      rendered += RenderFrame(nullptr, frames[i % 2], terminal.Traits().render).size();
    std::printf("  full redraw (first frame, after a resize): %.0f bytes, rendering %.1f us\n",
                static_cast<double>(RenderFrame(nullptr, frames[0], terminal.Traits().render).size()),
                SecondsSince(t0) / kFullRounds * 1e6);

    // A one-cell change.
    constexpr int kCellRounds = 2000;
    Frame cell = frames[0];
    terminal.Present(cell);
    start = terminal.BytesWritten();
    t0 = Steady::now();
    for (int i = 1; i <= kCellRounds; ++i) {
      cell.page.At(12, 40).character = static_cast<std::uint8_t>('0' + i % 10);
      terminal.Present(cell);
    }
    perChange = SecondsSince(t0) / kCellRounds;
    std::printf("one-cell change: %.0f bytes, %.1f us (rendering and writing)\n",
                static_cast<double>(terminal.BytesWritten() - start) / kCellRounds, perChange * 1e6);
    terminal.Restore();
    if (rendered == 0) std::printf("nothing rendered\n");  // keeps the rendering loops from being left out
  }
  stop = true;
  reader.join();
  close(slave);
  close(master);
  return 0;
}
