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
  // Waits up to `ms` for a byte to read; true as soon as one is there. Lets a wait for an
  // answer end when the byte arrives rather than at the next poll.
  virtual bool WaitReadable(std::uint32_t ms) = 0;
  virtual void Close() = 0;
  // What the technician should know about the open device ("" when nothing), such as a driver
  // that refused low latency.
  virtual std::string Note() const { return {}; }
  // True once a read, write or wait failed and the device node is gone: an adapter pulled out,
  // told apart from a controller that is merely silent.
  virtual bool Vanished() const { return false; }
};

}  // namespace zorv
