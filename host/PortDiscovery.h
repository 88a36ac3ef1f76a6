#pragma once
// The serial ports the PC has, found once at start-up: every device the system lists that has a
// port number, plus the user's port aliases. Never refreshed while the tool runs.
#include <map>
#include <string>
#include <vector>

namespace zorv {

struct PresentPort {
  std::string device;       // what the port opens
  std::string description;  // what the system says about it; may be empty
};

// Present ports by number, 1..255 only.
using PresentPorts = std::map<int, PresentPort>;

struct SystemPort {
  std::string device;  // e.g. /dev/ttyUSB0 or COM3
  std::string description;
};

// The table for these system devices and aliases (alias number -> path). Devices without a
// number, and numbers outside 1..255, are left out; an alias wins over a system device.
PresentPorts BuildPortTable(const std::vector<SystemPort>& system,
                            const std::map<int, std::string>& aliases);

// The lowest present port, or 1 when there is none.
int PresetPortNumber(const PresentPorts& ports);

// Asks the system and reads the aliases.
PresentPorts DiscoverPorts();

}  // namespace zorv
