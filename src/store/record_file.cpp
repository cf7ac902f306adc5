#include "store/record_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace shiftlog {

RecordFile::RecordFile(RecordFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), recordLength_(other.recordLength_) {}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    recordLength_ = other.recordLength_;
  }
  return *this;
}

RecordFile::~RecordFile() {
  Close();
}

Status RecordFile::Open(const std::filesystem::path& path, int recordLength, bool forUpdate,
                        bool createIfMissing) {
  Close();
  recordLength_ = recordLength;
  int flags = (forUpdate ? O_RDWR : O_RDONLY) | O_CLOEXEC;
  if (createIfMissing) {
    // The read-only case creates the file through a short read-write open first.
    if (!forUpdate) {
      const int made = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
      if (made < 0) return Status::Failed(RunTimeErrorFromErrno(errno));
      ::close(made);
    } else {
      flags |= O_CREAT;
    }
  }
  fd_ = ::open(path.c_str(), flags, 0666);
  if (fd_ < 0) return Status::Failed(RunTimeErrorFromErrno(errno));
  return Status::Ok();
}

Status RecordFile::Read(int record, std::string& bytes) const {
  if (fd_ < 0) return Status::Failed(kBadFileNumber);
  if (record < 1) return Status::Failed(kBadRecordNumber);
  bytes.assign(static_cast<size_t>(recordLength_), '\0');
  const off_t offset = static_cast<off_t>(record - 1) * recordLength_;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pread(fd_, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::Failed(RunTimeErrorFromErrno(errno));
    }
    if (n == 0) break;  // past the end: the rest stays zero bytes
    done += static_cast<size_t>(n);
  }
  return Status::Ok();
}

namespace {

// Writes all of bytes at offset; done tells how many reached the file when it fails.
Status WriteAt(int fd, std::string_view bytes, off_t offset, size_t& done) {
  done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Status::Failed(RunTimeErrorFromErrno(errno));
    }
    done += static_cast<size_t>(n);
  }
  return Status::Ok();
}

}  // namespace

Status RecordFile::Write(int record, std::string_view bytes) {
  if (fd_ < 0) return Status::Failed(kBadFileNumber);
  if (record < 1) return Status::Failed(kBadRecordNumber);
  std::string buffer(bytes.substr(0, static_cast<size_t>(recordLength_)));
  buffer.resize(static_cast<size_t>(recordLength_), ' ');
  const off_t offset = static_cast<off_t>(record - 1) * recordLength_;
  // The record as it was, to put back if only a part of the new one reaches the file.
  std::string earlier;
  const Status readEarlier = Read(record, earlier);
  size_t done = 0;
  const Status written = WriteAt(fd_, buffer, offset, done);
  if (!written.ok() && done > 0 && readEarlier.ok()) {
    // The disk filled up in the middle of the record. Rewriting bytes that were just written
    // needs no new space, so the earlier record comes back whole.
    size_t undone = 0;
    (void)WriteAt(fd_, std::string_view(earlier).substr(0, done), offset, undone);
  }
  return written;
}

Status RecordFile::Sync() {
  if (fd_ < 0) return Status::Failed(kBadFileNumber);
  if (::fdatasync(fd_) != 0) return Status::Failed(RunTimeErrorFromErrno(errno));
  return Status::Ok();
}

Status RecordFile::Close() {
  if (fd_ < 0) return Status::Ok();
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) return Status::Failed(RunTimeErrorFromErrno(errno));
  return Status::Ok();
}

}  // namespace shiftlog
