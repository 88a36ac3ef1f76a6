#include "link/Win32SerialDevice.h"

#include <chrono>

#ifdef _WIN32
#include <timeapi.h>

#include "link/PortLock.h"
#include "link/SerialCommMap.h"
#include "link/WideText.h"

namespace zorv {

DCB LineState9600() {
  DCB dcb;
  ZeroMemory(&dcb, sizeof dcb);  // every option not named below stays off
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = CBR_9600;
  dcb.fBinary = TRUE;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  return dcb;
}

COMMTIMEOUTS ReadAtOnceTimeouts() {
  COMMTIMEOUTS timeouts;
  ZeroMemory(&timeouts, sizeof timeouts);
  timeouts.ReadIntervalTimeout = MAXDWORD;
  return timeouts;
}

std::string OpenFailureText(DWORD error) {
  // Serial drivers let one handle at a time open their device, whatever name reached it (COM3,
  // \\.\COM3, the driver's own device name), so the open itself is the lock: a second program
  // is refused with "access denied", and the lock ends with the handle, even when its program
  // crashes. Windows does not say which program holds it.
  if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) return kPortInUse;
  return SystemMessage(error);
}

Win32SerialDevice::~Win32SerialDevice() { Close(); }

std::string Win32SerialDevice::Open(const std::string& deviceName) {
  Close();
  const std::wstring name = WideFromUtf8(deviceName);
  // Exclusive, existing devices only, no overlapped I/O. The handle is not inheritable: a
  // program the tool starts must never hold the controller's port.
  HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return OpenFailureText(GetLastError());
  DCB dcb = LineState9600();
  COMMTIMEOUTS timeouts = ReadAtOnceTimeouts();
  if (!SetCommState(handle, &dcb) || !SetCommTimeouts(handle, &timeouts)) {
    const DWORD error = GetLastError();
    CloseHandle(handle);
    return SystemMessage(error);
  }
  handle_ = handle;
  deviceName_ = deviceName;
  openedDevice_ = SerialCommDeviceOf(deviceName);
  vanished_ = false;
  // Windows sleeps in steps of its timer, 15.6 ms unless asked for 1 ms; the link's waits
  // between bytes (1 ms here, 5 and 10 ms in the link) would otherwise each take a step.
  timeBeginPeriod(1);
  return {};
}

bool Win32SerialDevice::Read(std::uint8_t& byte) {
  if (!IsOpen()) return false;
  unsigned char got = 0;
  DWORD count = 0;
  if (!ReadFile(handle_, &got, 1, &count, nullptr)) {
    CheckVanished();
    return false;
  }
  if (count != 1) return false;
  byte = got;
  return true;
}

bool Win32SerialDevice::Write(std::uint8_t byte) {
  if (!IsOpen()) return false;
  const unsigned char out = byte;
  DWORD count = 0;
  if (!WriteFile(handle_, &out, 1, &count, nullptr)) {
    CheckVanished();
    return false;
  }
  return count == 1;
}

long Win32SerialDevice::Waiting() {
  DWORD errors = 0;
  COMSTAT status;
  ZeroMemory(&status, sizeof status);
  if (!ClearCommError(handle_, &errors, &status)) return -1;
  return static_cast<long>(status.cbInQue);
}

bool Win32SerialDevice::WaitReadable(std::uint32_t ms) {
  if (!IsOpen()) {
    Sleep(ms);
    return false;
  }
  // Without overlapped I/O there is no waitable read; polling the driver's input count each
  // millisecond ends the wait within a byte time of the byte's arrival. The steady clock, not
  // the tick count: its 10-16 ms steps would end a short wait at once or a step late.
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    const long waiting = Waiting();
    if (waiting > 0) return true;
    if (waiting < 0) CheckVanished();
    if (std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(ms)) return false;
    Sleep(1);
  }
}

void Win32SerialDevice::Close() {
  if (!IsOpen()) return;
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  timeEndPeriod(1);
  openedDevice_.clear();
  vanished_ = false;
}

void Win32SerialDevice::CheckVanished() {
  if (vanished_) return;
  // With abort-on-error off, a port that is there never fails this call.
  DWORD errors = 0;
  if (!ClearCommError(handle_, &errors, nullptr)) {
    vanished_ = true;
    return;
  }
  if (!openedDevice_.empty() && SerialCommDeviceOf(deviceName_) != openedDevice_) vanished_ = true;
}

}  // namespace zorv
#endif
