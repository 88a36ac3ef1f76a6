#pragma once
// Records the live output pairs the tool sends while a test button is held, and logs each run
// with its pair count and mean interval, so a watcher can check the cadence.
#include <cstdint>

#include "sim/EventLog.h"
#include "sim/SimClock.h"

namespace zorvsim {

class LiveOutputs {
 public:
  explicit LiveOutputs(EventLog& log) : log_(log) {}

  void Pair(std::uint8_t output, std::uint8_t level, TimePoint now);
  // Ends a run after 100 ms without a pair.
  void Tick(TimePoint now);

 private:
  void End();

  EventLog& log_;
  bool active_ = false;
  std::uint8_t output_ = 0;
  std::uint8_t level_ = 0;
  unsigned pairs_ = 0;
  TimePoint first_{};
  TimePoint last_{};
};

}  // namespace zorvsim
