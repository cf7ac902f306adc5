#include "host/cups_queue.h"

#include <sys/socket.h>
#include <time.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "host/clock.h"
#include "host/cups_library.h"

namespace shiftlog {

namespace {

// One connection to the scheduler, closed on every way out. The library calls StillInTime
// whenever the scheduler has been silent for a moment; past the deadline the exchange fails.
class Connection {
 public:
  Connection(const CupsLibrary& cups, const std::string& server, int timeLimitMs)
      : cups_(cups), deadline_(MonotonicMs() + timeLimitMs) {
    // A scheduler given by name serves the library's own look-ups (the default destination)
    // as well, not only this connection.
    if (!server.empty() && server != cups.cupsServer()) cups.cupsSetServer(server.c_str());
    http_ = cups.httpConnect2(cups.cupsServer(), cups.ippPort(), nullptr, AF_UNSPEC, cups.cupsEncryption(), 1,
                              timeLimitMs, nullptr);
    if (http_ != nullptr) cups.httpSetTimeout(http_, 0.1, StillInTime, &deadline_);
  }
  ~Connection() {
    if (http_ != nullptr) cups_.httpClose(http_);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  http_t* http() const { return http_; }

 private:
  static int StillInTime(http_t*, void* deadline) {
    return MonotonicMs() < *static_cast<const std::int64_t*>(deadline) ? 1 : 0;
  }

  const CupsLibrary& cups_;
  std::int64_t deadline_;
  http_t* http_ = nullptr;
};

struct Destination {
  std::string name;
  bool ready = false;
};

// The named queue, or the default destination (which the library takes from LPDEST, PRINTER,
// the user's lpoptions or the scheduler's default), with its state. A named queue is asked
// about directly: the library's own look-up of a name it does not know goes searching the
// network on connections of its own, without this time limit.
std::optional<Destination> FindDestination(const CupsLibrary& cups, http_t* http, const std::string& queue) {
  Destination found;
  found.name = queue;
  if (found.name.empty()) {
    cups_dest_t* dest = cups.cupsGetNamedDest(http, nullptr, nullptr);
    if (dest == nullptr) return std::nullopt;
    found.name = dest->name;
    cups.cupsFreeDests(1, dest);
  }
  char uri[HTTP_MAX_URI];
  cups.httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", cups.ippPort(),
                        "/printers/%s", found.name.c_str());
  ipp_t* request = cups.ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  cups.ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  static const char* const kWanted[] = {"printer-state", "printer-is-accepting-jobs"};
  cups.ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr,
                     kWanted);
  ipp_t* response = cups.cupsDoRequest(http, request, "/");
  if (response == nullptr) return std::nullopt;
  const bool known = cups.ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING;
  ipp_attribute_t* state = cups.ippFindAttribute(response, "printer-state", IPP_TAG_ENUM);
  ipp_attribute_t* accepting = cups.ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
  found.ready = known && state != nullptr && cups.ippGetInteger(state, 0) != IPP_PSTATE_STOPPED &&
                accepting != nullptr && cups.ippGetBoolean(accepting, 0) != 0;
  cups.ippDelete(response);
  if (!known) return std::nullopt;
  return found;
}

class CupsJob : public WholePrintJob {
 public:
  explicit CupsJob(CupsQueue queue) : queue_(std::move(queue)) {}
  Status Finish() override {
    if (done_) return Status::Ok();
    const Status status = queue_.Submit(Bytes());
    done_ = status.ok();
    return status;
  }

 private:
  CupsQueue queue_;
  bool done_ = false;
};

}  // namespace

std::unique_ptr<PrintJob> CupsQueue::NewJob() const {
  return std::make_unique<CupsJob>(*this);
}

int CupsQueue::StatusByte(int readyValue) const {
  const CupsLibrary* cups = LoadCupsLibrary();
  if (cups == nullptr) return OffLineStatus(readyValue);
  const Connection connection(*cups, server_, timeLimitMs_);
  if (connection.http() == nullptr) return OffLineStatus(readyValue);
  const std::optional<Destination> destination = FindDestination(*cups, connection.http(), queue_);
  return destination && destination->ready ? readyValue : OffLineStatus(readyValue);
}

Status CupsQueue::Submit(const std::string& bytes) const {
  const CupsLibrary* loaded = LoadCupsLibrary();
  if (loaded == nullptr) return Status::Failed(kDeviceUnavailable);
  const CupsLibrary& cups = *loaded;
  std::string name;
  int job = 0;
  {
    const Connection connection(cups, server_, timeLimitMs_);
    http_t* http = connection.http();
    if (http == nullptr) return Status::Failed(kDeviceUnavailable);
    const std::optional<Destination> destination = FindDestination(cups, http, queue_);
    if (!destination) return Status::Failed(kDeviceUnavailable);
    name = destination->name;
    // A queue that does not accept jobs refuses here, before anything is sent.
    job = cups.cupsCreateJob(http, name.c_str(), "Time card", 0, nullptr);
    if (job <= 0) return Status::Failed(kDeviceUnavailable);
    if (cups.cupsStartDocument(http, name.c_str(), job, "Time card", CUPS_FORMAT_RAW, 1) ==
            HTTP_STATUS_CONTINUE &&
        cups.cupsWriteRequestData(http, bytes.data(), bytes.size()) == HTTP_STATUS_CONTINUE &&
        cups.cupsFinishDocument(http, name.c_str()) <= IPP_STATUS_OK_EVENTS_COMPLETE) {
      return Status::Ok();
    }
  }
  // The job was made but its document did not arrive whole: take the job back, so that a
  // retry does not leave a broken or empty job behind it in the queue.
  const Connection again(cups, server_, timeLimitMs_);
  if (again.http() != nullptr) cups.cupsCancelJob2(again.http(), name.c_str(), job, 0);
  return Status::Failed(kDeviceFault);
}

}  // namespace shiftlog
