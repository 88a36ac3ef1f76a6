#pragma once
// Wire time of a 9600-baud line: a byte takes 10 bits, about 1.04 ms, to cross, and the next one
// starts only when it is through. With wire time off every byte is due at once.
#include "sim/SimClock.h"

namespace zorvsim {

class WirePacer {
 public:
  explicit WirePacer(bool paced) : paced_(paced) {}

  // A byte handed to the wire at `at` is through at the returned time.
  TimePoint Schedule(TimePoint at);
  // A new wire: nothing is on its way.
  void Reset() { last_ = {}; }

 private:
  bool paced_;
  TimePoint last_{};  // when the previous byte is through
};

}  // namespace zorvsim
