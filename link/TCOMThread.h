#pragma once
// The link supervisor: a state machine that opens the port, waits for the controller to
// identify itself, keeps the link alive, carries out the window's requests and hooks the boot
// loader for firmware jobs. Step() runs one step over the clock, port and window-channel seams,
// so every transition is testable without a thread; LinkThread runs it on a QThread.
#include <atomic>
#include <optional>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "image/SettingsImage.h"
#include "link/BootLoader.h"
#include "link/Clock.h"
#include "link/FlashImage.h"
#include "link/LinkPort.h"
#include "link/LinkStatus.h"
#include "link/SerialDevice.h"
#include "link/WindowBridge.h"

namespace zorv {

// Command mailbox values; any other command is a live output pair sent on every cycle.
namespace command {
inline constexpr std::uint8_t kIdle = 0;
inline constexpr std::uint8_t kReadFirmware = 250;
inline constexpr std::uint8_t kUpgradeFirmware = 251;
inline constexpr std::uint8_t kDownload = 253;
inline constexpr std::uint8_t kUpload = 254;
inline constexpr std::uint8_t kReset = 255;
}  // namespace command

class TCOMThread {
 public:
  // How long a failure text stays on screen after its box was closed.
  static constexpr std::uint32_t kFailureShownMs = 5000;
  static constexpr const char* kFirmwareIncomplete =
      "Firmware incomplete: upgrade again before using the truck";

  TCOMThread(WindowChannel& window, int portNumber, Clock& clock, SerialDevice& device,
             FlashImage& flash, std::atomic<std::uint8_t>& productCode,
             const std::atomic<bool>& stop);

  // One step of the current link state. The caller holds Lock().
  void Step();
  // Once the loop has ended: a controller taken into its boot loader only to be looked at
  // (nothing written) is told to start its program again.
  void Shutdown();

  // Whether `command` is taken in `state`; every other request is dropped.
  static bool Accepts(LinkState state, std::uint8_t command);
  // Window thread: stores the request when Accepts() says so.
  void SetCommand(std::uint8_t command, std::uint8_t argument);

  // The lock that guards the mailbox, the link state and the status fields.
  std::mutex& Lock() { return lock_; }

  // Read under Lock().
  LinkState State() const { return status_.linkState; }
  const LinkStatus& Status() const { return status_; }
  void ClearProgress() { status_.progress = 0; }
  // What a status refresh shows now (lamps lit for bytes within the last 200 ms; a failure
  // text while it is still to be read).
  StatusSnapshot Snapshot();

  int PortNumber() const { return portNumber_; }

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
  // The device vanished: red "Adapter unplugged from COMn", port closed, the window told.
  void AdapterUnplugged();

  void ConnectPort();
  std::string DeviceName() const;
  void Identified(std::uint8_t productByte);
  void BootLoaderAnnounced();
  void StartTransfer(LinkState transfer);
  // 0xFF and a product code within 500 ms, then 'R' into the boot loader.
  void EnterBootLoader(bool forReading);
  void BootHookFailed();
  void ProgrammingRun(const std::string& file);
  void FirmwareInstalled();
  // Shows the failure in red and in a box, keeps it readable for kFailureShownMs after, and
  // starts the intact program again or holds the controller in its boot loader.
  void FirmwareFailed(const std::string& text);
  void HoldInBootLoader(const std::string& text);
  void RestartProgram();
  void RefreshNow();
  void SetStatus(std::string text, StatusColour colour);
  void KeepOnScreen(const std::string& text);
  void Send(std::uint8_t byte) { port_.WriteByte(byte); }
  void RenewStamp() { stamp_ = clock_.Ticks(); }
  bool Elapsed(std::uint32_t ms) { return clock_.Since(stamp_) > ms; }

  // Runs `work` on the window's side with the lock released, so the window never waits for
  // the lock while the link waits for the window. False when the terminate request or an
  // abandoned call stopped it; no call is made once the terminate request is set.
  bool Sync(std::function<void(WindowBridge&)> work);
  // A question whose answer the link needs; nullopt when the call was given up.
  template <typename Answer>
  std::optional<Answer> Ask(std::function<Answer(WindowBridge&)> question);
  void ShowError(const std::string& text);
  void ShowInfo(const std::string& text);

  // Calibration transfer helpers.
  static int TransferLengthFor(std::uint8_t productByte);
  std::uint8_t& BufferAt(int position) { return buffer_.at(static_cast<std::size_t>(position - 1)); }
  void UpdateProgress();
  void TransferFailed(const char* what);

  WindowChannel& window_;
  int portNumber_;
  Clock& clock_;
  LinkPort port_;
  FlashImage& flash_;
  BootLoader boot_;
  std::atomic<std::uint8_t>& productCode_;
  const std::atomic<bool>& stop_;
  std::mutex lock_;
  LinkStatus status_;

  std::uint32_t stamp_ = 0;  // reference of every time-out
  bool firstLink_ = false;
  bool firmwareWanted_ = false;
  bool readWanted_ = false;   // the boot loader is entered to read the flash
  bool hadProgram_ = false;   // the controller ran its program before this firmware job
  bool restartPending_ = false;
  std::string firmwareFile_;
  std::uint8_t command_ = command::kIdle;
  std::uint8_t argument_ = 0;

  // A failure the technician has yet to read: shown over the status until this long after
  // its box was closed.
  std::string failureText_;
  std::uint32_t failureShownAt_ = 0;

  ImageBytes buffer_{};  // transfer positions 1..256 are buffer_[0..255]
  std::uint8_t transferPhase_ = 0;
  int transferIndex_ = 1;
  int transferLength_ = 256;
};

}  // namespace zorv
