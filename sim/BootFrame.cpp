#include "sim/BootFrame.h"

namespace zorvsim {

void FrameReceiver::Begin(std::uint8_t command) {
  bytes_.fill(0);
  bytes_[0] = command;
  received_ = 1;
  length_ = 0;
}

void FrameReceiver::Add(std::uint8_t byte) {
  if (received_ == 1) length_ = byte;
  if (received_ < kMaxFrame) bytes_[received_] = byte;
  ++received_;
}

bool FrameReceiver::Complete() const {
  return LengthUnusable() || (received_ >= 2 && received_ >= length_);
}

bool FrameReceiver::ChecksumMatches() const {
  if (length_ < 3 || length_ > kMaxFrame || received_ != length_) return false;
  std::uint8_t sum = 0;
  for (std::size_t i = 2; i + 1 < length_; ++i) sum = static_cast<std::uint8_t>(sum ^ bytes_[i]);
  return sum == bytes_[length_ - 1];
}

std::vector<std::uint8_t> BuildFrame(std::uint8_t command, const std::vector<std::uint8_t>& payload) {
  std::vector<std::uint8_t> frame{command, static_cast<std::uint8_t>(payload.size() + 3)};
  std::uint8_t sum = 0;
  for (const std::uint8_t b : payload) {
    frame.push_back(b);
    sum = static_cast<std::uint8_t>(sum ^ b);
  }
  frame.push_back(sum);
  return frame;
}

}  // namespace zorvsim
