// Run-time error numbers and their texts, as the suite's run-time reports them, and the
// result type that file operations hand back to the screens: 0 for success, else the error
// number. Nothing below the screens shows an error; the screens pass a failure on to the
// run-time error report.
#pragma once

#include <string>

namespace shiftlog {

enum RunTimeErrorNumber {
  kIllegalFunctionCall = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kDivisionByZero = 11,
  kDeviceTimeout = 24,
  kDeviceFault = 25,
  kOutOfPaper = 27,
  kBadFileNumber = 52,
  kFileNotFound = 53,
  kBadFileMode = 54,
  kFileAlreadyOpen = 55,
  kDeviceIoError = 57,
  kFileAlreadyExists = 58,
  kDiskFull = 61,
  kInputPastEnd = 62,
  kBadRecordNumber = 63,
  kBadFileName = 64,
  kTooManyFiles = 67,
  kDeviceUnavailable = 68,
  kDiskNotReady = 71,
  kPermissionDenied = 70,
  kRenameAcrossDisks = 74,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
};

// The run-time's text for an error number ("File not found" for 53).
std::string RunTimeErrorText(int number);

// The error number a failed system call's errno stands for.
int RunTimeErrorFromErrno(int errnoValue);

// Outcome of an operation that can meet a run-time error: error 0 means it worked.
struct Status {
  int error = 0;
  bool ok() const { return error == 0; }
  explicit operator bool() const { return ok(); }
  static Status Ok() { return {}; }
  static Status Failed(int number) { return Status{number}; }
};

}  // namespace shiftlog
