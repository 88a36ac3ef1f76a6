#include "RemotePair.h"

#include <algorithm>

#include "ZorvLayout.h"

namespace zorv {
namespace {

constexpr std::uint8_t kLastSwitch = 11;                         // switch 12
constexpr std::uint8_t kFirstSlaveMode = 1, kLastSlaveMode = 4;  // red .. yellow
constexpr std::uint8_t kUnused = 255;

}  // namespace

RemotePairView RepairRemotePair(std::uint8_t mode, std::uint8_t& selector, std::uint8_t& target) {
  // Targets are limited from above only; the spin edit shows a low one at its minimum.
  switch (mode) {
    case mode::kRemote:
      selector = std::min(selector, kLastSwitch);
      target = std::min<std::uint8_t>(target, 200);
      return {RemoteUse::Switch, 101, 200};
    case mode::kSlave:
      selector = std::clamp(selector, kFirstSlaveMode, kLastSlaveMode);
      target = std::min<std::uint8_t>(target, 100);
      return {RemoteUse::Slave, 10, 100};
    default:
      selector = kUnused;
      target = kUnused;
      return {RemoteUse::Unused, kUnused, kUnused};
  }
}

}  // namespace zorv
