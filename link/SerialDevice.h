#pragma once
// The raw serial device under the link: open at 9600 8N1 without flow control or modem lines,
// move single bytes without blocking. Production runs on QSerialPort; tests use a scripted fake.
#include <cstdint>
#include <string>

namespace zorv {

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;
  // Opens and configures the device; returns "" on success, otherwise the system's message.
  virtual std::string Open(const std::string& deviceName) = 0;
  virtual bool IsOpen() const = 0;
  // One byte if one is waiting; never blocks.
  virtual bool Read(std::uint8_t& byte) = 0;
  virtual bool Write(std::uint8_t byte) = 0;
  virtual void Close() = 0;
};

}  // namespace zorv
