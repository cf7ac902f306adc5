// Printing through a real CUPS scheduler that the test starts itself: its own configuration
// folder, local socket and spool folder, and behind its queue a printer of the test's own (an
// AppSocket listener on the loopback address that keeps every job it receives). Skipped, with
// the reason, where the scheduler cannot be started.
#include <arpa/inet.h>
#include <cups/cups.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/real_printers.h"
#include "reports/print_time_card.h"
#include "support/test_program.h"

extern char** environ;

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::TestProgram;
using Clock = std::chrono::steady_clock;

const KeyText kEnter = "\r";

std::string FindProgram(const char* name) {
  for (const char* folder : {"/usr/sbin", "/usr/bin", "/sbin", "/bin", "/usr/local/sbin"}) {
    const std::string path = std::string(folder) + "/" + name;
    if (::access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

// The printer behind the queue: takes AppSocket connections on 127.0.0.1 and keeps the bytes
// of each one (one connection per job).
class SocketPrinter {
 public:
  SocketPrinter() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 4) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~SocketPrinter() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ >= 0) ::close(listener_);
  }
  int port() const { return port_; }
  std::vector<std::string> Jobs() {
    std::lock_guard<std::mutex> lock(mutex_);
    return jobs_;
  }
  // Waits (bounded) until count jobs have been received whole.
  bool WaitForJobs(size_t count, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline) {
      if (Jobs().size() >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

 private:
  void Serve() {
    while (!stop_) {
      pollfd ready{listener_, POLLIN, 0};
      if (::poll(&ready, 1, 100) <= 0) continue;
      const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (connection < 0) continue;
      std::string bytes;
      char buffer[4096];
      for (;;) {
        pollfd in{connection, POLLIN, 0};
        if (::poll(&in, 1, 100) == 0) {
          if (stop_) break;
          continue;
        }
        const ssize_t n = ::read(connection, buffer, sizeof buffer);
        if (n <= 0) break;
        bytes.append(buffer, static_cast<size_t>(n));
      }
      ::close(connection);
      std::lock_guard<std::mutex> lock(mutex_);
      jobs_.push_back(bytes);
    }
  }

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> jobs_;
};

// The scheduler, run in the foreground as a child of the test and stopped with it.
class Scheduler {
 public:
  explicit Scheduler(const fs::path& top) : top_(top), socket_((top / "cups.sock").string()) {}
  ~Scheduler() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      for (int i = 0; i < 100 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      if (::waitpid(pid_, &status, WNOHANG) == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
      }
    }
  }

  // Empty when it runs; else why it does not.
  std::string Start() {
    const std::string cupsd = FindProgram("cupsd");
    if (cupsd.empty()) return "cupsd is not installed (Debian package cups)";
    // The scheduler's own children (the backend) may run as another user: they must reach
    // the spool folder inside this one.
    const fs::perms open = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(top_.parent_path(), open);
    fs::permissions(top_, open);
    for (const char* folder : {"conf", "spool", "cache", "state", "tmp", "log"})
      fs::create_directory(top_ / folder);
    std::ofstream(top_ / "conf" / "cupsd.conf")
        << "Listen " << socket_ << "\n"
        << "LogLevel info\nBrowsing Off\nWebInterface No\n"
        << "DefaultAuthType None\n"
        << "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
        << "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n"
        << "</Policy>\n";
    std::ofstream(top_ / "conf" / "cups-files.conf")
        << "ServerRoot " << (top_ / "conf").string() << "\nRequestRoot " << (top_ / "spool").string()
        << "\nCacheDir " << (top_ / "cache").string() << "\nStateDir " << (top_ / "state").string()
        << "\nTempDir " << (top_ / "tmp").string() << "\nErrorLog " << (top_ / "log" / "error_log").string()
        << "\nAccessLog " << (top_ / "log" / "access_log").string() << "\nPageLog "
        << (top_ / "log" / "page_log").string() << "\nServerBin /usr/lib/cups\n"
        << "DataDir /usr/share/cups\nPrintcap " << (top_ / "printcap").string() << "\n";
    const std::string conf = (top_ / "conf" / "cupsd.conf").string();
    const std::string files = (top_ / "conf" / "cups-files.conf").string();
    const std::string log = (top_ / "log" / "cupsd.out").string();
    std::vector<std::string> arguments = {cupsd, "-f", "-c", conf, "-s", files};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int spawned = posix_spawn(&pid_, cupsd.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
      pid_ = 0;
      return "cupsd could not be started";
    }
    const auto deadline = Clock::now() + std::chrono::seconds(15);
    while (Clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = 0;
        return "cupsd ended at once: " + Tail(log) + Tail(top_ / "log" / "error_log");
      }
      if (Connectable()) return {};
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "cupsd did not open its socket: " + Tail(log) + Tail(top_ / "log" / "error_log");
  }

  const std::string& socket() const { return socket_; }
  std::string Log() const { return Tail(top_ / "log" / "error_log"); }

  // One administrative request to the scheduler; true when it was done.
  bool Ask(ipp_op_t operation, const std::string& queue, const std::string& deviceUri = "") {
    http_t* http =
        httpConnect2(socket_.c_str(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr);
    if (http == nullptr) return false;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s",
                     queue.c_str());
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    if (!deviceUri.empty()) {
      ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, deviceUri.c_str());
      ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
      ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    }
    ippDelete(cupsDoRequest(http, request, "/admin/"));
    const bool done = cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
    httpClose(http);
    return done;
  }

 private:
  bool Connectable() const {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket_.copy(address.sun_path, sizeof address.sun_path - 1);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
  }
  static std::string Tail(const fs::path& path) {
    std::ifstream in(path);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return text.size() > 2000 ? text.substr(text.size() - 2000) : text;
  }

  fs::path top_;
  std::string socket_;
  pid_t pid_ = 0;
};

