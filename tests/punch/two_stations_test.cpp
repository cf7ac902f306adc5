// One associate at two stations (two processes on one store folder): both punch screens open
// on the same card and the same empty slot, one after the other punches. Every punch lands;
// only a ninth punch of the day finds no slot, and its station says so with the warning beep.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <set>
#include <string>

#include "card_fixture.h"
#include "console/wait_key.h"
#include "punch/punch_screen.h"

namespace shiftlog {
namespace {

using testing::CardFixture;

// A pipe with one byte a message: a station tells "screen open" / "visit done", the test
// tells "go on".
struct Channel {
  Channel() { EXPECT_EQ(pipe(fd.data()), 0); }
  ~Channel() {
    close(fd[0]);
    close(fd[1]);
  }
  void Send() const { EXPECT_EQ(write(fd[1], "x", 1), 1); }
  bool Receive() const {
    char c;
    return read(fd[0], &c, 1) == 1;
  }
  std::array<int, 2> fd{};
};

struct Station {
  pid_t pid = -1;
  Channel toTest, toStation;
};

struct TwoStationsTest : CardFixture {
  // Station index's visits, each: PIN accepted, card shown, wait until told, [CTRL]+[INSERT],
  // [ESC]. Exits with the number of beeps heard in the last visit (100 + n on a failure).
  [[noreturn]] void RunStation(Station& station, int index, int visits) {
    int beeps = 0;
    for (int visit = 0; visit < visits; ++visit) {
      t.clock.Set({2012, 12, 15, 8 + index, visit, 30, 0});  // a punch text of its own
      t.terminal.ResetBeeps();
      bool told = false;
      t.terminal.onIdle = [&](int) {
        if (told) return;
        told = true;
        station.toTest.Send();  // the card is on the screen
        if (!station.toStation.Receive()) _exit(101);
      };
      t.terminal.Tick();
      t.terminal.TypeExtended(kKeyCtrlInsert);
      t.terminal.TypeExtended(kKeyEscape);
      if (PunchScreen(t.program) != PunchScreenExit::kReturnToRegister) _exit(102);
      beeps = t.terminal.Beeps();
      station.toTest.Send();  // the visit is over
    }
    _exit(beeps);
  }

  void Start(Station& station, int index, int visits) {
    station.pid = fork();
    ASSERT_GE(station.pid, 0);
    if (station.pid == 0) RunStation(station, index, visits);
  }
  static int Finish(Station& station) {
    int status = 0;
    waitpid(station.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
  }

  std::set<std::string> TodaysPunches() const {
    std::set<std::string> punches;
    const std::string bytes = CardBytes();
    for (int slot = 1; slot <= 8; ++slot) {
      const std::string text = bytes.substr(PunchAt(3, 6, slot), 5);
      if (text != "     ") punches.insert(text);
    }
    return punches;
  }
};

TEST_F(TwoStationsTest, EightVisitsFromTwoStationsStoreEightPunches) {
  SaveCardFile(NewCardFile());
  std::array<Station, 3> stations;
  Start(stations[0], 0, 4);
  Start(stations[1], 1, 4);
  // A third screen is opened first and left; its punch comes when the day is full.
  Start(stations[2], 2, 1);
  ASSERT_TRUE(stations[2].toTest.Receive());
  for (int round = 0; round < 4; ++round) {
    // Both screens are open on the same card, cursor on the same slot, before either punches.
    for (int s = 0; s < 2; ++s) ASSERT_TRUE(stations[s].toTest.Receive()) << round;
    for (int s = 0; s < 2; ++s) {
      stations[s].toStation.Send();
      ASSERT_TRUE(stations[s].toTest.Receive()) << round;
    }
  }
  stations[2].toStation.Send();
  ASSERT_TRUE(stations[2].toTest.Receive());
  EXPECT_EQ(Finish(stations[0]), 0);  // no beep: every punch landed
  EXPECT_EQ(Finish(stations[1]), 0);
  EXPECT_EQ(Finish(stations[2]), 1);  // the ninth was refused with the beep

  const std::set<std::string> expected = {"08:00", "08:01", "08:02", "08:03",
                                          "09:00", "09:01", "09:02", "09:03"};
  EXPECT_EQ(TodaysPunches(), expected);
  // Slot by slot, in the order the stations punched: 08:00 09:00 08:01 09:01 ...
  const std::string bytes = CardBytes();
  EXPECT_EQ(bytes.substr(PunchAt(3, 6, 1), 40), "08:0009:0008:0109:0108:0209:0208:0309:03");
  for (const auto& entry : std::filesystem::directory_iterator(CardFile().parent_path())) {
    EXPECT_EQ(entry.path().filename(), "20121215.CLK");  // no lock or temporary file left
  }
}

}  // namespace
}  // namespace shiftlog
