#pragma once
// A clock whose sleep advances time at once, so time-outs are tested exactly and instantly.
#include "link/Clock.h"

namespace zorv::test {

class FakeClock final : public Clock {
 public:
  explicit FakeClock(std::uint32_t start = 0) : now_(start) {}
  std::uint32_t Ticks() override { return now_; }
  void Sleep(std::uint32_t ms) override {
    now_ += ms;
    sleptMs_ += ms;
  }
  void Advance(std::uint32_t ms) { now_ += ms; }
  void Set(std::uint32_t now) { now_ = now; }
  std::uint64_t SleptMs() const { return sleptMs_; }

 private:
  std::uint32_t now_;
  std::uint64_t sleptMs_ = 0;
};

}  // namespace zorv::test
