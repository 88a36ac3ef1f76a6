#include "TCOMThread.h"

#include <type_traits>
#include <utility>

#include "link/FirmwareJob.h"
#include "link/PortNames.h"
#include "link/WireBytes.h"

namespace zorv {
namespace {

// What each identification byte means to the link.
struct ProductRow {
  std::uint8_t code;
  const char* statusText;
  int transferLength;
  bool setsProductCode;   // 'G' leaves the window's product pages as they are
  std::uint8_t pageCode;  // the global product code when it is set
};

constexpr ProductRow kProducts[] = {
    {product::kZorv10, "ZORV v1.0 Connected and Listening", 121, false, 0},
    {product::kZorv11, "ZORV v1.1 Connected and Listening", 256, true, product::kZorvPages},
    {product::kTarnovex, "TARNOVEX Connected and Listening", 256, true, product::kTarnovex},
    {product::kHalverston, "HALVERSTON Connected and Listening", 256, true, product::kHalverston},
    {product::kQuirn, "QUIRN Connected and Listening", 256, true, product::kQuirn},
};

// The boot loader's chip line as shown and kept: its line end dropped.
std::string WithoutLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

const ProductRow* FindProduct(std::uint8_t code) {
  for (const ProductRow& row : kProducts) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

using namespace wire;  // the bytes on the line

constexpr std::uint32_t kSilenceMs = 250;
constexpr std::uint32_t kKeepAliveMs = 2000;
constexpr std::uint32_t kNoProgramMs = 2000;
constexpr std::uint32_t kRestartNoticeMs = 200;
constexpr std::uint32_t kLampMs = 200;

constexpr const char* kNoFirmwareSelect = "This system has no firmware, please select firmware now.";
constexpr const char* kNoFirmwareCycle =
    "This system has no firmware. \r\nPress OK, then cycle power and select firmware.";

constexpr const char* kNoFirmwareInstalled = "Error installing firmware";
constexpr const char* kBootHookFailed = "Boot Hook Failed!";

}  // namespace

TCOMThread::TCOMThread(LinkEvents& events, int portNumber, Clock& clock, SerialDevice& device,
                       const std::atomic<bool>& stop, HeldStore* held)
    : events_(events),
      portNumber_(portNumber),
      clock_(clock),
      port_(device, clock,
            [this](bool sent, std::uint8_t byte) { events_.Post(ByteEvent{sent, byte}); }),
      boot_(port_, clock, flash_, stop),
      stop_(stop),
      held_(held) {
  port_.SetStopFlag(&stop_);
}

// ---- the state table -----------------------------------------------------------------------

namespace {

struct StateRow {
  LinkState state;
  void (TCOMThread::*step)();
};

}  // namespace

void TCOMThread::Step() {
  // Every state and the step that runs in it; the order is the states' numbers.
  static constexpr StateRow kStates[] = {
      {LinkState::Start, &TCOMThread::StepStart},
      {LinkState::PortFailed, &TCOMThread::StepPortFailed},
      {LinkState::WaitingForIdentification, &TCOMThread::StepWaitForIdentification},
      {LinkState::BootHook, &TCOMThread::StepBootHook},
      {LinkState::BootIdentification, &TCOMThread::StepBootIdentification},
      {LinkState::Programming, &TCOMThread::StepProgramming},
      {LinkState::ConnectedIdle, &TCOMThread::StepIdle},
      {LinkState::Upload, &TCOMThread::StepUpload},
      {LinkState::Download, &TCOMThread::StepDownload},
      {LinkState::Restart, &TCOMThread::StepRestart},
      {LinkState::FirmwareHeld, &TCOMThread::StepFirmwareHeld},
      {LinkState::ReadingFirmware, &TCOMThread::StepReadingFirmware},
      {LinkState::Unplugged, &TCOMThread::StepUnplugged},
  };
  static_assert(std::size(kStates) == kLinkStateCount);
  if (stop_) return;
  TakeJob();
  const auto index = static_cast<std::size_t>(Number(status_.linkState));
  if (index < std::size(kStates)) (this->*kStates[index].step)();
  // Whatever the step was doing, a vanished device ends it: the unplug is the news, not the
  // transfer that it cut.
  if (status_.linkState != LinkState::Unplugged && port_.Vanished() && !stop_) AdapterUnplugged();
  // A job taken in idle waits through a keep-alive exchange for the next idle step; one the
  // new state cannot carry out is dropped, as a request outside it would be.
  if (job_ && status_.linkState != LinkState::WaitingForIdentification &&
      !Accepts(status_.linkState, *job_)) {
    job_.reset();
  }
  if (status_.linkState != LinkState::WaitingForIdentification) keepAliveOut_ = false;
  published_.store(status_.linkState);
  if (!stop_) PostStatusWhenDue();
}

bool TCOMThread::Submit(LinkJob job) {
  if (!Accepts(published_.load(), job) &&
      !(keepAliveOut_.load() && Accepts(LinkState::ConnectedIdle, job))) {
    return false;
  }
  const std::lock_guard<std::mutex> guard(jobLock_);
  waiting_ = std::move(job);
  return true;
}

void TCOMThread::TakeJob() {
  std::optional<LinkJob> waiting;
  {
    const std::lock_guard<std::mutex> guard(jobLock_);
    waiting.swap(waiting_);
  }
  // Judged again against the state now: a job that arrived while the link moved on is lost
  // like any request outside the state that takes it. A newer job replaces one not yet begun.
  // A keep-alive exchange is waited through, as for a job taken in idle: dropping the job
  // would lose a click Submit accepted.
  if (waiting && (Accepts(status_.linkState, *waiting) || keepAliveOut_.load())) {
    job_ = std::move(waiting);
  }
}

void TCOMThread::AdapterUnplugged() {
  const LinkState state = status_.linkState;
  const bool inBootLoader = state == LinkState::BootHook ||
                            state == LinkState::BootIdentification ||
                            state == LinkState::Programming ||
                            state == LinkState::ReadingFirmware ||
                            // told to start its program, which has not answered yet: the
                            // 'R' may not have left before the adapter went
                            (state == LinkState::WaitingForIdentification && restartPending_);
  // Nothing was written: the program is started again once the adapter is back.
  if (inBootLoader && hadProgram_ && !programIncomplete_ && held_ != nullptr) {
    held_->Hold(heldKey_, HeldRecord{flash_.chipLine, std::nullopt, true});
  }
  const bool transfer = state == LinkState::Upload || state == LinkState::Download;
  if (transfer || state == LinkState::ReadingFirmware ||
      (state == LinkState::Programming && firmwareWanted_)) {
    JobFinishedEvent cut;
    cut.job = state == LinkState::Upload     ? JobKind::Upload
              : state == LinkState::Download ? JobKind::Download
              : readWanted_                  ? JobKind::ReadFlash
                                             : JobKind::Upgrade;
    cut.result = JobResult::Unplugged;
    cut.text = UnpluggedText();
    cut.held = programIncomplete_;
    Finished(std::move(cut));
  }
  status_.linkState = LinkState::Unplugged;
  SetStatus(UnpluggedText(), StatusColour::Red);
  failureText_.clear();
  status_.progressText.clear();
  liveOutput_.reset();
  job_.reset();
  port_.ClosePort();
  events_.Post(UnpluggedEvent{DeviceName()});
}

void TCOMThread::StepUnplugged() {}

StatusSnapshot TCOMThread::Snapshot() {
  StatusSnapshot snapshot;
  snapshot.text = status_.text;
  snapshot.colour = status_.colour;
  if (!failureText_.empty()) {
    if (clock_.Since(failureShownAt_) < kFailureShownMs) {
      snapshot.text = failureText_;
      snapshot.colour = StatusColour::Red;
    } else {
      failureText_.clear();
    }
  }
  snapshot.progress = status_.progress;
  snapshot.progressText = status_.progressText;
  snapshot.receiveLamp = clock_.Since(port_.LastReceiveTime()) < kLampMs;
  snapshot.transmitLamp = clock_.Since(port_.LastTransmitTime()) < kLampMs;
  snapshot.portNote = port_.Note();
  snapshot.device = DeviceName();
  return snapshot;
}

void TCOMThread::PostStatus() {
  StatusSnapshot snapshot = Snapshot();
  lastPosted_ = snapshot;
  lastPostedAt_ = clock_.Ticks();
  events_.Post(StatusEvent{std::move(snapshot)});
}

void TCOMThread::PostStatusWhenDue() {
  const StatusSnapshot now = Snapshot();
  if (lastPosted_ && *lastPosted_ == now && clock_.Since(lastPostedAt_) <= kStatusMs) return;
  PostStatus();
}

void TCOMThread::Finished(JobFinishedEvent event) {
  events_.Post(std::move(event));
}

void TCOMThread::Finished(JobKind job, JobResult result, const std::string& text) {
  JobFinishedEvent event;
  event.job = job;
  event.result = result;
  event.text = text;
  Finished(std::move(event));
}

void TCOMThread::Shutdown() {
  const LinkState state = status_.linkState;
  // Programming here means waiting for the answer to the check: a run begins and ends within
  // one step, and one that was stopped after writing left the program incomplete.
  const bool inBootLoader = state == LinkState::BootHook ||
                            state == LinkState::BootIdentification ||
                            state == LinkState::Programming ||
                            state == LinkState::ReadingFirmware;
  if (inBootLoader && hadProgram_ && !programIncomplete_) Send(kRestart);
}

// ---- link states ---------------------------------------------------------------------------

void TCOMThread::StepStart() {
  firmwareWanted_ = false;
  readWanted_ = false;
  hadProgram_ = false;
  restartPending_ = false;
  liveOutput_.reset();
  SetStatus("Not Connected", StatusColour::Red);
  status_.progress = 0;
  status_.progressText.clear();
  port_.ClosePort();
  ConnectPort();
  port_.DrainInput();
  if (status_.linkState != LinkState::WaitingForIdentification) return;
  heldKey_ = HeldStore::DeviceKey(DeviceName());
  const std::optional<HeldRecord> record =
      held_ != nullptr ? held_->Find(heldKey_) : std::nullopt;
  if (record && record->intact) {
    // Left in its boot loader with nothing written when the adapter vanished.
    held_->Release(heldKey_);
    RestartProgram();
    return;
  }
  // A controller whose flash a run left unverified stays in its boot loader, whatever link
  // and whichever program comes next.
  if (record) {
    programIncomplete_ = true;
    events_.Post(HeldEvent{true, heldKey_, record->chipLine, record->fileCrc});
  }
  if (programIncomplete_) HoldInBootLoader(kFirmwareIncomplete);
}

void TCOMThread::StepPortFailed() {}

void TCOMThread::StepWaitForIdentification() {
  std::uint8_t byte = 0;
  if (port_.ReadByte(byte)) {
    if (FindProduct(byte) != nullptr) {
      Identified(byte);
    } else if (byte == kBootLoaderHere) {
      BootLoaderAnnounced();
    }
    return;
  }
  if (restartPending_) {
    // The controller was told to start its program and never identified itself.
    if (Elapsed(kNoProgramMs)) {
      events_.Post(MessageEvent{true, kNoFirmwareCycle});
      firmwareWanted_ = true;
      restartPending_ = false;
    }
  } else if (Elapsed(kSilenceMs)) {
    SetStatus("Waiting For Link On COM" + std::to_string(portNumber_), StatusColour::Blue);
    // A job waits through a keep-alive's answer, never through a lost controller: carried out
    // on its return it would surprise the user (a valve driven minutes after the click).
    job_.reset();
    keepAliveOut_ = false;
  }
}

void TCOMThread::StepBootHook() {
  std::uint8_t byte = 0;
  if (port_.ReadByte(byte) && byte == kBootPrompt) {
    if (firmwareWanted_ || readWanted_) {
      Send(kAskChipLine);
      status_.linkState = LinkState::BootIdentification;
    } else {
      restartPending_ = true;
      Send(kRestart);
      RenewStamp();
      status_.linkState = LinkState::WaitingForIdentification;
    }
    return;
  }
  if (Elapsed(kSilenceMs)) BootHookFailed();
}

void TCOMThread::StepBootIdentification() {
  std::string line;
  if (!port_.ReadLine(line)) {
    BootHookFailed();
    return;
  }
  SetStatus(line, StatusColour::Green);
  boot_.IdentifyChip(line);
  if (readWanted_) {
    status_.linkState = LinkState::ReadingFirmware;
    PostStatus();
    return;
  }
  BootLoaderReady();
}

void TCOMThread::BootLoaderReady() {
  status_.linkState = LinkState::Programming;
  firmwareWanted_ = true;
  BootLoaderReadyEvent ready;
  ready.chipLine = WithoutLineEnd(flash_.chipLine);
  ready.chip = flash_.chip;
  ready.held = programIncomplete_;
  ready.hadProgram = hadProgram_;
  PostStatus();
  events_.Post(std::move(ready));
}

void TCOMThread::StepProgramming() {
  // Waits silently for the answer to the check: no keep-alive, no time limit of its own.
  if (!job_) return;
  LinkJob job = std::move(*job_);
  job_.reset();
  if (const auto* upgrade = std::get_if<UpgradeJob>(&job)) {
    ProgrammingRun(upgrade->firmware);
  } else if (const auto* cancel = std::get_if<CancelFirmwareJob>(&job)) {
    FirmwareFailed(JobKind::Upgrade, JobResult::Cancelled,
                   cancel->reason.empty() ? kNoFirmwareInstalled : cancel->reason);
  }
}

// Writes and verifies the approved bytes. A failure that wrote holds the controller; Retry is a
// new UpgradeJob with the same bytes.
void TCOMThread::ProgrammingRun(const ApprovedFirmware& firmware) {
  // The approved bytes, on the chip the boot loader named.
  const ChipParameters chip = flash_.chip;
  const std::string chipLine = flash_.chipLine;
  flash_ = firmware.image;
  flash_.chip = chip;
  flash_.chipLine = chipLine;
  // Held on disk before the first frame: a run cut by a kill, a crash or a laptop without power
  // never comes back here, and its controller must still be held when a program next opens it.
  const bool heldBefore = programIncomplete_;
  if (!heldBefore && held_ != nullptr) {
    held_->Hold(heldKey_, HeldRecord{WithoutLineEnd(chipLine), firmware.crcs.file, false});
  }
  const BootLoader::Run run = boot_.Program(status_, [this] {
    PostStatus();
    events_.Post(ProgressEvent{status_.progress, status_.progressText});
  });
  if (!heldBefore) {
    if (run.written) {
      SetHeld(true, chipLine, firmware.crcs.file);
    } else if (held_ != nullptr) {
      held_->Release(heldKey_);  // nothing written: the program is as it was
    }
  }
  if (run.result == BootLoader::Result::Stopped || stop_) return;

  JobFinishedEvent finished;
  finished.job = JobKind::Upgrade;
  finished.written = run.written;
  finished.crcs = FirmwareCrcs{firmware.crcs.file, FlashCrc32(flash_)};
  finished.fileName = firmware.fileName;
  finished.chipLine = chipLine;
  if (run.result == BootLoader::Result::Verified) {
    FirmwareInstalled(std::move(finished));
    return;
  }
  const bool unplugged = port_.Vanished();
  finished.result = unplugged ? JobResult::Unplugged
                    : run.result == BootLoader::Result::Mismatch ? JobResult::Mismatch
                                                                  : JobResult::Failed;
  finished.text = unplugged ? UnpluggedText()
                  : run.result == BootLoader::Result::Mismatch
                      ? "Contents of flash doesn't match file"
                      : "Upload failed!";
  if (!run.written) {
    FirmwareFailed(JobKind::Upgrade, finished.result, finished.text);
    return;
  }
  SetStatus(finished.text, StatusColour::Red);
  status_.progressText.clear();
  KeepOnScreen(finished.text);
  HoldInBootLoader(kFirmwareIncomplete);
  finished.held = true;
  PostStatus();
  Finished(std::move(finished));
}

void TCOMThread::FirmwareInstalled(JobFinishedEvent finished) {
  SetHeld(false, flash_.chipLine, std::nullopt);
  firmwareWanted_ = false;
  finished.result = JobResult::Done;
  finished.text = "Upload completed and verified!";
  PostStatus();
  Finished(std::move(finished));
  // The new program may have reset the settings: its identification downloads them again,
  // as a new link's would.
  firstLink_ = true;
  restartPending_ = true;
  Send(kRestart);
  status_.linkState = LinkState::WaitingForIdentification;
  RenewStamp();
}

void TCOMThread::FirmwareFailed(JobKind job, JobResult result, const std::string& text) {
  SetStatus(text, StatusColour::Red);
  status_.progressText.clear();
  KeepOnScreen(text);
  JobFinishedEvent failed;
  failed.job = job;
  failed.result = result;
  failed.text = text;
  if (programIncomplete_) {
    HoldInBootLoader(kFirmwareIncomplete);
  } else if (hadProgram_) {
    RestartProgram();
  } else {
    // Without a program, 'R' would only bring the boot loader back: stay in it.
    HoldInBootLoader(text);
  }
  failed.held = status_.linkState == LinkState::FirmwareHeld;
  PostStatus();
  Finished(std::move(failed));
}

void TCOMThread::BootHookFailed() {
  // Only a firmware job is a failure to report; a boot loader met by chance keeps the old way
  // back through the keep-alive.
  if (firmwareWanted_ || readWanted_) {
    FirmwareFailed(readWanted_ ? JobKind::ReadFlash : JobKind::Upgrade, JobResult::Failed,
                   kBootHookFailed);
    return;
  }
  SetStatus(kBootHookFailed, StatusColour::Red);
  status_.linkState = LinkState::ConnectedIdle;
}

void TCOMThread::HoldInBootLoader(const std::string& text) {
  SetStatus(text, StatusColour::Red);
  status_.linkState = LinkState::FirmwareHeld;
  firmwareWanted_ = true;
  readWanted_ = false;
  liveOutput_.reset();
}

void TCOMThread::SetHeld(bool incomplete, const std::string& chipLine,
                         std::optional<std::uint32_t> crc) {
  programIncomplete_ = incomplete;
  const std::string line = WithoutLineEnd(chipLine);
  if (held_ != nullptr) {
    if (incomplete) {
      held_->Hold(heldKey_, HeldRecord{line, crc, false});
    } else {
      held_->Release(heldKey_);
    }
  }
  events_.Post(HeldEvent{incomplete, heldKey_, line, crc});
}

void TCOMThread::RestartProgram() {
  firmwareWanted_ = false;
  readWanted_ = false;
  restartPending_ = true;
  Send(kRestart);
  status_.linkState = LinkState::WaitingForIdentification;
  RenewStamp();
}

void TCOMThread::StepIdle() {
  if (job_) {
    LinkJob job = std::move(*job_);
    job_.reset();
    if (!std::holds_alternative<LiveOutputJob>(job)) liveOutput_.reset();
    if (const auto* upload = std::get_if<UploadJob>(&job)) {
      buffer_ = upload->bytes;
      StartTransfer(LinkState::Upload);
      return;
    }
    if (std::holds_alternative<DownloadJob>(job)) {
      StartTransfer(LinkState::Download);
      return;
    }
    if (std::holds_alternative<ResetJob>(job)) {
      port_.DrainInput();
      Send(kIdentifyYourself);
      status_.linkState = LinkState::Restart;
      RenewStamp();
      return;
    }
    if (std::holds_alternative<OpenBootLoaderJob>(job)) {
      EnterBootLoader(false);
      return;
    }
    if (std::holds_alternative<ReadFlashJob>(job)) {
      EnterBootLoader(true);
      return;
    }
    if (const auto* live = std::get_if<LiveOutputJob>(&job)) liveOutput_ = *live;
  }
  if (liveOutput_) {
    // The pair goes out again on every cycle until it is switched off.
    Send(liveOutput_->output);
    Send(liveOutput_->value);
    RenewStamp();
  } else if (Elapsed(kKeepAliveMs)) {
    port_.DrainInput();
    Send(kIdentifyYourself);
    status_.linkState = LinkState::WaitingForIdentification;
    keepAliveOut_ = true;
    RenewStamp();
  }
}

void TCOMThread::StepRestart() {
  if (Elapsed(kRestartNoticeMs)) {
    events_.Post(RestartWantedEvent{});
    RenewStamp();
  }
}

void TCOMThread::StepFirmwareHeld() {
  if (job_) {
    LinkJob job = std::move(*job_);
    job_.reset();
    if (std::holds_alternative<CancelFirmwareJob>(job)) return;
    firmwareWanted_ = true;
    if (flash_.chipLine.empty()) {
      // Held by a run this link did not see (an earlier run, or the other program): the boot
      // loader is waiting for commands, and the chip is not known yet.
      Send(kAskChipLine);
      RenewStamp();
      status_.linkState = LinkState::BootIdentification;
      return;
    }
    if (const auto* upgrade = std::get_if<UpgradeJob>(&job)) {
      // Retry: the controller is already in its boot loader, and the chip is known.
      status_.linkState = LinkState::Programming;
      ProgrammingRun(upgrade->firmware);
      return;
    }
    BootLoaderReady();
    return;
  }
  std::uint8_t byte = 0;
  if (!port_.ReadByte(byte)) return;
  if (byte == kBootLoaderHere) {
    // Powered up again: hold it, and program once it prompts.
    Send(kHookBootLoader);
    firmwareWanted_ = true;
    status_.linkState = LinkState::BootHook;
    RenewStamp();
  } else if (FindProduct(byte) != nullptr) {
    if (programIncomplete_) {
      // The half-written program runs: take it back into its boot loader before it does more.
      Send(kRestart);
      return;
    }
    Identified(byte);
  }
}

void TCOMThread::StepReadingFirmware() {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!boot_.ReadFlash(bytes, status_, [this] {
        PostStatus();
        events_.Post(ProgressEvent{status_.progress, status_.progressText});
      }, error)) {
    if (stop_) return;
    if (port_.Vanished()) return;  // AdapterUnplugged reports it
    FirmwareFailed(JobKind::ReadFlash, JobResult::Failed, error);
    return;
  }
  SetStatus("Firmware read", StatusColour::Green);
  JobFinishedEvent read;
  read.job = JobKind::ReadFlash;
  read.result = JobResult::Done;
  read.chipLine = flash_.chipLine;
  read.flash = std::move(bytes);
  PostStatus();
  Finished(std::move(read));
  RestartProgram();
}

// ---- helpers -------------------------------------------------------------------------------

void TCOMThread::ConnectPort() {
  const Outcome opened = port_.OpenPort(LinkPort::kBaudRate, DeviceName());
  if (opened) {
    status_.linkState = LinkState::WaitingForIdentification;
    firstLink_ = true;
    status_.text = "Waiting For Link On COM" + std::to_string(portNumber_);
  } else {
    status_.linkState = LinkState::PortFailed;
    status_.text = "COM Port Fail: " + opened.error;
  }
}

std::string TCOMThread::DeviceName() const { return DeviceNameForPort(portNumber_); }

std::string TCOMThread::UnpluggedText() const {
  return "Adapter unplugged from COM" + std::to_string(portNumber_);
}

void TCOMThread::Identified(std::uint8_t productByte) {
  const ProductRow& row = *FindProduct(productByte);
  restartPending_ = false;
  Send(kAcknowledge);
  status_.linkState = LinkState::ConnectedIdle;
  SetStatus(row.statusText, StatusColour::Green);
  transferLength_ = row.transferLength;
  identifiedProduct_ = productByte;
  if (firstLink_) {
    job_ = DownloadJob{};
    firstLink_ = false;
  }
  RenewStamp();
}

void TCOMThread::BootLoaderAnnounced() {
  Send(kHookBootLoader);
  status_.linkState = LinkState::BootHook;
  if (restartPending_) {
    // Told to start its program, the controller came back to its boot loader: it has none.
    firmwareWanted_ = true;
    if (!stop_) events_.Post(MessageEvent{true, kNoFirmwareSelect});
    restartPending_ = false;
  }
  // The prompt gets its full 250 ms from now, however long the link waited for the 'B'.
  RenewStamp();
}

void TCOMThread::EnterBootLoader(bool forReading) {
  port_.DrainInput();
  Send(kIdentifyYourself);
  std::uint8_t byte = 0;
  if (port_.WaitByte(byte) && FindProduct(byte) != nullptr) {
    Send(kRestart);
    status_.linkState = LinkState::WaitingForIdentification;
    hadProgram_ = true;
    firmwareWanted_ = !forReading;
    readWanted_ = forReading;
  } else {
    status_.linkState = LinkState::Restart;
  }
  RenewStamp();
}

void TCOMThread::SetStatus(std::string text, StatusColour colour) {
  status_.text = std::move(text);
  status_.colour = colour;
}

void TCOMThread::KeepOnScreen(const std::string& text) {
  failureText_ = text;
  failureShownAt_ = clock_.Ticks();
}

}  // namespace zorv
