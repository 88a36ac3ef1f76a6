#pragma once
// Monotonic time for the simulator's pacing and time-outs.
#include <chrono>

namespace zorvsim {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;
using Millis = std::chrono::milliseconds;

inline double MillisBetween(TimePoint from, TimePoint to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace zorvsim
