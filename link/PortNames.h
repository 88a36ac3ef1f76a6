#pragma once
// Port numbers and device names. Every serial device has a number n shown as "COMn": on Windows
// the system's own COMn; elsewhere a stable number per device family (ttyS, ttyUSB, ttyACM).
// A per-user alias "COMn = path" reaches any other device (a pseudo-terminal, a by-id link) and
// wins over the stable mapping, so a technician or a test can point a port number anywhere.
#include <map>
#include <string>

namespace zorv {

inline constexpr int kLowestPortNumber = 1;
inline constexpr int kHighestPortNumber = 255;

// The device to open for port n; "" when n names no device (the open then fails clearly).
std::string DeviceNameForPort(int n);

// For this run only, port n opens `path` (never stored): the command line's --device. It wins
// over a stored alias.
void UseDeviceForRun(int n, const std::string& path);
// A port number to call `path` by in this run: its own (stable mapping or alias) when it has
// one, else the first number from 200 up that names nothing.
int RunPortNumberForDevice(const std::string& path);

// The port number of a device path: the stable mapping first, then the aliases; 0 when none.
int PortNumberForDevice(const std::string& path);

// The aliases the user has set, by port number.
std::map<int, std::string> PortAliases();
// An empty path removes the alias; numbers outside 1..255 are ignored.
void SetPortAlias(int n, const std::string& path);
void RemovePortAlias(int n);

}  // namespace zorv
