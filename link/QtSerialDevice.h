#pragma once
// The serial device on QSerialPort. It belongs to the link thread: the port object is created
// in Open and destroyed in Close, both on the calling thread, because a QSerialPort must be used
// only on the thread that owns it.
#include <cstdint>
#include <memory>

#include "link/SerialDevice.h"

class QSerialPort;

namespace zorv {

class QtSerialDevice final : public SerialDevice {
 public:
  QtSerialDevice();
  ~QtSerialDevice() override;
  QtSerialDevice(const QtSerialDevice&) = delete;
  QtSerialDevice& operator=(const QtSerialDevice&) = delete;

  std::string Open(const std::string& deviceName) override;
  bool IsOpen() const override;
  bool Read(std::uint8_t& byte) override;
  bool Write(std::uint8_t byte) override;
  bool WaitReadable(std::uint32_t ms) override;
  void Close() override;
  std::string Note() const override { return note_; }
  bool Vanished() const override { return vanished_; }

  // The operating system's descriptor while open, -1 otherwise (for checks such as close-on-exec).
  std::intptr_t NativeHandle() const;

 private:
  std::unique_ptr<QSerialPort> port_;
  std::string note_;
  std::string deviceName_;
  bool vanished_ = false;

  // After a failed operation: an I/O error with the device node gone means the adapter left.
  void CheckVanished();
};

}  // namespace zorv
