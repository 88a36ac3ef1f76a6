#pragma once
// What a colour button's remote pair (selector and target bytes) means under the button's mode,
// and the repairs the refresh stores: a remote button names a switch (0..11) on a switch
// controller at 101..200, a slave button a colour mode (1..4) of a slave at 10..100, any other
// mode holds 255 in both bytes.
#include <cstdint>

namespace zorv {

enum class RemoteUse { Switch, Slave, Unused };

struct RemotePairView {
  RemoteUse use = RemoteUse::Unused;
  int targetMin = 255;  // range of the target spin edit
  int targetMax = 255;
};

// Repairs `selector` and `target` in place for `mode` and says how to show them.
RemotePairView RepairRemotePair(std::uint8_t mode, std::uint8_t& selector, std::uint8_t& target);

}  // namespace zorv
