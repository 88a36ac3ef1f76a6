#pragma once
// The link supervisor's states. The numbers are the ones logs, traces and older notes use, so a
// state still prints as the number a technician may quote.
#include <cstdint>
#include <ostream>

namespace zorv {

enum class LinkState : std::uint8_t {
  Start = 0,
  PortFailed = 1,
  WaitingForIdentification = 2,
  BootHook = 3,
  BootIdentification = 4,
  Programming = 5,
  ConnectedIdle = 6,
  Upload = 7,
  Download = 8,
  Restart = 9,
  // Held in the boot loader after a firmware job failed: no keep-alive (the boot loader does
  // not answer it), the failure stays on screen, and Upgrade Firmware goes straight to
  // programming.
  FirmwareHeld = 10,
  // Reading the controller's flash back into a file.
  ReadingFirmware = 11,
  // The adapter was pulled out: its device node is gone. Nothing more to do until the window,
  // which watches for the device to come back, replaces the link.
  Unplugged = 12,
};

inline constexpr int kLinkStateCount = 13;

constexpr int Number(LinkState state) { return static_cast<int>(state); }

constexpr const char* Name(LinkState state) {
  switch (state) {
    case LinkState::Start: return "start";
    case LinkState::PortFailed: return "port failed";
    case LinkState::WaitingForIdentification: return "waiting for identification";
    case LinkState::BootHook: return "boot hook";
    case LinkState::BootIdentification: return "boot loader identification";
    case LinkState::Programming: return "programming";
    case LinkState::ConnectedIdle: return "connected and idle";
    case LinkState::Upload: return "upload";
    case LinkState::Download: return "download";
    case LinkState::Restart: return "restart";
    case LinkState::FirmwareHeld: return "held in the boot loader";
    case LinkState::ReadingFirmware: return "reading firmware";
    case LinkState::Unplugged: return "adapter unplugged";
  }
  return "unknown";
}

// Prints "6 (connected and idle)": the number and what it means.
inline std::ostream& operator<<(std::ostream& out, LinkState state) {
  return out << Number(state) << " (" << Name(state) << ")";
}

}  // namespace zorv
