#pragma once
// The link's state and the status fields the window shows. Guarded by the link's lock.
#include <cstdint>
#include <string>

#include "link/LinkState.h"
#include "link/StatusSnapshot.h"

namespace zorv {

struct LinkStatus {
  LinkState linkState = LinkState::Start;
  std::string text = "Not Connected";
  StatusColour colour = StatusColour::Red;
  int progress = 0;  // 0..100
  std::string progressText;  // stage and time left of a firmware job; empty: the percentage
};

}  // namespace zorv
