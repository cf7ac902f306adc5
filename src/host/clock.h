// Date and time of day as the program uses them: the local wall clock.
#pragma once

#include <cstdint>
#include <string>

namespace shiftlog {

struct LocalTime {
  int year = 2000;
  int month = 1;  // 1-12
  int day = 1;    // 1-31
  int hour = 0;   // 0-23
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

// The host's own clock (local time zone).
class SystemClock : public Clock {
 public:
  LocalTime Now() override;
};

// "mm-dd-yyyy" and "hh:mm:ss" as the suite writes them.
std::string DateText(const LocalTime& t);
std::string TimeText(const LocalTime& t);
// Milliseconds until the next whole second of this clock reading.
int MillisecondsToNextSecond(const LocalTime& t);

// Milliseconds of the host's steady clock (never set back), for time limits and waits.
std::int64_t MonotonicMs();

}  // namespace shiftlog
