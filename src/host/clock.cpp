#include "host/clock.h"

#include <sys/time.h>

#include <cstdio>
#include <ctime>

namespace shiftlog {

LocalTime SystemClock::Now() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  std::tm tm{};
  time_t seconds = tv.tv_sec;
  localtime_r(&seconds, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,          tm.tm_hour,
                   tm.tm_min,         tm.tm_sec,     static_cast<int>(tv.tv_usec / 1000)};
}

std::string DateText(const LocalTime& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", t.month % 100, t.day % 100, t.year % 10000);
  return text;
}

std::string TimeText(const LocalTime& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
  return text;
}

int MillisecondsToNextSecond(const LocalTime& t) { return 1000 - t.millisecond; }

std::int64_t MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace shiftlog
