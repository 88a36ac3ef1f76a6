#include "LinkPort.h"

#include <algorithm>
#include <utility>

namespace zorv {
namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

constexpr std::uint8_t kIdentifyYourself = 0xFF;

// A drain stops after this many bytes even if the line never falls quiet, so a babbling
// device cannot hold the link thread forever (at 9600 baud this is several seconds of data).
constexpr int kMaxDrainBytes = 65536;

}  // namespace

std::string PortErrorText(std::string systemMessage) {
  ReplaceAll(systemMessage, "file", "port");
  ReplaceAll(systemMessage, "File", "Port");
  return systemMessage;
}

LinkPort::LinkPort(SerialDevice& device, Clock& clock, ByteObserver observer)
    : device_(device), clock_(clock), observer_(std::move(observer)) {}

Outcome LinkPort::OpenPort(int baudRate, const std::string& deviceName) {
  if (baudRate != kBaudRate) {
    return Outcome::Failure("Illegal baud rate <" + std::to_string(baudRate) + ">.");
  }
  if (deviceName.empty()) return Outcome::Failure("Illegal com port name!");
  // Another adapter may have another delay: measured anew.
  delayKnown_ = false;
  lineDelay_ = 0;
  const std::string error = device_.Open(deviceName);
  if (!error.empty() || !device_.IsOpen()) {
    device_.Close();
    return Outcome::Failure(PortErrorText(error.empty() ? "The port could not be opened." : error));
  }
  return Outcome::Success();
}

bool LinkPort::IsOpen() const { return device_.IsOpen(); }

bool LinkPort::ReadByte(std::uint8_t& byte) {
  if (!device_.IsOpen()) return false;
  std::uint8_t got = 0;
  if (!device_.Read(got)) return false;
  if (observer_) observer_(false, got);
  lastReceive_ = clock_.Ticks();
  if (awaitingAnswer_) {
    awaitingAnswer_ = false;
    if (measuringRequest_) {
      lineDelay_ = std::min(kMaxLineDelayMs, std::max(lineDelay_, lastReceive_ - requestSentAt_));
      delayKnown_ = true;
    }
  }
  byte = got;
  return true;
}

bool LinkPort::WaitByte(std::uint8_t& byte) {
  const std::uint32_t start = clock_.Ticks();
  while (true) {
    if (ReadByte(byte)) return true;
    if (clock_.Since(start) > kWaitByteMs || Stopped()) return false;
    clock_.Sleep(5);
  }
}

bool LinkPort::ReadLine(std::string& text) {
  text.clear();
  std::uint32_t lastByte = clock_.Ticks();
  while (true) {
    std::uint8_t byte = 0;
    while (ReadByte(byte)) {
      lastByte = clock_.Ticks();
      text.push_back(static_cast<char>(byte));
      if (text.size() >= 2 && text.find("\r\n") != std::string::npos) return true;
      if (text.size() >= kMaxLineLength) return false;
    }
    if (clock_.Since(lastByte) > kReadLineGapMs || Stopped()) return false;
    clock_.Sleep(10);
  }
}

bool LinkPort::WriteByte(std::uint8_t byte) {
  if (!device_.IsOpen()) return false;
  if (!device_.Write(byte)) return false;
  if (observer_) observer_(true, byte);
  lastTransmit_ = clock_.Ticks();
  if (byte == kIdentifyYourself) {
    requestSentAt_ = lastTransmit_;
    awaitingAnswer_ = true;
    measuringRequest_ = std::exchange(quietBeforeRequest_, false);
  }
  return true;
}

bool LinkPort::WaitReadable(std::uint32_t ms) {
  if (!device_.IsOpen()) {
    clock_.Sleep(ms);
    return false;
  }
  return device_.WaitReadable(ms);
}

void LinkPort::DrainInput() {
  std::uint8_t byte = 0;
  for (int i = 0; i < kMaxDrainBytes && ReadByte(byte); ++i) {
  }
}

bool LinkPort::WaitForQuietLine() {
  const std::uint32_t quietFor =
      kAnnouncePeriodMs + (delayKnown_ ? lineDelay_ : kMaxLineDelayMs) + kQuietMarginMs;
  const std::uint32_t start = clock_.Ticks();
  // Quiet since the last byte counts: a line idle for long already has nothing on its way.
  std::uint32_t lastByte = lastReceive_;
  while (!Stopped() && device_.IsOpen()) {
    std::uint8_t byte = 0;
    if (ReadByte(byte)) {
      lastByte = clock_.Ticks();
      awaitingAnswer_ = false;  // a stray byte says nothing about the line's delay
    } else if (clock_.Since(lastByte) > quietFor) {
      quietBeforeRequest_ = true;
      return true;
    } else if (device_.Vanished()) {
      return false;
    }
    if (clock_.Since(start) > kQuietCapMs) return false;
    clock_.Sleep(5);
  }
  return false;
}

void LinkPort::ClosePort() {
  if (device_.IsOpen()) device_.Close();
}

}  // namespace zorv
