#pragma once
// The link supervisor driven on the command line's own thread: the same TCOMThread as the
// window's, stepped every 10 ms over the steady clock and the real serial port, its window
// calls answered at once by the console bridge.
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "link/Clock.h"
#include "link/FlashImage.h"
#include "link/SystemSerialDevice.h"
#include "link/TCOMThread.h"

namespace zorv::cli {

class ConsoleBridge;

class ConsoleLink {
 public:
  ConsoleLink(ConsoleBridge& bridge, int port);
  // Lets a controller taken into its boot loader only to be looked at run its program again,
  // and closes the port.
  ~ConsoleLink();
  ConsoleLink(const ConsoleLink&) = delete;
  ConsoleLink& operator=(const ConsoleLink&) = delete;

  // Steps until `done` holds (true) or `ms` have passed (false).
  bool RunUntil(const std::function<bool()>& done, std::uint32_t ms);
  // Waits for the controller (or its boot loader) to answer; "" when it did, else the text
  // to print.
  QString Connect(int timeoutSeconds);

  // A new link that starts held in the boot loader, as after a run that left the flash
  // unverified: for a controller that said nothing at all, which a failed run leaves waiting
  // in its boot loader until asked.
  void HoldForFirmware();

  void Command(std::uint8_t command) { link_->SetCommand(command, 0); }
  LinkState State() { return link_->State(); }
  std::string StatusText() { return link_->Status().text; }
  // The product code the controller gave (0 for a Zorv; the v1.0 shows by its 121 bytes).
  std::uint8_t ProductCode() const { return productCode_.load(); }
  FlashImage& Flash() { return flash_; }
  int Port() const { return port_; }

 private:
  ConsoleBridge& bridge_;
  int port_;
  SteadyClock clock_;
  SystemSerialDevice device_;
  FlashImage flash_;
  std::atomic<std::uint8_t> productCode_{0};
  std::atomic<bool> stop_{false};
  DirectChannel channel_;
  std::optional<TCOMThread> link_;
  std::uint32_t lastRefresh_ = 0;
};

}  // namespace zorv::cli
