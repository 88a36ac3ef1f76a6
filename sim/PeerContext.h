#pragma once
// What the controller program and the boot loader share: the wire, the log, the memories and
// the failure modes.
#include <cstdint>
#include <functional>

#include "sim/EventLog.h"
#include "sim/Faults.h"
#include "sim/Memories.h"
#include "sim/SimClock.h"

namespace zorvsim {

struct PeerContext {
  std::function<void(std::uint8_t)> send;  // queues one byte for the wire
  EventLog& log;
  Memories& memories;
  Faults& faults;
  std::uint8_t product = 'g';
  std::string chipLine;
};

// Which program runs after a byte or a tick.
enum class Switch { Stay, ToBootLoader, ToProgram };

}  // namespace zorvsim
