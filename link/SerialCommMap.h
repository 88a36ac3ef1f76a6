#pragma once
// The system's serial device map, HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM: one value
// per serial device its driver has announced, named after the driver's device
// ("\Device\Serial0", "\Device\VCP0") with the port's name as data ("COM3"). It lists what is
// plugged in now, so it answers both "which ports are there" and "is this adapter still there".
// Windows only; std C++ and Win32, no Qt.
#include <string>
#include <vector>

namespace zorv {

struct SerialCommEntry {
  std::string driverDevice;  // the value's name
  std::string portName;      // its data, e.g. "COM3"
};

#ifdef _WIN32
// Every string value of the key, in the registry's order; empty when the key cannot be opened
// (no serial driver has started since boot).
std::vector<SerialCommEntry> ReadSerialCommMap();

// The driver's device the map gives for `portName` ("COM3"; a leading "\\.\" is ignored),
// compared without regard to case as Windows does; "" when the port is not listed. It tells one
// device from another behind the same COM number.
std::string SerialCommDeviceOf(const std::string& portName);
inline bool SerialCommListsPort(const std::string& portName) {
  return !SerialCommDeviceOf(portName).empty();
}
#endif

}  // namespace zorv