TEST(CupsPrinting, JobsReachThePrinterAndAStoppedOrRefusingQueueBringsUpTheErrorScreen) {
  TempFolder folder;
  if (folder.path().string().size() > 80)
    GTEST_SKIP() << "the temporary folder's path is too long for a socket";
  Scheduler scheduler(folder.path() / "cups");
  fs::create_directory(folder.path() / "cups");
  const std::string whyNot = scheduler.Start();
  if (!whyNot.empty()) GTEST_SKIP() << "no CUPS scheduler here: " << whyNot;

  // The client looks nowhere else for settings or a default printer.
  ::setenv("HOME", folder.path().c_str(), 1);
  ::setenv("CUPS_SERVERROOT", (folder.path() / "cups" / "conf").c_str(), 1);
  ::unsetenv("LPDEST");
  ::unsetenv("PRINTER");

  SocketPrinter printer;
  ASSERT_NE(printer.port(), 0);
  const std::string deviceUri = "socket://127.0.0.1:" + std::to_string(printer.port());
  ASSERT_TRUE(scheduler.Ask(IPP_OP_CUPS_ADD_MODIFY_PRINTER, "shiftlog", deviceUri)) << cupsLastErrorString();
  ASSERT_TRUE(scheduler.Ask(IPP_OP_CUPS_SET_DEFAULT, "shiftlog")) << cupsLastErrorString();

  TestProgram t;
  t.program.store.configName = "STORE";
  t.program.printer[1] = 1;
  t.program.printer[8] = 1;
  t.program.printer.deviceName = "LPT1:";
  TimeCard card;
  card.Text(kPunchRow, 0, 1) = "08:00";
  card.Text(kPunchRow, 0, 2) = "16:30";
  const PrintedCard printed{
      card,
      "ANNA ASSOCIATE          ",
      "00000042",
      1,
      {"12-09-2012", "12-10-2012", "12-11-2012", "12-12-2012", "12-13-2012", "12-14-2012", "12-15-2012"}};
  const CardPrintSettings settings = CardPrintSettingsOf(t.program);
  std::string expected;
  for (const std::string& piece : CardPrintout(printed, settings)) expected += piece;

  // No parallel port in this device folder: LPT1: is the scheduler's default destination.
  RealPrinterPorts byDefault(folder.path() / "dev", scheduler.socket(), "", 10000);
  t.host.realPorts = &byDefault;
  EXPECT_EQ(PrintTimeCard(t.program, printed, settings), PrintOutcome::kPrinted);
  ASSERT_TRUE(printer.WaitForJobs(1, std::chrono::seconds(20))) << "the job never reached the printer:\n"
                                                                << scheduler.Log();
  EXPECT_EQ(printer.Jobs()[0], expected);  // raw: not a byte changed on the way
  EXPECT_EQ(t.terminal.Presents(), 0);

  // A stopped queue (cupsdisable, IPP Pause-Printer): the printer error screen before printing.
  RealPrinterPorts named(folder.path() / "dev", scheduler.socket(), "shiftlog", 10000);
  t.host.realPorts = &named;
  ASSERT_TRUE(scheduler.Ask(IPP_OP_PAUSE_PRINTER, "shiftlog")) << cupsLastErrorString();
  t.terminal.TypeText("2");
  t.terminal.Type(kEnter);
  EXPECT_EQ(PrintTimeCard(t.program, printed, settings), PrintOutcome::kNotPrinted);
  EXPECT_EQ(t.terminal.Text(3, 33, 16), "PRINTER  ERROR! ") << t.terminal.Dump();
  EXPECT_EQ(t.terminal.Text(3, 59, 6), "  199 ");  // off line: not selected, error

  // A queue that refuses jobs (cupsreject), with the check before printing switched off by the
  // quick trap: the refused job is a failed write, never a printed card.
  ASSERT_TRUE(scheduler.Ask(IPP_OP_RESUME_PRINTER, "shiftlog")) << cupsLastErrorString();
  ASSERT_TRUE(scheduler.Ask(IPP_OP_CUPS_REJECT_JOBS, "shiftlog")) << cupsLastErrorString();
  t.program.printerCheck.quickTrap = 1;
  t.terminal.TypeText("2");
  t.terminal.Type(kEnter);
  EXPECT_EQ(PrintTimeCard(t.program, printed, settings), PrintOutcome::kSentToNull);
  EXPECT_EQ(TestProgram::ReadFileBytes(t.host.store / "NULL"), expected);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(printer.Jobs().size(), 1u);
}

}  // namespace
}  // namespace shiftlog
