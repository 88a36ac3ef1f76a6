#pragma once
// Wire time of a 9600-baud line (10 bits a byte, about 1.04 ms): one byte per slot, never
// faster. A pacer with wire time off lets every byte through at once.
#include "sim/SimClock.h"

namespace zorvsim {

class WirePacer {
 public:
  explicit WirePacer(bool paced) : paced_(paced) {}

  bool Ready(TimePoint now) const { return !paced_ || now >= next_; }
  // Books the slot of one byte handled at `now`.
  void Spend(TimePoint now);
  // When the next byte may go; only meaningful while paced.
  TimePoint Next() const { return next_; }
  bool Paced() const { return paced_; }

 private:
  bool paced_;
  TimePoint next_{};
};

}  // namespace zorvsim
