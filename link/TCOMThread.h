#pragma once
// The link supervisor: a state machine of ten link states that opens the port, waits for the
// controller to identify itself, keeps the link alive, carries out the window's requests and
// hooks the boot loader. Step() runs one step over the clock, port and window-bridge seams, so
// every transition is testable without a thread; LinkThread runs it on a QThread.
#include <atomic>
#include <cstdint>
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

  // ... the rest is private state of the supervisor and the transfer.
 private:
  WindowBridge& bridge_;
  int portNumber_;
  Clock& clock_;
  LinkPort port_;
  BootLoader boot_;
  std::atomic<std::uint8_t>& productCode_;
  const std::atomic<bool>& stop_;
  std::mutex lock_;
  LinkStatus status_;
};

}  // namespace zorv
