#include "sim/LiveOutputs.h"

#include <cstdio>
#include <string>

namespace zorvsim {
namespace {
constexpr auto kRunGap = Millis(100);

std::string DrivenText(unsigned output, unsigned level) {
  return "output " + std::to_string(output) + " driven at " + std::to_string(level);
}
}  // namespace

void LiveOutputs::Pair(std::uint8_t output, std::uint8_t level, TimePoint now) {
  if (active_ && output != output_) End();
  if (level == 0) {  // level 0 switches the output off
    if (active_) End();
    return;
  }
  if (!active_) {
    active_ = true;
    output_ = output;
    level_ = level;
    pairs_ = 1;
    first_ = last_ = now;
    log_.Line(DrivenText(output, level));
    return;
  }
  if (level != level_) {
    level_ = level;
    log_.Line(DrivenText(output, level));
  }
  ++pairs_;
  last_ = now;
}

void LiveOutputs::Tick(TimePoint now) {
  if (active_ && now - last_ >= kRunGap) End();
}

void LiveOutputs::End() {
  const double mean = pairs_ > 1 ? MillisBetween(first_, last_) / (pairs_ - 1) : 0.0;
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", mean);
  log_.Line("output " + std::to_string(output_) + " stopped after " + std::to_string(pairs_) +
            " pairs, mean interval " + text + " ms");
  active_ = false;
}

}  // namespace zorvsim
