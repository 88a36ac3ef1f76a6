#pragma once
// The link's interface: jobs in, events out. The window and the command line hand the link a
// job (LinkJob) and learn what happened from the events it posts (LinkEvent). The link never
// calls into them and never waits for them: a question (which file, "Write"?, "Retry"?) is asked
// by the window or the command line between two events, while the link waits silently in the
// state it reported; the answer comes back as a new job.
//
// A firmware upgrade, as the window runs it:
//   OpenBootLoaderJob           -> BootLoaderReadyEvent (chip line; also at once when held)
//   (window: file, HEX reader, the check with both CRCs, "Write")
//   UpgradeJob{approved bytes}  -> ProgressEvent ... -> JobFinishedEvent{Upgrade, result, crcs}
//   or CancelFirmwareJob        -> the intact program is started again (nothing was written)
// A failure that wrote leaves the link held (HeldEvent{held = true}); Retry is a new UpgradeJob
// with the same approved bytes, from the held state. Reading the flash: the window chooses and
// checks the target file first, then ReadFlashJob -> JobFinishedEvent{ReadFlash, flash bytes};
// the window writes the file.
//
// Standard C++ only: the window wraps LinkEvents in a queued Qt delivery, the command line
// polls a LinkEventQueue.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "image/SettingsImage.h"
#include "link/FlashImage.h"
#include "link/LinkState.h"
#include "link/StatusSnapshot.h"

