#include "LinkPort.h"

#include <utility>

namespace zorv {
namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

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

void LinkPort::ClosePort() {
  if (device_.IsOpen()) device_.Close();
}

}  // namespace zorv
