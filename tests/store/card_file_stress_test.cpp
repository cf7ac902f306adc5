// Several stations at once on one week's file, and a disk that fills up under a write.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>

#include "store/card_record.h"
#include "store/time_card_file.h"
#include "store_fixture.h"

namespace shiftlog {
namespace {

using testing::StoreFixture;
namespace fs = std::filesystem;

constexpr int kStations = 4;
constexpr int kRounds = 24;
constexpr int kSharedSlot = 1;

std::string Time(int hour, int minute) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", hour % 24, minute % 60);
  return text;
}

// What station i's own associate (slot 10 + i) holds after round r: every field tells the round,
// so a record made of two writes shows.
TimeCard OwnCard(int station, int round) {
  TimeCard card;
  for (int day = 0; day < 7; ++day) {
    for (int slot = 1; slot <= 8; ++slot) {
      card.Text(kPunchRow, day, slot) = Time(station, round);
      card.Text(kCorrectionRow, day, slot) = Time(round, station);
      card.Text(kCorrectorRow, day, slot) = " " + std::to_string(round);
    }
  }
  for (int day = 1; day <= 7; ++day) card.reasons[day] = "ROUND " + std::to_string(round);
  return card;
}

// Runs body in a child process and gives its exit code (the child never returns into gtest).
int InChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(CardFileStress, FourStationsUpdateOneWeekFileThroughTheLock) {
  StoreFixture s;
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  std::vector<pid_t> stations;
  for (int station = 0; station < kStations; ++station) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(gate[1]);
      char go;
      if (read(gate[0], &go, 1) != 0) _exit(90);  // all stations start when the gate closes
      const int own = 10 + station;
      for (int round = 1; round <= kRounds; ++round) {
        TimeCard card;
        std::string name, id;
        // Everybody starts the week at the same moment: the file is made once.
        if (!ReadTimeCard(s.program.store, card, name, own, "20121215", id)) _exit(1);
        if (!WriteTimeCard(s.program.store, OwnCard(station, round), name, own, "20121215", id)) _exit(2);
        // The same associate punched from every station: station i fills day i, a slot a round.
        if (round <= 8) {
          TimeCard shared;
          if (!ReadTimeCard(s.program.store, shared, name, kSharedSlot, "20121215", id)) _exit(3);
          if (!PunchTimeCard(s.program.store, shared, name, kSharedSlot, "20121215", id, station, round,
                             Time(station, round)))
            _exit(4);
          if (shared.Text(kPunchRow, station, round) != Time(station, round)) _exit(5);
        }
      }
      _exit(0);
    }
    stations.push_back(pid);
  }
  close(gate[0]);
  close(gate[1]);
  for (pid_t pid : stations) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "station exit " << status;
  }

  const std::string bytes = StoreFixture::ReadFileBytes(s.CardPath());
  ASSERT_EQ(bytes.size(), 45600u);
  for (int station = 0; station < kStations; ++station) {
    const int own = 10 + station;
    std::string expected;
    ASSERT_TRUE(EncodeCard(OwnCard(station, kRounds), s.program.store.associates.names[own],
                           s.program.store.associates.ids[own], expected));
    EXPECT_EQ(bytes.substr(static_cast<size_t>(own) * 800, 800), expected) << "slot " << own;
  }
  TimeCard shared;
  std::string name, id;
  DecodeCard(bytes.substr(kSharedSlot * 800, 800), shared, name, id);
  EXPECT_EQ(name, s.program.store.associates.names[kSharedSlot]);
  for (int station = 0; station < kStations; ++station) {
    for (int slot = 1; slot <= 8; ++slot) {
      EXPECT_EQ(shared.Text(kPunchRow, station, slot), Time(station, slot)) << station << "/" << slot;
    }
  }
  // Slots nobody touched are as created.
  EXPECT_EQ(bytes.substr(2 * 800, 800),
            NewCardRecord(s.program.store.associates.names[2], s.program.store.associates.ids[2]));
  EXPECT_TRUE(s.StrayFiles().empty());
}

// The file size limit makes the disk "full" past a chosen byte, as a full disk would; the
// child ignores the signal the limit would send.
int WithFileSizeLimit(rlim_t limit, const std::function<int()>& body) {
  return InChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit cap{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &cap) != 0) return 91;
    return body();
  });
}

TEST(CardFileFailures, DiskFullDuringCreationLeavesNoFile) {
  StoreFixture s;
  fs::create_directories(s.CardFolder());
  const int error = WithFileSizeLimit(20000, [&] {
    TimeCard card;
    std::string name, id;
    return ReadTimeCard(s.program.store, card, name, 1, "20121215", id).error;
  });
  EXPECT_EQ(error, kDiskFull);
  EXPECT_FALSE(fs::exists(s.CardPath()));
  EXPECT_TRUE(s.StrayFiles().empty());
  // The next try, with room on the disk, makes the week's file whole.
  TimeCard card;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 1, "20121215", id));
  EXPECT_EQ(fs::file_size(s.CardPath()), 45600u);
}

TEST(CardFileFailures, DiskFullDuringAWriteKeepsTheEarlierRecordWhole) {
  StoreFixture s;
  TimeCard card;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 56, "20121215", id));
  card.Text(kPunchRow, 0, 1) = "08:00";
  ASSERT_TRUE(WriteTimeCard(s.program.store, card, name, 56, "20121215", id));
  const std::string before = StoreFixture::ReadFileBytes(s.CardPath());

  TimeCard changed = card;
  for (int day = 0; day < 7; ++day) changed.Text(kPunchRow, day, 2) = "17:00";
  changed.reasons[7] = "CHANGED";
  // The room ends in the middle of record 57, and before it.
  for (rlim_t limit : {rlim_t{56 * 800 + 400}, rlim_t{56 * 800 - 1}}) {
    const int error = WithFileSizeLimit(
        limit, [&] { return WriteTimeCard(s.program.store, changed, name, 56, "20121215", id).error; });
    EXPECT_EQ(error, kDiskFull) << limit;
    EXPECT_EQ(StoreFixture::ReadFileBytes(s.CardPath()), before) << limit;
    EXPECT_TRUE(s.StrayFiles().empty()) << limit;
  }
}

TEST(CardFileFailures, ReadOnlyFolderReachesTheCaller) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
  StoreFixture s;
  TimeCard card;
  std::string name, id;
  ASSERT_TRUE(ReadTimeCard(s.program.store, card, name, 4, "20121215", id));
  const std::string before = StoreFixture::ReadFileBytes(s.CardPath());
  fs::permissions(s.CardFolder(), fs::perms::owner_read | fs::perms::owner_exec);
  card.Text(kPunchRow, 0, 1) = "08:00";
  EXPECT_EQ(WriteTimeCard(s.program.store, card, name, 4, "20121215", id).error, kPermissionDenied);
  fs::permissions(s.CardFolder(), fs::perms::owner_all);
  fs::permissions(s.CardPath(), fs::perms::owner_read);
  EXPECT_EQ(WriteTimeCard(s.program.store, card, name, 4, "20121215", id).error, kPermissionDenied);
  EXPECT_EQ(StoreFixture::ReadFileBytes(s.CardPath()), before);
  EXPECT_TRUE(s.StrayFiles().empty());
}

}  // namespace
}  // namespace shiftlog
