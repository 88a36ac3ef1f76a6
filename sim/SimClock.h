#pragma once
// Monotonic time for the simulator's pacing and time-outs. zorv-sim runs on the steady clock;
// TickTime lets the same core run on another clock's millisecond ticks (the link's clock, a
// fake one in tests), in the test's own process.
#include <chrono>
#include <cstdint>

namespace zorvsim {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;
using Millis = std::chrono::milliseconds;

inline double MillisBetween(TimePoint from, TimePoint to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Simulator time from a 32-bit millisecond tick count that wraps. Ticks only move forward; the
// first one read is a day after the clock's zero, as on a machine that has been on a while.
class TickTime {
 public:
  TimePoint At(std::uint32_t ticks) {
    if (!started_) {
      started_ = true;
      last_ = ticks;
    }
    elapsed_ += static_cast<std::uint32_t>(ticks - last_);  // unsigned: survives the wrap
    last_ = ticks;
    return TimePoint(std::chrono::hours(24)) + Millis(elapsed_);
  }
  // Whole milliseconds from `from` until `to`, rounded up (0 when `to` is not later).
  static std::uint32_t MillisUntil(TimePoint from, TimePoint to) {
    if (to <= from) return 0;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(to - from).count();
    return static_cast<std::uint32_t>((ns + 999'999) / 1'000'000);
  }

 private:
  bool started_ = false;
  std::uint32_t last_ = 0;
  std::uint64_t elapsed_ = 0;
};

}  // namespace zorvsim
