#include "host/run_time_errors.h"

#include <cerrno>

namespace shiftlog {

std::string RunTimeErrorText(int number) {
  switch (number) {
    case kIllegalFunctionCall: return "Illegal function call";
    case kOverflow: return "Overflow";
    case kOutOfMemory: return "Out of memory";
    case kSubscriptOutOfRange: return "Subscript out of range";
    case kDivisionByZero: return "Division by zero";
    case kDeviceTimeout: return "Device timeout";
    case kDeviceFault: return "Device fault";
    case kOutOfPaper: return "Out of paper";
    case kBadFileNumber: return "Bad file name or number";
    case kFileNotFound: return "File not found";
    case kBadFileMode: return "Bad file mode";
    case kFileAlreadyOpen: return "File already open";
    case kDeviceIoError: return "Device I/O error";
    case kFileAlreadyExists: return "File already exists";
    case kDiskFull: return "Disk full";
    case kInputPastEnd: return "Input past end of file";
    case kBadRecordNumber: return "Bad record number";
    case kBadFileName: return "Bad file name";
    case kTooManyFiles: return "Too many files";
    case kDeviceUnavailable: return "Device unavailable";
    case kPermissionDenied: return "Permission denied";
    case kDiskNotReady: return "Disk not ready";
    case kRenameAcrossDisks: return "Rename across disks";
    case kPathFileAccessError: return "Path/File access error";
    case kPathNotFound: return "Path not found";
    default: return "Unprintable error";
  }
}

int RunTimeErrorFromErrno(int errnoValue) {
  switch (errnoValue) {
    case ENOENT: return kFileNotFound;
    case ENOTDIR: return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kDiskFull;
    case EEXIST: return kFileAlreadyExists;
    case EMFILE:
    case ENFILE: return kTooManyFiles;
    case EXDEV: return kRenameAcrossDisks;
    case ENOMEM: return kOutOfMemory;
    case EISDIR:
    case ENAMETOOLONG:
    case EINVAL: return kBadFileName;
    case ENODEV:
    case ENXIO: return kDeviceUnavailable;
    default: return kDeviceIoError;
  }
}

}  // namespace shiftlog
