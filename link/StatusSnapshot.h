#pragma once
// What the window's status strip (or the command line's progress line) shows of the link.
#include <string>

namespace zorv {

enum class StatusColour { Red, Green, Blue };

struct StatusSnapshot {
  std::string text;
  StatusColour colour = StatusColour::Red;
  int progress = 0;
  std::string progressText;   // shown in the bar instead of the percentage when not empty
  bool receiveLamp = false;   // a byte arrived less than 200 ms ago
  bool transmitLamp = false;  // a byte left less than 200 ms ago
  std::string portNote;       // about the open port, for its tooltip (SerialDevice::Note)
  std::string device;         // the device the port opens, for the port doctor
  bool operator==(const StatusSnapshot&) const = default;
};

}  // namespace zorv
