#pragma once
// The link loop's pace: each step is due one period after the previous one was due, so the
// steps keep a steady 10 ms rhythm whatever a step costs. A step that overran its deadline is
// followed by a full period of rest, never by a burst of steps to catch up.
#include <cstdint>

#include "link/Clock.h"

namespace zorv {

class CycleSchedule {
 public:
  CycleSchedule(Clock& clock, std::uint32_t periodMs) : clock_(clock), period_(periodMs) {}

  // Before the first step: it is due now.
  void Start() { due_ = clock_.Ticks(); }
  // After a step: waits until the next one is due.
  void WaitForNext() {
    due_ += period_;
    const std::uint32_t now = clock_.Ticks();
    if (static_cast<std::int32_t>(now - due_) > 0) due_ = now + period_;
    clock_.SleepUntil(due_);
  }
  std::uint32_t Due() const { return due_; }

 private:
  Clock& clock_;
  const std::uint32_t period_;
  std::uint32_t due_ = 0;
};

}  // namespace zorv
