// A queue of the CUPS spooler, reached through the CUPS client library (never a shell): one
// raw job per printed card, and the queue's state as a parallel printer's status byte. Every
// exchange with the scheduler is bounded by the time limit (give or take the second the
// library waits between its looks at the clock); a scheduler that cannot be reached, does not
// answer in time or refuses the job has failed.
#pragma once

#include <memory>
#include <string>

#include "host/printer_device.h"

namespace shiftlog {

class CupsQueue {
 public:
  // server: the scheduler (a host name, or the path of its local socket); empty for the one
  // the client library chooses (CUPS_SERVER, client.conf, else the local scheduler).
  // queue: the destination; empty for the default destination.
  CupsQueue(std::string server, std::string queue, int timeLimitMs)
      : server_(std::move(server)), queue_(std::move(queue)), timeLimitMs_(timeLimitMs) {}

  // A job that keeps the card and hands it to the scheduler whole when finished.
  std::unique_ptr<PrintJob> NewJob() const;

  // readyValue while the queue exists, is not stopped and accepts jobs; otherwise the status
  // of a printer that is off line (OffLineStatus).
  int StatusByte(int readyValue) const;

  // Sends one raw job; used by the job's Finish.
  Status Submit(const std::string& bytes) const;

 private:
  std::string server_;
  std::string queue_;
  int timeLimitMs_;
};

}  // namespace shiftlog
