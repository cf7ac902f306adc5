// The back-office command line as a store's script runs it: the built program started once per
// command, start-up included. A store with 56 associates whose shared data path (drive F:, a
// link in DRIVES) holds 525 weekly card files, the newest with a full week on every card.
// Goal: under 20 ms per command.
//
//   build/cli_bench [rounds] [path of the shiftlog program]
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "console/scripted_terminal.h"
#include "host/real_host.h"
#include "store/register_data.h"
#include "store/register_file_builder.h"
#include "store/time_card_file.h"

#ifndef SHIFTLOG_BINARY
#define SHIFTLOG_BINARY "shiftlog"
#endif

namespace {

namespace fs = std::filesystem;
namespace chrono = std::chrono;
using namespace shiftlog;
using Steady = chrono::steady_clock;

constexpr int kCardFiles = 525;
constexpr const char* kNewestWeek = "20121215";

std::string Time(int hour, int minute) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
  return text;
}

// The names of kCardFiles weeks ending on Saturdays, the newest first.
std::vector<std::string> WeekNames() {
  std::vector<std::string> names;
  chrono::sys_days day = chrono::year_month_day{chrono::year{2012}, chrono::December, chrono::day{15}};
  for (int i = 0; i < kCardFiles; ++i, day -= chrono::days{7}) {
    const chrono::year_month_day date{day};
    char name[16];
    std::snprintf(name, sizeof name, "%04d%02u%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    names.push_back(name);
  }
  return names;
}

bool MakeStore(const fs::path& top) {
  const fs::path store = top / "store";
  const fs::path shared = top / "shared";
  fs::create_directories(store / "DRIVES");
  fs::create_directories(shared / "STORE");
  fs::create_directory_symlink(shared, store / "DRIVES" / "F");
  RegisterFileBuilder local;
  local.SetDataPath("F:\\STORE\\");
  RegisterFileBuilder roster;
  for (int slot = 1; slot <= kSlotCount; ++slot)
    roster.SetAssociate(slot, "ASSOCIATE " + std::to_string(slot), 1000 + slot, "ID" + std::to_string(slot));
  roster.SetStoreId("STORE 42");
  if (!local.WriteTo(store / "SHOP1.TIL") || !roster.WriteTo(shared / "STORE" / "SHOP1.TIL")) return false;

  // The newest week through the store itself: every slot punched on every day, one correction a day.
  RealHost host(store);
  StoreContext context(host);
  context.configName = "SHOP1";
  if (!ReadLocalDataPath(context) || !LoadRegisterAssociates(context)) return false;
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    TimeCard card;
    std::string name, id;
    if (!ReadTimeCard(context, card, name, slot, kNewestWeek, id)) return false;
    for (int day = 0; day < 7; ++day) {
      for (int punch = 1; punch <= 8; ++punch)
        card.Text(kPunchRow, day, punch) = Time(6 + 2 * punch, slot % 60);
      // The last OUT forgotten on some days, so the status has something to tell.
      if ((slot + day) % 5 == 0) card.Text(kPunchRow, day, 8) = "     ";
      card.Text(kCorrectionRow, day, 1) = Time(7, 55);
      card.Text(kCorrectorRow, day, 1) = " 1";
      card.reasons[static_cast<size_t>(day + 1)] = "LATE BUS";
    }
    if (!WriteTimeCard(context, card, name, slot, kNewestWeek, id)) return false;
  }
  // The older weeks: copies of it under their own names.
  const fs::path folder = shared / "STORE" / "SHOP1";
  std::ifstream in(folder / (std::string(kNewestWeek) + ".CLK"), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const std::string& name : WeekNames()) {
    if (name == kNewestWeek) continue;
    std::ofstream(folder / (name + ".CLK"), std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  return true;
}

struct Run {
  double wallMs = 0;
  double cpuMs = 0;  // user + system time of the program
  int exitStatus = -1;
};

// One run of the program, its output to outputPath.
Run RunOnce(const std::string& program, const std::vector<std::string>& arguments,
            const fs::path& outputPath) {
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const auto start = Steady::now();
  pid_t pid = 0;
  int status = -1;
  struct rusage usage {};
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0)
    wait4(pid, &status, 0, &usage);
  Run run;
  run.wallMs = chrono::duration<double, std::milli>(Steady::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(share * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  const std::string program = argc > 2 ? argv[2] : SHIFTLOG_BINARY;
  std::string pattern = (fs::temp_directory_path() / "shiftlog-cli-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path top = pattern;
  if (!MakeStore(top)) {
    std::fprintf(stderr, "cli_bench: cannot make the store\n");
    fs::remove_all(top);
    return 1;
  }
  const std::string store = (top / "store").string();
  struct Command {
    const char* what;
    std::vector<std::string> arguments;
  };
  const Command commands[] = {
      {"export, json, 56 cards", {"export", "--store", store, "--week", kNewestWeek, "--format", "json"}},
      {"export, csv, 56 cards", {"export", "--store", store, "--week", kNewestWeek}},
      {"export, text, 56 cards", {"export", "--store", store, "--week", kNewestWeek, "--format", "text"}},
      {"status of a day", {"status", "--store", store, "--date", "2012-12-12"}},
      {"status --week", {"status", "--store", store, "--date", "2012-12-12", "--week"}},
      {"status --week, json",
       {"status", "--store", store, "--date", "2012-12-12", "--week", "--format", "json"}},
  };
  std::printf("store: 56 associates, %d card files of %d bytes in the data path; %d runs per command\n",
              kCardFiles, 57 * 800, rounds);
  // What starting any program costs on this machine right now, for comparison.
  std::vector<double> floor;
  std::vector<double> floorCpu;
  for (int round = 0; round < rounds; ++round) {
    const Run run = RunOnce("/bin/true", {}, "/dev/null");
    floor.push_back(run.wallMs);
    floorCpu.push_back(run.cpuMs);
  }
  std::printf(
      "%-24s program: median %.2f ms, CPU median %.2f ms (starting any program on this machine now)\n",
      "/bin/true", Percentile(floor, 0.5), Percentile(floorCpu, 0.5));
  int failures = 0;
  for (const Command& command : commands) {
    std::vector<double> times;
    std::vector<double> cpu;
    const fs::path output = top / "output";
    for (int round = 0; round < rounds; ++round) {
      const Run run = RunOnce(program, command.arguments, output);
      times.push_back(run.wallMs);
      cpu.push_back(run.cpuMs);
      if (run.exitStatus != 0) ++failures;
    }
    // The same command inside this process: what is left without the program's start-up.
    std::vector<const char*> inArgv{"shiftlog"};
    for (const std::string& argument : command.arguments) inArgv.push_back(argument.c_str());
    FixedClock clock;
    std::vector<double> inProcess;
    for (int round = 0; round < rounds; ++round) {
      std::ostringstream out, err;
      const auto start = Steady::now();
      if (RunCommandLine(static_cast<int>(inArgv.size()), inArgv.data(), out, err, clock) != 0) ++failures;
      inProcess.push_back(chrono::duration<double, std::milli>(Steady::now() - start).count());
    }
    std::printf(
        "%-24s program: median %.2f ms, p90 %.2f ms, max %.2f ms, CPU median %.2f ms; in-process median "
        "%.2f ms; output %ju bytes\n",
        command.what, Percentile(times, 0.5), Percentile(times, 0.9), Percentile(times, 1.0),
        Percentile(cpu, 0.5), Percentile(inProcess, 0.5), static_cast<uintmax_t>(fs::file_size(output)));
  }
  fs::remove_all(top);
  if (failures != 0) std::fprintf(stderr, "cli_bench: %d runs failed\n", failures);
  return failures == 0 ? 0 : 2;
}
