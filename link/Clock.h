#pragma once
// Millisecond tick count (32 bits, wrapping) and sleep. Every time-out of the link is measured
// against this seam, so tests run them on a fake clock whose sleep advances time.
#include <cstdint>

namespace zorv {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t Ticks() = 0;
  virtual void Sleep(std::uint32_t ms) = 0;
  // Sleeps until Ticks() reaches `deadline`; returns at once when it already has.
  virtual void SleepUntil(std::uint32_t deadline) {
    const auto left = static_cast<std::int32_t>(deadline - Ticks());
    if (left > 0) Sleep(static_cast<std::uint32_t>(left));
  }

  // Milliseconds since `stamp`, as an unsigned difference that survives the wrap.
  std::uint32_t Since(std::uint32_t stamp) { return Ticks() - stamp; }
};

// The production clock: a steady clock, never adjusted by the wall time.
class SteadyClock final : public Clock {
 public:
  std::uint32_t Ticks() override;
  void Sleep(std::uint32_t ms) override;
  // Wakes at the millisecond boundary itself, so a schedule of deadlines does not lose the
  // fraction of a millisecond that a sleep of whole milliseconds from "now" would.
  void SleepUntil(std::uint32_t deadline) override;
};

}  // namespace zorv
