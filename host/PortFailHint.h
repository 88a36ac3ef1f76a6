#pragma once
// What a technician reads when a port cannot be opened: the status panel keeps the system's own
// words, its tooltip adds the likely cause and what to do about it.
#include <string>
#include <string_view>

namespace zorv {

enum class PortFailCause { Missing, PermissionDenied, Busy, Unknown };

enum class HostSystem { Windows, Linux };

#ifdef _WIN32
inline constexpr HostSystem kThisHostSystem = HostSystem::Windows;
#else
inline constexpr HostSystem kThisHostSystem = HostSystem::Linux;
#endif

// The cause behind the failure text that follows "COM Port Fail: " (the system's message with
// "file" already read as "port").
PortFailCause ClassifyPortFailure(std::string_view failureText, HostSystem system);

// The status panel's tooltip for this status text: cause and fix for a port that could not be
// opened, "" for every other status.
std::string PortFailHint(std::string_view statusText, HostSystem system = kThisHostSystem);

}  // namespace zorv
