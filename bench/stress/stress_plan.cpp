#include "stress/stress_plan.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <set>
#include <utility>

namespace shiftlog::stress {

namespace {

namespace chrono = std::chrono;

// Plain arithmetic on the generator's output, which the standard fixes, so a seed gives the
// same plan with every standard library.
int Below(std::mt19937& random, int n) {
  return n <= 0 ? 0 : static_cast<int>(random() % static_cast<std::uint32_t>(n));
}

template <typename T>
void Shuffle(std::mt19937& random, std::vector<T>& items) {
  for (int i = static_cast<int>(items.size()) - 1; i > 0; --i)
    std::swap(items[i], items[Below(random, i + 1)]);
}

std::string TimeText(int minutes) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", (minutes / 60) % 24, minutes % 60);
  return text;
}

// Picks count of the candidates (station, job index) and gives each the kill.
void PlanKills(std::mt19937& random, std::vector<std::pair<Round*, std::pair<int, int>>> candidates,
               int count, KillKind kind, int maxDelayMicroseconds) {
  Shuffle(random, candidates);
  for (int i = 0; i < count && i < static_cast<int>(candidates.size()); ++i) {
    auto& [round, place] = candidates[i];
    Job& job = round->stationJobs[place.first][place.second];
    job.kill = Kill{kind, Below(random, maxDelayMicroseconds + 1)};
  }
}

}  // namespace

const char* KillName(KillKind kind) {
  switch (kind) {
    case KillKind::kNone:
      return "none";
    case KillKind::kStartUp:
      return "start-up";
    case KillKind::kPunch:
      return "punch";
    case KillKind::kLock:
      return "lock";
    case KillKind::kCorrection:
      return "correction";
    case KillKind::kCreation:
      return "creation";
  }
  return "?";
}

std::vector<Round> MakePlan(const PlanSettings& settings) {
  std::mt19937 random(settings.seed);
  const int weeks = settings.rounds + (settings.closingPunch ? 1 : 0);
  std::vector<Round> rounds(static_cast<size_t>(weeks));
  const chrono::sys_days firstSaturday =
      chrono::year_month_day{chrono::year{2012}, chrono::December, chrono::day{15}};
  for (int r = 0; r < weeks; ++r) {
    Round& round = rounds[r];
    const chrono::year_month_day day{firstSaturday + chrono::days{7 * r}};
    char week[16];
    char date[16];
    std::snprintf(week, sizeof week, "%04d%02u%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    std::snprintf(date, sizeof date, "%04d-%02u-%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    round.week = week;
    round.date = date;
    round.stationJobs.resize(static_cast<size_t>(settings.stations) + 1);
    if (r == settings.rounds) {
      round.stationJobs[0].push_back(Job{false, 1, "06:00", {}, {}});
      break;
    }

    // Every associate's punches of the week, in pairs dealt to two stations in the same
    // wave: the associate punches at two registers at the same moment, and both punches must
    // land. Each punch has a minute of its own from 06:00 on.
    std::vector<int> pairs;
    for (int slot = 1; slot <= settings.associates; ++slot)
      for (int i = 0; i < settings.punchesPerRound / 2; ++i) pairs.push_back(slot);
    Shuffle(random, pairs);
    std::vector<int> punches;
    for (size_t start = 0; start < pairs.size(); start += static_cast<size_t>(settings.stations / 2)) {
      std::vector<int> wave;
      for (size_t i = start; i < pairs.size() && i < start + static_cast<size_t>(settings.stations / 2);
           ++i) {
        wave.push_back(pairs[i]);
        wave.push_back(pairs[i]);
      }
      Shuffle(random, wave);
      punches.insert(punches.end(), wave.begin(), wave.end());
    }
    for (size_t i = 0; i < punches.size(); ++i) {
      Job job;
      job.slot = punches[i];
      job.clockTime = TimeText(6 * 60 + static_cast<int>(i));
      round.stationJobs[i % static_cast<size_t>(settings.stations)].push_back(job);
    }

    // The supervisor corrects different associates, each field once.
    std::vector<int> slots;
    for (int slot = 1; slot <= settings.associates; ++slot) slots.push_back(slot);
    Shuffle(random, slots);
    for (int v = 0; v < settings.visitsPerRound; ++v) {
      Job visit;
      visit.supervisor = true;
      visit.slot = slots[static_cast<size_t>(v) % slots.size()];
      visit.clockTime = "05:30";
      std::set<std::pair<int, int>> fields;
      while (static_cast<int>(fields.size()) < settings.correctionsPerVisit) {
        const int day = Below(random, 7);
        const int punchSlot = 1 + Below(random, 8);
        if (!fields.insert({day, punchSlot}).second) continue;
        const int minutes = 5 * 60 + Below(random, 17 * 60);
        visit.corrections.push_back({day, punchSlot, TimeText(minutes)});
      }
      round.stationJobs[static_cast<size_t>(settings.stations)].push_back(visit);
    }
  }

  // Kills never hit a station's last two runs of a week: the station's own next run then
  // needs the week's file again and takes over whatever lock the killed run left.
  std::vector<std::pair<Round*, std::pair<int, int>>> punchRuns;
  std::vector<std::pair<Round*, std::pair<int, int>>> visits;
  for (int r = 0; r < settings.rounds; ++r) {
    Round& round = rounds[r];
    for (int s = 0; s <= settings.stations; ++s) {
      const int count = static_cast<int>(round.stationJobs[s].size());
      for (int j = 0; j + 2 < count; ++j)
        (s < settings.stations ? punchRuns : visits).push_back({&round, {s, j}});
    }
  }
  Shuffle(random, punchRuns);
  const int perKind[] = {settings.startUpKills, settings.punchKills, settings.lockKills};
  const KillKind kinds[] = {KillKind::kStartUp, KillKind::kPunch, KillKind::kLock};
  const int maxDelay[] = {40000, 20000, 0};
  size_t next = 0;
  for (int k = 0; k < 3; ++k) {
    std::vector<std::pair<Round*, std::pair<int, int>>> chosen;
    for (int i = 0; i < perKind[k] && next < punchRuns.size(); ++i) chosen.push_back(punchRuns[next++]);
    PlanKills(random, chosen, perKind[k], kinds[k], maxDelay[k]);
  }
  PlanKills(random, visits, settings.correctionKills, KillKind::kCorrection, 20000);

  std::vector<int> order;
  for (int r = 0; r < settings.rounds; ++r) order.push_back(r);
  Shuffle(random, order);
  for (int i = 0; i < settings.creationKills && i < settings.rounds; ++i)
    rounds[order[i]].killCreation = true;
  return rounds;
}

}  // namespace shiftlog::stress
