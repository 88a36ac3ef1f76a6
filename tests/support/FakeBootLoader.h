#pragma once
// A scripted boot loader at the other end of a ScriptedSerialDevice: it collects the frames the
// link writes, answers them by a script (ACK by default), keeps a flash memory that acknowledged
// 'A'/'E'/'D' frames write, and answers 'V' frames with read-back frames that can be spoiled.
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "tests/support/ScriptedSerialDevice.h"

namespace zorv::test {

struct BootFrame {
  std::uint8_t command = 0;
  std::vector<std::uint8_t> payload;
  bool xorOk = false;
  // The 16-bit address of an 'A' or 'V' frame.
  std::uint32_t Address() const {
    return payload.size() >= 2 ? std::uint32_t{payload[0]} | (std::uint32_t{payload[1]} << 8) : 0;
  }
};

class FakeBootLoader {
 public:
  explicit FakeBootLoader(ScriptedSerialDevice& device) : device_(device) {
    device_.onWrite = [this](std::uint8_t byte) { OnByte(byte); };
  }
  ~FakeBootLoader() { device_.onWrite = nullptr; }
  FakeBootLoader(const FakeBootLoader&) = delete;
  FakeBootLoader& operator=(const FakeBootLoader&) = delete;

  // Answers to the frames that expect one, in order; {} is silence. When the script is used
  // up, frames are acknowledged (or met with silence when `silentWhenDone`).
  std::deque<std::vector<std::uint8_t>> answers;
  bool silentWhenDone = false;
  // The acknowledgements arrive this long after the frame's last byte (an adapter's latency).
  std::uint32_t answerDelayMs = 0;
  // Read-back answers: this many come with a wrong XOR, then this many are not sent at all.
  int badReadBacks = 0;
  int silentReadBacks = 0;
  // The read-back of this flash address comes back with the byte inverted.
  std::optional<std::uint32_t> corruptAddress;
  // A read-back answer with this length byte instead of 67 (and the bytes it announces).
  std::optional<std::uint8_t> readBackLength;
  // Called for every complete frame, before it is answered.
  std::function<void(const BootFrame&)> onFrame;

  std::vector<std::uint8_t> flash = std::vector<std::uint8_t>(0x20000, 0);
  std::vector<BootFrame> frames;

  std::vector<std::uint32_t> Addresses(std::uint8_t command) const {
    std::vector<std::uint32_t> out;
    for (const auto& f : frames) {
      if (f.command == command) out.push_back(f.Address());
    }
    return out;
  }
  int Count(std::uint8_t command) const {
    int n = 0;
    for (const auto& f : frames) n += f.command == command ? 1 : 0;
    return n;
  }

 private:
  void OnByte(std::uint8_t byte) {
    pending_.push_back(byte);
    if (pending_.size() < 3 || pending_.size() < pending_[1]) return;
    BootFrame frame;
    frame.command = pending_[0];
    std::uint8_t x = 0;
    for (std::size_t i = 2; i + 1 < pending_.size(); ++i) {
      frame.payload.push_back(pending_[i]);
      x ^= pending_[i];
    }
    frame.xorOk = x == pending_.back();
    pending_.clear();
    frames.push_back(frame);
    if (onFrame) onFrame(frame);
    if (frame.command == 'V') {
      ReadBack(frame.Address());
    } else {
      Answer(frame);
    }
  }

  void Answer(const BootFrame& frame) {
    std::vector<std::uint8_t> answer{0x06};
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    } else if (silentWhenDone) {
      answer.clear();
    }
    if (!answer.empty() && answer.front() == 0x06) Apply(frame);
    device_.FeedAt(device_.Now() + answerDelayMs, answer);
  }

  void Apply(const BootFrame& frame) {
    switch (frame.command) {
      case 'A':
        page_ = frame.Address();
        break;
      case 'E':
        block_ = 0;
        break;
      case 'D':
        for (std::size_t i = 0; i < frame.payload.size(); ++i) {
          flash[page_ + block_ * 64 + i] = frame.payload[i];
        }
        ++block_;
        break;
      default:
        break;
    }
  }

  void ReadBack(std::uint32_t address) {
    if (badReadBacks == 0 && silentReadBacks > 0) {
      --silentReadBacks;
      return;
    }
    const std::uint8_t length = readBackLength.value_or(67);
    std::vector<std::uint8_t> out{'V', length};
    std::uint8_t x = 0;
    for (std::uint32_t i = 0; i + 3 < length; ++i) {
      std::uint8_t b = flash[address + i];
      if (corruptAddress && *corruptAddress == address + i) b = static_cast<std::uint8_t>(~b);
      out.push_back(b);
      x ^= b;
    }
    if (badReadBacks > 0) {
      --badReadBacks;
      x ^= 0x5A;
    }
    out.push_back(x);
    device_.Feed(out);
  }

  ScriptedSerialDevice& device_;
  std::vector<std::uint8_t> pending_;
  std::uint32_t page_ = 0;
  std::uint32_t block_ = 0;
};

}  // namespace zorv::test
