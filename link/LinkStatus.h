#pragma once
// The link's state and the status fields the window shows. Guarded by the link's lock.
#include <cstdint>
#include <string>

#include "link/WindowBridge.h"

namespace zorv {

struct LinkStatus {
  std::uint8_t linkState = 0;  // 0..9, see TCOMThread
  std::string text = "Not Connected";
  StatusColour colour = StatusColour::Red;
  int progress = 0;  // 0..100
};

}  // namespace zorv
