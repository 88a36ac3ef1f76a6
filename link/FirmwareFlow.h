#pragma once
// The asking side of a firmware job, shared by the window, the command line and the tests: it
// turns the link's events into the questions a person answers (which file, "Write", "Retry")
// and the answers into the next job. It keeps the approved bytes, so Retry programs exactly
// what was approved, whatever happened to the file on disk since. Standard C++ only; the
// questions are the caller's.
#include <functional>
#include <optional>
#include <string>

#include "link/LinkJobs.h"

namespace zorv {

class FirmwareFlow {
 public:
  struct Questions {
    std::function<std::string()> chooseFile;                  // "" when cancelled
    std::function<bool(const std::string& check)> confirm;    // true: "Write"
    std::function<bool(const std::string& failure)> retry;    // true: "Retry"
    std::function<void(const std::string& text)> error;       // a box to read
    std::function<void(const std::string& text)> info;        // a box to read
  };

  explicit FirmwareFlow(Questions questions) : questions_(std::move(questions)) {}

  // The boot loader is ready: asks for the file, reads it and shows the check. The job to
  // submit: UpgradeJob with the approved bytes, or CancelFirmwareJob with the reason.
  LinkJob Ready(const BootLoaderReadyEvent& ready);
  // An upgrade ended: tells the user; after a failure that wrote, asks "Retry". The job to
  // submit (the same approved bytes), or nothing.
  std::optional<LinkJob> Finished(const JobFinishedEvent& finished);

  const std::optional<ApprovedFirmware>& Approved() const { return approved_; }

 private:
  Questions questions_;
  std::optional<ApprovedFirmware> approved_;
};

// "" when `name` can be programmed from: not empty, no wildcards, an existing plain file.
bool UsableFirmwareFile(const std::string& name);

}  // namespace zorv
