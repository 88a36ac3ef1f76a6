#pragma once
// Boot loader frames: command, length L (whole frame), payload, XOR of the payload.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorvsim {

inline constexpr std::size_t kMaxFrame = 80;

// Collects one incoming frame byte by byte. Bytes past position 80 are counted but not stored,
// and such a frame is invalid.
class FrameReceiver {
 public:
  void Begin(std::uint8_t command);
  void Add(std::uint8_t byte);
  bool Complete() const;
  // A length below 3 cannot describe a frame; it is known as soon as the length byte arrives.
  bool LengthUnusable() const { return received_ >= 2 && length_ < 3; }
  bool LengthIs(std::size_t expected) const { return length_ == expected; }
  bool ChecksumMatches() const;
  std::uint8_t Command() const { return bytes_[0]; }
  std::uint8_t Length() const { return length_; }
  std::size_t Received() const { return received_; }
  // Payload byte i (frame position 3 + i).
  std::uint8_t Payload(std::size_t i) const { return bytes_.at(2 + i); }

 private:
  std::array<std::uint8_t, kMaxFrame> bytes_{};
  std::size_t received_ = 0;
  std::uint8_t length_ = 0;
};

std::vector<std::uint8_t> BuildFrame(std::uint8_t command, const std::vector<std::uint8_t>& payload);

}  // namespace zorvsim
