#pragma once
// A serial device for tests: bytes from the "controller" are queued with the tick at which they
// arrive; every byte the link writes is recorded and may trigger a scripted answer.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "link/Clock.h"
#include "link/SerialDevice.h"

namespace zorv::test {

class ScriptedSerialDevice final : public SerialDevice {
 public:
  explicit ScriptedSerialDevice(Clock& clock) : clock_(clock) {}

  // SerialDevice
  std::string Open(const std::string& deviceName) override {
    openedName = deviceName;
    ++openCount;
    open_ = openError.empty();
    return openError;
  }
  bool IsOpen() const override { return open_; }
  bool Read(std::uint8_t& byte) override {
    if (unplugged && open_) vanished_ = true;
    if (!open_ || unplugged || incoming_.empty() || incoming_.front().first > clock_.Ticks()) return false;
    byte = incoming_.front().second;
    incoming_.pop_front();
    return true;
  }
  bool Write(std::uint8_t byte) override {
    if (unplugged && open_) vanished_ = true;
    if (!open_ || failWrites || unplugged) return false;
    written.push_back(byte);
    if (onWrite) onWrite(byte);
    return true;
  }
  // Advances the clock to the next byte's arrival, or by `ms` when none arrives before.
  bool WaitReadable(std::uint32_t ms) override {
    ++waitCount;
    const std::uint32_t now = clock_.Ticks();
    if (open_ && !incoming_.empty()) {
      const auto due = static_cast<std::int32_t>(incoming_.front().first - now);
      if (due <= 0) return true;
      if (static_cast<std::uint32_t>(due) <= ms) {
        clock_.Sleep(static_cast<std::uint32_t>(due));
        return true;
      }
    }
    clock_.Sleep(ms);
    return false;
  }
  void Close() override {
    open_ = false;
    vanished_ = false;
  }
  bool Vanished() const override { return vanished_; }

  // Controller bytes available from now on.
  void Feed(std::initializer_list<std::uint8_t> bytes) { FeedAt(clock_.Ticks(), bytes); }
  void Feed(const std::vector<std::uint8_t>& bytes) {
    for (auto b : bytes) incoming_.emplace_back(clock_.Ticks(), b);
  }
  void Feed(const std::string& text) {
    for (char c : text) incoming_.emplace_back(clock_.Ticks(), static_cast<std::uint8_t>(c));
  }
  // Controller bytes that arrive at tick `at` (keep arrival times non-decreasing).
  void FeedAt(std::uint32_t at, std::initializer_list<std::uint8_t> bytes) {
    for (auto b : bytes) incoming_.emplace_back(at, b);
  }
  void FeedAt(std::uint32_t at, const std::vector<std::uint8_t>& bytes) {
    for (auto b : bytes) incoming_.emplace_back(at, b);
  }
  std::uint32_t Now() { return clock_.Ticks(); }
  std::size_t Pending() const { return incoming_.size(); }
  void ClearPending() { incoming_.clear(); }
  // Bytes written since the last call.
  std::vector<std::uint8_t> TakeWritten() { return std::exchange(written, {}); }

  std::string openError;  // "" opens successfully
  std::string openedName;
  int openCount = 0;
  int waitCount = 0;
  bool failWrites = false;
  // The adapter is pulled out: the next read or write fails and the device reports it vanished.
  bool unplugged = false;
  std::vector<std::uint8_t> written;
  std::function<void(std::uint8_t)> onWrite;  // the scripted controller's reaction

 private:
  Clock& clock_;
  bool open_ = false;
  bool vanished_ = false;
  std::deque<std::pair<std::uint32_t, std::uint8_t>> incoming_;
};

}  // namespace zorv::test
