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
  // The open device's identity, to tell when its name has come to mean another device (a
  // quick re-plug gives a new device under the old name or alias).
  std::uint64_t openDevice_ = 0;
  std::uint64_t openInode_ = 0;

  // After a failed operation, and now and then while the line is quiet: a hang-up or an I/O
  // error on the open descriptor, or its name now naming another device, is an unplug.
  void CheckVanished();
  std::uint32_t quietPolls_ = 0;
};

}  // namespace zorv
