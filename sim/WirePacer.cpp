#include "sim/WirePacer.h"

#include <algorithm>

namespace zorvsim {
namespace {
// 10 bits at 9600 baud.
constexpr auto kByteTime = std::chrono::nanoseconds(1'000'000'000LL * 10 / 9600);
}  // namespace

void WirePacer::Spend(TimePoint now) {
  if (!paced_) return;
  // A late byte starts its own slot; bytes never bunch up to catch up on lost time.
  next_ = std::max(now, next_) + kByteTime;
}

}  // namespace zorvsim
