#include "sim/WirePacer.h"

#include <algorithm>

namespace zorvsim {
namespace {
// 10 bits at 9600 baud.
constexpr auto kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 9600);
}  // namespace

TimePoint WirePacer::Schedule(TimePoint at) {
  if (!paced_) return at;
  last_ = std::max(at, last_) + std::chrono::duration_cast<Clock::duration>(kByteTime);
  return last_;
}

}  // namespace zorvsim
