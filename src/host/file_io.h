// Small POSIX file helpers shared by the file layers.
#pragma once

#include <string_view>

#include "host/run_time_errors.h"

namespace shiftlog {

// Writes all of bytes to fd, going on after interrupted or partial writes.
Status WriteAll(int fd, std::string_view bytes);

}  // namespace shiftlog
