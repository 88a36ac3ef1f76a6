#pragma once
// The link supervisor: a state machine of ten link states that opens the port, waits for the
// controller to identify itself, keeps the link alive, carries out the window's requests and
// hooks the boot loader. Step() runs one step over the clock, port and window-bridge seams, so
// every transition is testable without a thread; LinkThread runs it on a QThread.
#include <atomic>
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
inline constexpr std::uint8_t kUpgradeFirmware = 251;
inline constexpr std::uint8_t kDownload = 253;
inline constexpr std::uint8_t kUpload = 254;
inline constexpr std::uint8_t kReset = 255;
}  // namespace command

class TCOMThread {
 public:
  TCOMThread(WindowBridge& bridge, int portNumber, Clock& clock, SerialDevice& device,
             FlashImage& flash, std::atomic<std::uint8_t>& productCode,
             const std::atomic<bool>& stop);

  // One step of the current link state. The caller holds Lock().
  void Step();

  // Window thread: stores the request only in link state 6; otherwise it is dropped.
  void SetCommand(std::uint8_t command, std::uint8_t argument);

  // The lock that guards the mailbox, the link state and the status fields.
  std::mutex& Lock() { return lock_; }

  // Read under Lock().
  std::uint8_t LinkState() const { return status_.linkState; }
  const LinkStatus& Status() const { return status_; }
  void ClearProgress() { status_.progress = 0; }
  // What a status refresh shows now (lamps lit for bytes within the last 200 ms).
  StatusSnapshot Snapshot();

  int PortNumber() const { return portNumber_; }

  // The caller of Step() holds Lock(); Step releases it while a synchronised call runs on the
  // window's thread, so the window never waits for the lock while the link waits for the window.
 private:
  // The bridge handed to synchronised work: it releases the lock around every synchronised call
  // and makes no such call once the terminate request is set.
  class SyncBridge final : public WindowBridge {
   public:
    explicit SyncBridge(TCOMThread& owner) : owner_(owner) {}
    void PostNotice(std::uint8_t code, std::uint8_t value) override;
    void RefreshStatus(const StatusSnapshot& status) override;
    void ShowLinkError(const std::string& text) override;
    void ShowLinkInfo(const std::string& text) override;
    void LoadBufferFromImage(ImageBytes& buffer) override;
    void StoreBufferToImage(const ImageBytes& buffer) override;
    std::string SelectFirmwareFile() override;
    // Runs `call` with the lock released; false when the terminate request stopped it.
    bool Run(const std::function<void()>& call);

   private:
    TCOMThread& owner_;
  };

  // One function per link state, dispatched from a table in Step().
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

  void ConnectPort();
  std::string DeviceName() const;
  void Identified(std::uint8_t productByte);
  void BootLoaderAnnounced();
  void StartTransfer(std::uint8_t linkState);
  void StartUpgrade();
  void RefreshNow();
  void SetStatus(std::string text, StatusColour colour);
  void Send(std::uint8_t byte) { port_.WriteByte(byte); }
  void RenewStamp() { stamp_ = clock_.Ticks(); }
  bool Elapsed(std::uint32_t ms) { return clock_.Since(stamp_) > ms; }

  // Calibration transfer helpers.
  static int TransferLengthFor(std::uint8_t productByte);
  std::uint8_t& BufferAt(int position) { return buffer_.at(static_cast<std::size_t>(position - 1)); }
  void UpdateProgress();
  void TransferFailed(const char* what);

  WindowBridge& bridge_;
  int portNumber_;
  Clock& clock_;
  LinkPort port_;
  BootLoader boot_;
  std::atomic<std::uint8_t>& productCode_;
  const std::atomic<bool>& stop_;
  std::mutex lock_;
  LinkStatus status_;
  SyncBridge sync_{*this};

  std::uint32_t stamp_ = 0;  // reference of every time-out
  bool firstLink_ = false;
  bool firmwareWanted_ = false;
  bool restartPending_ = false;
  std::string firmwareFile_;
  std::uint8_t command_ = command::kIdle;
  std::uint8_t argument_ = 0;

  ImageBytes buffer_{};  // transfer positions 1..256 are buffer_[0..255]
  std::uint8_t transferPhase_ = 0;
  int transferIndex_ = 1;
  int transferLength_ = 256;
};

}  // namespace zorv
