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
// The text for a failed open: a refused exclusive open is another program holding the port.
std::string OpenFailureText(DWORD error);

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
  // The driver's device the name led to when opened ("\Device\VCP0"); "" for a name the
  // serial device map does not list.
  std::string openedDevice_;
  bool vanished_ = false;

  // Bytes the driver holds for reading; -1 when the port no longer answers.
  long Waiting();
  // After a failed call: the open handle no longer answers (its device was removed; a handle
  // never moves to a device plugged in later under the same name), or the name has left the
  // system's serial device map or now leads to another driver's device.
  void CheckVanished();
};

}  // namespace zorv
#endif
