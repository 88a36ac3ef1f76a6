#pragma once
// The link supervisor: a worker that opens the port, waits for the controller to identify
// itself, keeps the link alive, carries out the jobs it is given and hooks the boot loader for
// firmware jobs. It reports everything as events (link/LinkJobs.h) and never waits for whoever
// reads them. Step() runs one step of the state table over the clock and port seams, so every
// transition is testable without a thread; LinkThread runs it on a QThread.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "image/SettingsImage.h"
#include "link/BootLoader.h"
#include "link/Clock.h"
#include "link/FlashImage.h"
#include "link/HeldStore.h"
#include "link/LinkJobs.h"
#include "link/LinkPort.h"
#include "link/LinkStatus.h"
#include "link/SerialDevice.h"

namespace zorv {

class TCOMThread {
 public:
  // How long a failure text stays over the status.
  static constexpr std::uint32_t kFailureShownMs = 5000;
  // A status event goes out at least this often while the link runs.
  static constexpr std::uint32_t kStatusMs = 250;
  static constexpr const char* kFirmwareIncomplete =
      "Firmware incomplete: upgrade again before using the truck";

  // `held` keeps the held state across restarts (nullptr: for this link's life only).
  TCOMThread(LinkEvents& events, int portNumber, Clock& clock, SerialDevice& device,
             const std::atomic<bool>& stop, HeldStore* held = nullptr);

  // Any thread: queued for the next step when the present state takes it (Accepts); a job
  // still waiting is replaced.
  bool Submit(LinkJob job);
  // Any thread: the state at the end of the last step.
  LinkState State() const { return published_.load(); }

  // Link thread: one step of the present state.
  void Step();
  // Link thread, once the loop has ended: a controller taken into its boot loader with nothing
  // written (to be looked at, or while a question about the file was open) is told to start
  // its program again.
  void Shutdown();

  // Before the first step: the controller is taken to be held in its boot loader although the
  // held store does not say so (the command line's last resort for a silent controller).
  void AssumeHeld() { programIncomplete_ = true; }

  // Link thread: what the next status event shows (lamps lit for bytes within the last 200 ms;
  // a failure text while it is still to be read).
  StatusSnapshot Snapshot();
  const LinkStatus& Status() const { return status_; }
  int PortNumber() const { return portNumber_; }
  // The controller's flash is incomplete: held in its boot loader until a run ends verified.
  bool ProgramIncomplete() const { return programIncomplete_; }

 private:
  // One function per link state, dispatched from the table in Step().
  void StepStart();
  void StepPortFailed();
  void StepWaitForIdentification();
  void StepBootHook();
  void StepBootIdentification();
  void StepProgramming();
  void StepIdle();
  void StepUpload();
  void StepDownload();
  void StepRestart();
  void StepFirmwareHeld();
  void StepReadingFirmware();
  void StepUnplugged();

  void TakeJob();
  // The device vanished: red "Adapter unplugged from COMn", port closed, the job that it cut
  // reported.
  void AdapterUnplugged();
  void ConnectPort();
  std::string DeviceName() const;
  void Identified(std::uint8_t productByte);
  void BootLoaderAnnounced();
  void StartTransfer(LinkState transfer);
  // 0xFF and a product code within 500 ms, then 'R' into the boot loader.
  void EnterBootLoader(bool forReading);
  void BootHookFailed();
  void BootLoaderReady();
  void ProgrammingRun(const ApprovedFirmware& firmware);
  void FirmwareInstalled(JobFinishedEvent finished);
  // Reports the failure, keeps it readable for kFailureShownMs, and starts the intact program
  // again or holds the controller in its boot loader.
  void FirmwareFailed(JobKind job, JobResult result, const std::string& text);
  void HoldInBootLoader(const std::string& text);
  void SetHeld(bool incomplete, const std::string& chipLine, std::optional<std::uint32_t> crc);
  void RestartProgram();
  void PostStatus();
  void PostStatusWhenDue();
  void Finished(JobFinishedEvent event);
  void Finished(JobKind job, JobResult result, const std::string& text);
  void SetStatus(std::string text, StatusColour colour);
  void KeepOnScreen(const std::string& text);
  std::string UnpluggedText() const;
  void Send(std::uint8_t byte) { port_.WriteByte(byte); }
  void RenewStamp() { stamp_ = clock_.Ticks(); }
  bool Elapsed(std::uint32_t ms) { return clock_.Since(stamp_) > ms; }

  // Calibration transfer helpers.
  static int TransferLengthFor(std::uint8_t productByte);
  std::uint8_t& BufferAt(int position) { return buffer_.at(static_cast<std::size_t>(position - 1)); }
  void UpdateProgress();
  void TransferFailed(const char* what);

  LinkEvents& events_;
  int portNumber_;
  Clock& clock_;
  LinkPort port_;
  FlashImage flash_;  // the image being programmed, and the chip
  BootLoader boot_;
  const std::atomic<bool>& stop_;
  HeldStore* held_;
  std::string heldKey_;  // the device's key in the held store, once the port opened
  LinkStatus status_;
  std::atomic<LinkState> published_{LinkState::Start};
  // The link was idle and its keep-alive waits for the answer: jobs are still taken, and wait
  // through the exchange (a click in that moment is not refused).
  std::atomic<bool> keepAliveOut_{false};

  std::mutex jobLock_;  // guards waiting_ only; never held while a step runs
  std::optional<LinkJob> waiting_;
  std::optional<LinkJob> job_;  // the job this step carries out

  std::uint32_t stamp_ = 0;  // reference of every time-out
  bool firstLink_ = false;
  bool firmwareWanted_ = false;
  bool readWanted_ = false;   // the boot loader is entered to read the flash
  bool hadProgram_ = false;   // the controller ran its program before this firmware job
  bool restartPending_ = false;
  bool programIncomplete_ = false;
  std::uint8_t identifiedProduct_ = 0;
  std::optional<LiveOutputJob> liveOutput_;

  // A failure the technician has yet to read: shown over the status until this long after
  // it happened.
  std::string failureText_;
  std::uint32_t failureShownAt_ = 0;
  std::optional<StatusSnapshot> lastPosted_;
  std::uint32_t lastPostedAt_ = 0;

  ImageBytes buffer_{};  // transfer positions 1..256 are buffer_[0..255]
  std::uint8_t transferPhase_ = 0;
  int transferIndex_ = 1;
  int transferLength_ = 256;
};

}  // namespace zorv