namespace zorv {

// ---- jobs in -------------------------------------------------------------------------------

// The two CRC-32s of a firmware: `file` of the HEX file's bytes (what a maker publishes),
// `flash` of what is in flash after programming: the image with 0xFF where the file has no
// data, up to the end of the last page written.
struct FirmwareCrcs {
  std::uint32_t file = 0;
  std::uint32_t flash = 0;
  bool operator==(const FirmwareCrcs&) const = default;
};

// The firmware the user approved with "Write": these bytes are programmed, on the first run and
// on every Retry; the file is never read again.
struct ApprovedFirmware {
  std::string fileName;  // for texts and the history
  FlashImage image;      // bytes (0xFF where the file has no data), highest address, chip
  FirmwareCrcs crcs;
};

struct DownloadJob {};                        // settings from the controller
struct UploadJob { ImageBytes bytes{}; };     // settings to the controller, echo-checked
// One valve output driven while the technician holds its button: the pair goes out on every
// cycle until LiveOutputOffJob or another job.
struct LiveOutputJob {
  std::uint8_t output = 0;
  std::uint8_t value = 0;
};
struct LiveOutputOffJob {};
// "Upgrade Firmware": into the boot loader (or, held, at once) and report BootLoaderReadyEvent.
struct OpenBootLoaderJob {};
// "Write" (or "Retry"): program and verify these bytes. Taken after BootLoaderReadyEvent or
// while held.
struct UpgradeJob { ApprovedFirmware firmware; };
// The file dialog or the check was cancelled, or the file refused: nothing written, the program
// starts again (held: stays held). `reason` is the failure's text ("": "Error installing
// firmware").
struct CancelFirmwareJob { std::string reason; };
// "Read Firmware": into the boot loader, read the flash, start the program again.
struct ReadFlashJob {};
// "Reset": identify again from the start.
struct ResetJob {};

using LinkJob = std::variant<DownloadJob, UploadJob, LiveOutputJob, LiveOutputOffJob,
                             OpenBootLoaderJob, UpgradeJob, CancelFirmwareJob, ReadFlashJob,
                             ResetJob>;

// Whether the link takes `job` in `state`; any other job is refused (Submit returns false).
bool Accepts(LinkState state, const LinkJob& job);

// ---- events out ----------------------------------------------------------------------------

// The status strip: text, colour, progress, lamps. Posted when it changes, at most every
// 250 ms while nothing else changes.
struct StatusEvent { StatusSnapshot status; };

// A download ended: the bytes exactly as received (`length` of them: 121 from a Zorv v1.0,
// else 256; the rest 0), and the product code the controller identified itself with.
struct DownloadedEvent {
  ImageBytes bytes{};
  int length = 0;
  std::uint8_t productCode = 0;
};

// The window's product pages for the product code a controller identified itself with; nothing
// for a Zorv v1.0, which leaves the pages as they are.
inline std::optional<std::uint8_t> PageCodeFor(std::uint8_t productCode) {
  switch (productCode) {
    case product::kZorv11: return product::kZorvPages;
    case product::kTarnovex:
    case product::kHalverston:
    case product::kQuirn: return productCode;
    default: return std::nullopt;
  }
}

// The boot loader answered with its chip line: the window may now choose the file and ask.
struct BootLoaderReadyEvent {
  std::string chipLine;   // as received, line ending removed
  ChipParameters chip;
  bool held = false;      // the controller was already held (its program is incomplete)
  bool hadProgram = false;  // it ran a program before this job (a cancel starts it again)
};

// A firmware job's progress: percent and "Writing, 1:12 left".
struct ProgressEvent {
  int percent = 0;
  std::string text;
};

enum class JobKind { Download, Upload, Upgrade, ReadFlash, Reset };
enum class JobResult {
  Done,        // download/upload ended, firmware verified, flash read whole
  Failed,      // `text` says why
  Mismatch,    // firmware written, read-back differs
  Cancelled,   // the user cancelled (CancelFirmwareJob)
  Unplugged,   // the adapter vanished during the job
  Stopped,     // the link was destroyed or told to stop
};

struct JobFinishedEvent {
  JobKind job = JobKind::Download;
  JobResult result = JobResult::Done;
  std::string text;            // the system's own text: "Upload completed and verified!", ...
  bool written = false;        // firmware: flash was erased or written in this run
  bool held = false;           // firmware: the controller is now held in its boot loader
  std::optional<FirmwareCrcs> crcs;  // firmware: of the bytes that were written
  std::string fileName;        // firmware: the approved file
  std::string chipLine;        // firmware: the chip it went to
  std::vector<std::uint8_t> flash;   // ReadFlash: the bytes read, whole or nothing
};

// The adapter's device vanished; `device` is what the link had open.
struct UnpluggedEvent { std::string device; };

// The held state changed: held = the controller's flash is incomplete and it is kept in its
// boot loader (kept on disk by the link, keyed by the adapter's resolved device).
struct HeldEvent {
  bool held = false;
  std::string device;     // resolved device (by-id path where there is one)
  std::string chipLine;
  std::optional<std::uint32_t> fileCrc;
};

// A message for a box that does not stop the link ("This system has no firmware, ...").
struct MessageEvent {
  bool error = true;
  std::string text;
};

// After Reset the link asks to be replaced by a new one on the same port.
struct RestartWantedEvent {};

// One byte on the wire, for the byte log.
struct ByteEvent {
  bool sent = false;
  std::uint8_t byte = 0;
};

using LinkEvent = std::variant<StatusEvent, DownloadedEvent, BootLoaderReadyEvent, ProgressEvent,
                               JobFinishedEvent, UnpluggedEvent, HeldEvent, MessageEvent,
                               RestartWantedEvent, ByteEvent>;

// Where a link posts its events. Post is called on the link's thread and never waits.
class LinkEvents {
 public:
  virtual ~LinkEvents() = default;
  virtual void Post(LinkEvent event) = 0;
};

// A thread-safe queue of events, for a console that polls (and for tests).
class LinkEventQueue final : public LinkEvents {
 public:
  void Post(LinkEvent event) override {
    {
      const std::lock_guard<std::mutex> guard(lock_);
      events_.push_back(std::move(event));
    }
    ready_.notify_all();
  }
  // The oldest event, waiting up to `wait` for one.
  std::optional<LinkEvent> Take(std::chrono::milliseconds wait = std::chrono::milliseconds(0)) {
    std::unique_lock<std::mutex> guard(lock_);
    if (!ready_.wait_for(guard, wait, [this] { return !events_.empty(); })) return std::nullopt;
    LinkEvent event = std::move(events_.front());
    events_.pop_front();
    return event;
  }

 private:
  std::mutex lock_;
  std::condition_variable ready_;
  std::deque<LinkEvent> events_;
};

// What the window and the command line hold of a running link.
class LinkJobs {
 public:
  virtual ~LinkJobs() = default;  // stops the link (see TCOMThread::Shutdown) and waits for it
  // Any thread: queued for the link's next step when Accepts() takes it in the state last
  // reported; false (and dropped) otherwise.
  virtual bool Submit(LinkJob job) = 0;
  // The state at the end of the link's last step.
  virtual LinkState State() const = 0;
};

}  // namespace zorv
