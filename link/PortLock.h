#pragma once
// One program on one serial device, whatever name each uses for it: a lock on the open device
// itself beside QSerialPort's lock file, and the text that names the program holding it.
#include <cstdint>
#include <string>

namespace zorv {

inline constexpr const char* kPortInUse = "COM Port in use by another program";

// Takes an exclusive lock on the open descriptor `fd` of `deviceName` without waiting. "" when
// taken, else kPortInUse with the holder's process id where a lock file gives it.
std::string LockOpenDevice(std::intptr_t fd, const std::string& deviceName);
// kPortInUse with the process id of the live program whose lock file names `deviceName` or
// another name of the same device; "" when no such lock file is found.
std::string LockFileHolder(const std::string& deviceName);

}  // namespace zorv
