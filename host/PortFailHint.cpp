#include "host/PortFailHint.h"

#include <algorithm>
#include <cctype>

namespace zorv {
namespace {

constexpr std::string_view kFailPrefix = "COM Port Fail: ";

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

bool ContainsAny(const std::string& text, std::initializer_list<std::string_view> parts) {
  return std::any_of(parts.begin(), parts.end(),
                     [&](std::string_view part) { return text.find(part) != std::string::npos; });
}

// Lines of the tooltip; short enough that a tooltip, which does not wrap plain text, stays narrow.
std::string CauseAndFix(PortFailCause cause, HostSystem system) {
  const bool windows = system == HostSystem::Windows;
  switch (cause) {
    case PortFailCause::Missing:
      if (windows) {
        return "Likely cause: the adapter is unplugged, or no device has this COM number.\n"
               "Fix: plug the adapter in and press Reset.\n"
               "Device Manager > Ports (COM & LPT) shows the COM number the adapter got;\n"
               "choose it in Datalink > Port Number.\n"
               "An adapter listed under Other devices with a warning sign has no driver:\n"
               "install the driver from the adapter's maker, then plug it in again.";
      }
      return "Likely cause: the adapter is unplugged, or no device has this COM number.\n"
             "Fix: plug the adapter in, choose its port in Datalink > Port Number\n"
             "(ports are looked for each time it opens), or press Reset.\n"
             "COM1-COM32 are /dev/ttyS0-31, COM33-COM64 /dev/ttyUSB0-31, COM65-COM96 /dev/ttyACM0-31.\n"
             "Any other device (/dev/serial/by-id/..., /dev/rfcomm0) needs an alias:\n"
             "a line COMn=path in the group [Port%20Aliases] of\n"
             "~/.config/Dravik Controls/ZorvTrim.conf.";
    case PortFailCause::PermissionDenied:
      if (windows) {
        return "Likely cause: your user may not open this port.\n"
               "Fix: ask the administrator for access to the port, then press Reset.";
      }
      return "Likely cause: your user may not open serial devices.\n"
             "Fix: add yourself to the dialout group (sudo usermod -aG dialout $USER),\n"
             "log out and in again, then press Reset.";
    case PortFailCause::Busy:
      if (windows) {
        return "Likely cause: another program holds the port\n"
               "(a terminal program, a vendor tool or a second ZorvTrim).\n"
               "Fix: close that program, then press Reset.";
      }
      return "Likely cause: another program holds the port\n"
             "(a terminal program, a modem manager or a second ZorvTrim).\n"
             "Fix: close that program, then press Reset.\n"
             "fuser -v /dev/ttyUSB0 (the port's device) names the program.";
    case PortFailCause::Unknown:
      break;
  }
  return "Likely cause: the port refused to open.\n"
         "Fix: check the cable and the adapter, or choose another port in Datalink > Port Number,\n"
         "then press Reset.";
}

}  // namespace

PortFailCause ClassifyPortFailure(std::string_view failureText, HostSystem system) {
  const std::string text = Lower(failureText);
  // Windows answers "Access is denied." when another program has the port open; Qt's lock file
  // held by another program reads as a permission error on Unix.
  if (ContainsAny(text, {"device or resource busy", "while locking the device", "resource is in use",
                         "in use by another program",
                         "being used by another process"}) ||
      (system == HostSystem::Windows && ContainsAny(text, {"access is denied"}))) {
    return PortFailCause::Busy;
  }
  if (ContainsAny(text, {"no such port", "no such device", "cannot find the port",
                         "cannot find the path", "device is not connected", "illegal com port name"})) {
    return PortFailCause::Missing;
  }
  if (ContainsAny(text, {"permission denied", "operation not permitted", "permission error",
                         "access is denied"})) {
    return PortFailCause::PermissionDenied;
  }
  return PortFailCause::Unknown;
}

std::string PortFailHint(std::string_view statusText, HostSystem system) {
  if (statusText.substr(0, kFailPrefix.size()) != kFailPrefix) return {};
  const std::string_view failure = statusText.substr(kFailPrefix.size());
  // The full status first: the panel is small and may cut a long system message.
  return std::string(statusText) + "\n\n" + CauseAndFix(ClassifyPortFailure(failure, system), system);
}

}  // namespace zorv
