#pragma once
// The serial device on the Win32 communications API, as the port is set up on Windows: opened
// by name ("\\.\COM3") without overlapped I/O, line state from an all-zero device control block
// (9600 8N1, binary, no flow control, no modem-line control), read time-outs that make every
// read return at once. QSerialPort opens overlapped and starts from the port's present state,
// which a driver or another program may have left with flow control on. Windows only.
#ifdef _WIN32
#include <windows.h>

#include <cstdint>
#include <string>

#include "link/SerialDevice.h"

namespace zorv {

// The line state the port is set to: built from zero, never from the port's present state.
DCB LineState9600();
// Reads return at once with what is buffered; writes never time out.
COMMTIMEOUTS ReadAtOnceTimeouts();

class Win32SerialDevice final : public SerialDevice {
 public:
  Win32SerialDevice() = default;
  ~Win32SerialDevice() override;
  Win32SerialDevice(const Win32SerialDevice&) = delete;
  Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

  std::string Open(const std::string& deviceName) override;
  bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
  bool Read(std::uint8_t& byte) override;
  bool Write(std::uint8_t byte) override;
  bool WaitReadable(std::uint32_t ms) override;
  void Close() override;
  bool Vanished() const override { return vanished_; }

  HANDLE NativeHandle() const { return handle_; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::string deviceName_;
  bool vanished_ = false;

  // Bytes the driver holds for reading; -1 when the port no longer answers.
  long Waiting();
  // After a failed call: the port has left the system's serial device map, so the adapter was
  // pulled out rather than the line merely failing.
  void CheckVanished();
};

}  // namespace zorv
#endif
