#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "host/real_printers.h"
#include "support/test_program.h"

namespace shiftlog {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using Clock = std::chrono::steady_clock;

constexpr int kReady = 223;
constexpr int kLimitMs = 300;

TEST(PrinterPorts, ParallelPortNames) {
  const std::pair<const char*, int> cases[] = {{"LPT1:", 1}, {"lpt2:", 2}, {"LPT3", 3},
                                               {"LPT4:", 0}, {"LPT0:", 0}, {"LPT1::", 0},
                                               {"", 0},      {":", 0},     {" LPT1:", 0}};
  for (const auto& [name, port] : cases) EXPECT_EQ(ParallelPortOf(name), port) << name;
}

TEST(PrinterPorts, FileJobIsWrittenWholeOrReportsItsFailure) {
  TempFolder folder;
  const fs::path file = folder.path() / "WLSDFKJN.DRY";
  auto job = NewFilePrintJob(file);
  size_t sent = 0;
  ASSERT_TRUE(job->Write("LINE 1\r\n", sent).ok());
  EXPECT_EQ(sent, 8u);
  EXPECT_FALSE(fs::exists(file));  // nothing until the card is whole
  ASSERT_TRUE(job->Write("\f", sent).ok());
  ASSERT_TRUE(job->Finish().ok());
  EXPECT_EQ(testing::TestProgram::ReadFileBytes(file), "LINE 1\r\n\f");

  job = NewFilePrintJob(folder.path() / "NO FOLDER" / "WLSDFKJN.DRY");
  ASSERT_TRUE(job->Write("X", sent).ok());
  EXPECT_FALSE(job->Finish().ok());
}

// A parallel port stand-in: lp0 in the test's own device folder is a pipe, which the test reads
// (a printer that prints) or leaves alone (one that never answers).
struct PortFixture : ::testing::Test {
  PortFixture() {
    fs::create_directory(devices());
    if (::mkfifo((devices() / "lp0").c_str(), 0600) != 0) ADD_FAILURE() << "mkfifo";
    // Held open for reading so that the port can be opened for writing without waiting.
    reader = ::open((devices() / "lp0").c_str(), O_RDONLY | O_NONBLOCK);
  }
  ~PortFixture() override {
    if (reader >= 0) ::close(reader);
  }
  fs::path devices() const { return folder.path() / "dev"; }
  std::string Drain() {
    std::string got;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(reader, buffer, sizeof buffer)) > 0) got.append(buffer, static_cast<size_t>(n));
    return got;
  }

  TempFolder folder;
  int reader = -1;
  // No scheduler answers on this path, so a port without a device reaches nothing.
  RealPrinterPorts ports{devices(), (folder.path() / "no-scheduler").string(), "", kLimitMs};
};

TEST_F(PortFixture, APrinterThatNeverAnswersFailsTheWriteWithinTheTimeLimit) {
  std::unique_ptr<PrintJob> job;
  ASSERT_TRUE(ports.Open(1, job).ok());
  const std::string card(1 << 20, 'X');  // far more than the pipe holds, and nobody reads it
  size_t sent = 0;
  const auto start = Clock::now();
  EXPECT_EQ(job->Write(card, sent).error, kDeviceTimeout);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));  // not frozen: bounded by the limit
  EXPECT_GT(sent, 0u);
  EXPECT_LT(sent, card.size());

  // The reader wakes up: a retry goes on with the rest, and nothing is lost or doubled.
  std::string got = Drain();
  size_t more = 0;
  std::thread printer([&] {
    for (int i = 0; i < 200 && got.size() < card.size(); ++i) {
      got += Drain();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  const Status retried = job->Write(std::string_view(card).substr(sent), more);
  printer.join();
  EXPECT_TRUE(retried.ok());
  EXPECT_EQ(sent + more, card.size());
  EXPECT_EQ(got, card);
  EXPECT_TRUE(job->Finish().ok());
  // A pipe has no status register: the time limit on the writes guards it instead.
  EXPECT_EQ(ports.StatusByte(1, 144), 144);
}

// Without a device the job goes to the spooler; one that cannot be reached, or that takes the
// connection and then says nothing at all, fails the job (never reported as printed) in time.
TEST_F(PortFixture, WithoutADeviceTheJobGoesToTheSpoolerAndFailsWhenItCannotBeReached) {
  const std::string hung = (folder.path() / "hung.sock").string();
  const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(hung.size(), sizeof address.sun_path);
  hung.copy(address.sun_path, hung.size());
  ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(server, 8), 0);
  RealPrinterPorts hungPorts(devices(), hung, "SHOP", kLimitMs);
  std::unique_ptr<PrintJob> job;
  size_t sent = 0;
  ASSERT_TRUE(ports.Open(2, job).ok());  // there is no lp1
  ASSERT_TRUE(job->Write("CARD", sent).ok());
  EXPECT_EQ(job->Finish().error, kDeviceUnavailable);
  EXPECT_EQ(ports.StatusByte(2, kReady), kOffLineStatus);
  EXPECT_EQ(ports.StatusByte(3, kOffLineStatus), kOffLineStatus & 0x7F);  // still not the ready value

  const auto start = Clock::now();
  EXPECT_EQ(hungPorts.StatusByte(3, kReady), kOffLineStatus);
  ASSERT_TRUE(hungPorts.Open(3, job).ok());
  ASSERT_TRUE(job->Write("CARD", sent).ok());
  EXPECT_FALSE(job->Finish().ok());
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  ::close(server);
}

}  // namespace
}  // namespace shiftlog
