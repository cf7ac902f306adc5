// screen_pictures: draws the pictures of the screens shown in the README (docs/pictures/*.svg).
//
//   screen_pictures FOLDER
//
// Each picture is the real program on a demo store: the time clock runs from its start-up on a
// scripted terminal with a fixed clock (Thursday 12-13-2012, 13:05), the keys of the road to the
// screen are typed, and the screen the program waits on is drawn as SVG. The demo store is made
// afresh every time, so the same program gives the same bytes; scripts/pictures.sh writes them
// and a test compares them with the ones checked in.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "console/screen_svg.h"
#include "console/scripted_terminal.h"
#include "console/wait_key.h"
#include "frame/program.h"
#include "frame/program_end.h"
#include "frame/start_up.h"
#include "store/register_data.h"
#include "store/register_file_builder.h"
#include "store/time_card_file.h"

namespace {

namespace fs = std::filesystem;
using namespace shiftlog;

constexpr const char* kConfigName = "DEMO";
constexpr const char* kThisWeek = "20121215";

// The demo store's folder stands for drive C: as well; the cash-register program is never
// reached, every road ends on the screen it shows.
class DemoHost : public Host {
 public:
  explicit DemoHost(fs::path folder) : folder_(std::move(folder)) {}
  void StartCashRegister() override {}
  fs::path CurrentFolder() override { return folder_; }
  std::optional<fs::path> DriveFolder(char letter) override {
    if (letter == 'C') return folder_;
    return std::nullopt;
  }

 private:
  fs::path folder_;
};

struct Picture {
  const char* file;
  std::vector<KeyText> keys;
  const char* shows;  // a text the screen must show, so a road gone wrong is noticed
};

KeyText Key(int scanCode) {
  return ExtendedKey(scanCode);
}

std::vector<Picture> Pictures() {
  const KeyText f8 = Key(kKeyF8);
  return {
      {"pin_screen.svg", {"5", "5"}, "Enter employee PIN number."},
      {"punch_screen.svg", {"2", "2", "2", "2", "\r", Key(kKeyCtrlInsert), "+"}, "TOT 2821"},
      {"supervisor_menu.svg", {"1", "1", "1", "1", "\r", f8}, "Supervisor menu"},
      {"card_file_chooser.svg", {"1", "1", "1", "1", "\r", f8, "2", "\r"}, "VIEW TIME CARDS"},
      {"punch_correction.svg",
       {"1", "1", "1", "1", "\r", f8, "1", "\r", "\r", Key(kKeyDown), "\r", Key(kKeyDown), Key(kKeyDown),
        Key(kKeyRight), Key(kKeyRight), Key(kKeyRight), "1", "7"},
       "Type in time"},
      {"export_dialog.svg",
       {"1", "1", "1", "1", "\r", f8, "2", "\r", "\r", Key(kKeyPageDown), "\t"},
       "EXPORT..."},
      {"printer_error.svg", {"2", "2", "2", "2", "\r", "\t"}, "Possible causes"},
  };
}

bool WriteWhole(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

TimeCard DemoCard() {
  TimeCard card;
  const char* days[7][8] = {
      {},
      {"08:00", "12:00", "12:30", "16:30"},
      {"08:02", "12:01", "12:31", "16:59"},
      {"07:58", "11:30", "12:00", "16:05"},
      {"08:01", "12:02"},
      {},
      {},
  };
  for (int day = 0; day < 7; ++day) {
    for (int slot = 1; slot <= 8; ++slot) {
      if (days[day][slot - 1] != nullptr) card.Text(kPunchRow, day, slot) = days[day][slot - 1];
    }
  }
  // A supervisor's correction of Tuesday's last punch, with the day's reason.
  card.Text(kCorrectionRow, 2, 4) = "17:15";
  card.Text(kCorrectorRow, 2, 4) = "  1";
  card.reasons[3] = "STOCK COUNT ";
  return card;
}

// A register data file with five associates (Anna Baker the payroll supervisor), this week's
// card file with Ben Carter's punches, and three older weeks.
bool MakeDemoStore(const fs::path& folder) {
  RegisterFileBuilder roster;
  roster.SetDisplayMode(1);
  roster.SetPrinterPort("LPT1:");  // a printer that is off line: the tools' host has none
  roster.SetPrinterSetting(1, 1);  // printing on
  roster.SetStoreId("DEMO STORE 1");
  roster.SetAssociate(1, "ANNA BAKER", 1111, "A-1001", true);
  roster.SetAssociate(2, "BEN CARTER", 2222, "B-1002");
  roster.SetAssociate(3, "CARLA DIAZ", 3333, "C-1003");
  roster.SetAssociate(4, "DAVID EVANS", 4444, "D-1004");
  roster.SetAssociate(29, "ERIN FOSTER", 5555, "E-1029");
  if (!roster.WriteTo(folder / (std::string(kConfigName) + ".TIL"))) return false;

  DemoHost host(folder);
  StoreContext store(host);
  store.configName = kConfigName;
  if (!LoadRegisterAssociates(store)) return false;
  for (const char* week : {"20121124", "20121201", "20121208"}) {
    if (!EnsureCardFile(store, week)) return false;
  }
  return static_cast<bool>(
      WriteTimeCard(store, DemoCard(), store.associates.names[2], 2, kThisWeek, store.associates.ids[2]));
}

// Runs the time clock with the picture's keys and gives the screen it waits on at the end.
bool Draw(const fs::path& store, const Picture& picture, Frame& frame) {
  if (!WriteWhole(store / "TILCONFG.DAT", "\"" + std::string(kConfigName) + "\"\r\n")) return false;
  ScriptedTerminal terminal;
  FixedClock clock(LocalTime{2012, 12, 13, 13, 5, 0, 0});
  DemoHost host(store);
  Program program(terminal, clock, host);
  for (const KeyText& key : picture.keys) terminal.Type(key);
  try {
    RunTimeClock(program);
  } catch (const ScriptExhausted&) {
    frame = terminal.LastFrame();
    for (int row = 1; row <= kRows; ++row) {
      if (terminal.RowText(row).find(picture.shows) != std::string::npos) return true;
    }
    std::fprintf(stderr, "screen_pictures: %s does not show \"%s\":\n%s", picture.file, picture.shows,
                 terminal.Dump().c_str());
    return false;
  } catch (const ProgramEnd&) {
  }
  std::fprintf(stderr, "screen_pictures: the road of %s ended before its screen\n", picture.file);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: screen_pictures FOLDER\n");
    return 2;
  }
  const fs::path output = argv[1];
  std::error_code ec;
  fs::create_directories(output, ec);
  std::string pattern = (fs::temp_directory_path() / "shiftlog-pictures-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path store = pattern;
  int status = 0;
  if (!MakeDemoStore(store)) {
    std::fprintf(stderr, "screen_pictures: cannot make the demo store in %s\n", store.c_str());
    status = 1;
  }
  for (const Picture& picture : Pictures()) {
    Frame frame;
    if (status != 0 || !Draw(store, picture, frame)) {
      status = 1;
      break;
    }
    if (!WriteWhole(output / picture.file, FrameSvg(frame))) {
      std::fprintf(stderr, "screen_pictures: cannot write %s\n", (output / picture.file).c_str());
      status = 1;
    }
  }
  fs::remove_all(store, ec);
  return status;
}
