// TEMPORARY: stand-ins for the store's week and data-file functions, so the frame links and
// runs before the store's own files (weeks.cpp, data_files.cpp) are in this tree. Delete this
// file when they arrive; the linker then reports any duplicate left behind.
#include <cstdio>

#include "host/dos_paths.h"
#include "store/data_files.h"
#include "store/weeks.h"

namespace shiftlog {

namespace {

// Days since 1970-01-01 of a civil date.
long DaysOf(int year, int month, int day) {
  year -= month <= 2;
  const long era = (year >= 0 ? year : year - 399) / 400;
  const long yearOfEra = year - era * 400;
  const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void DateOf(long days, int& year, int& month, int& day) {
  days += 719468;
  const long era = (days >= 0 ? days : days - 146096) / 146097;
  const long dayOfEra = days - era * 146097;
  const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long mp = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

long DaysOfText(std::string_view date) {
  int month = 1, day = 1, year = 2000;
  std::sscanf(std::string(date).c_str(), "%d-%d-%d", &month, &day, &year);
  return DaysOf(year, month, day);
}

}  // namespace

int WeekPosition(std::string_view dateText, int weekEnd) {
  const long weekday = ((DaysOfText(dateText) % 7) + 7 + 4) % 7;  // 0 Sunday
  return static_cast<int>(weekEnd == 1 ? (weekday + 6) % 7 : weekday);
}

CardWeek ComputeCardWeek(std::string_view dateText, int position) {
  CardWeek week;
  const long first = DaysOfText(dateText) - position;
  for (int i = 0; i < 7; ++i) {
    int year, month, day;
    DateOf(first + i, year, month, day);
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", month, day, year);
    week.dates[i] = text;
    if (i == 6) {
      std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
      week.fileName = text;
    }
  }
  return week;
}

Status OpenDataFile(Program& program, DataFile& file, int recordLength, FileMode mode,
                    std::string_view extension, std::string_view name) {
  const std::string base = name.empty() ? program.frame.configName : std::string(name);
  const auto path = ResolveDosPath(program.host, program.frame.dataPath + base + std::string(extension));
  if (!path) return Status::Failed(kDiskNotReady);
  file.mode = mode;
  file.path = *path;
  return file.records.Open(*path, recordLength, mode == FileMode::kUpdate);
}

Status CloseDataFile(Program&, DataFile& file) {
  return file.records.Close();
}

}  // namespace shiftlog
