#pragma once
// The bytes of the controller's protocol outside the transfers and the boot loader's pages:
// one list for the link and for the command line's probe, which speaks to the port directly.
#include <cstdint>

namespace zorv::wire {

// Sent to the controller.
inline constexpr std::uint8_t kAcknowledge = 'E';
inline constexpr std::uint8_t kIdentifyYourself = 0xFF;
inline constexpr std::uint8_t kHookBootLoader = 'u';
inline constexpr std::uint8_t kAskChipLine = 'I';
inline constexpr std::uint8_t kRestart = 'R';
// Sent by the boot loader.
inline constexpr std::uint8_t kBootLoaderHere = 'B';
inline constexpr std::uint8_t kBootPrompt = '?';

}  // namespace zorv::wire
