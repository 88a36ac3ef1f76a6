#pragma once
// Byte-level access to the controller's serial port: open at the fixed line settings, move
// single bytes without ever blocking for long, stamp every byte for the window's lamps and
// announce it for the byte log. Runs on the link thread only.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "image/Outcome.h"
#include "link/Clock.h"
#include "link/SerialDevice.h"

namespace zorv {

class LinkPort {
 public:
  static constexpr int kBaudRate = 9600;
  static constexpr std::uint32_t kWaitByteMs = 500;
  static constexpr std::uint32_t kReadLineGapMs = 500;
  // A longer "line" is noise, not a boot loader's identification; giving up keeps a babbling
  // device from holding the link thread forever.
  static constexpr std::size_t kMaxLineLength = 256;
  // A running controller announces itself every 200 ms until it is acknowledged.
  static constexpr std::uint32_t kAnnouncePeriodMs = 200;
  // Beyond the announce period and the line's delay: one poll and the scheduler's jitter.
  static constexpr std::uint32_t kQuietMarginMs = 50;
  static constexpr std::uint32_t kQuietCapMs = 3000;
  static constexpr std::uint32_t kMaxLineDelayMs = 1000;

  // Told of every byte that moves (sent or received), for the byte log.
  using ByteObserver = std::function<void(bool sent, std::uint8_t byte)>;

  LinkPort(SerialDevice& device, Clock& clock, ByteObserver observer = {});

  // The link thread's terminate request: WaitByte and ReadLine give up at once when it is set.
  void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

  // Fails with "Illegal baud rate <n>.", "Illegal com port name!" or the system's message with
  // "file" turned into "port".
  Outcome OpenPort(int baudRate, const std::string& deviceName);
  bool IsOpen() const;
  bool Vanished() const { return device_.Vanished(); }
  std::string Note() const { return device_.IsOpen() ? device_.Note() : std::string(); }
  bool ReadByte(std::uint8_t& byte);
  // Up to 500 ms for one byte.
  bool WaitByte(std::uint8_t& byte);
  // One line ending in CR LF (kept in the text); false after 500 ms without a byte, or when the
  // text reaches kMaxLineLength characters without CR LF.
  bool ReadLine(std::string& text);
  bool WriteByte(std::uint8_t byte);
  // Up to `ms` for a byte to arrive (read it with ReadByte); true as soon as one is there.
  bool WaitReadable(std::uint32_t ms);
  void DrainInput();
  // Discards input until the line has been quiet for longer than the controller's announce
  // period plus the line's measured delay, so that no byte sent before a request (an
  // announcement still on its way through a slow adapter) is taken as part of its answer.
  // Gives up after kQuietCapMs on a line that never falls quiet; false then.
  bool WaitForQuietLine();
  // The longest time seen from a request (0xFF) on a quiet line to the first byte after it.
  std::uint32_t LineDelay() const { return lineDelay_; }
  void ClosePort();

  std::uint32_t LastReceiveTime() const { return lastReceive_; }
  std::uint32_t LastTransmitTime() const { return lastTransmit_; }

 private:
  SerialDevice& device_;
  Clock& clock_;
  ByteObserver observer_;
  const std::atomic<bool>* stop_ = nullptr;
  std::uint32_t lastReceive_ = 0;
  std::uint32_t lastTransmit_ = 0;
  std::uint32_t lineDelay_ = 0;
  // Only a request sent on a quiet line measures the delay: on a busy one its first byte may be
  // an announcement sent long before. Until one has, the longest delay is assumed.
  bool delayKnown_ = false;
  bool quietBeforeRequest_ = false;
  bool measuringRequest_ = false;
  std::uint32_t requestSentAt_ = 0;
  bool awaitingAnswer_ = false;

  bool Stopped() const { return stop_ != nullptr && stop_->load(); }
};

// The system's message with every "file" replaced by "port", then every "File" by "Port".
std::string PortErrorText(std::string systemMessage);

}  // namespace zorv
