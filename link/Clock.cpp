#include "Clock.h"

#include <chrono>
#include <thread>

namespace zorv {

std::uint32_t SteadyClock::Ticks() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SteadyClock::SleepUntil(std::uint32_t deadline) {
  using std::chrono::milliseconds;
  const auto now = std::chrono::steady_clock::now();
  const auto nowMs = std::chrono::duration_cast<milliseconds>(now.time_since_epoch());
  const auto left = static_cast<std::int32_t>(deadline - static_cast<std::uint32_t>(nowMs.count()));
  if (left <= 0) return;
  std::this_thread::sleep_until(std::chrono::steady_clock::time_point(nowMs + milliseconds(left)));
}

void SteadyClock::Sleep(std::uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace zorv
