#pragma once
// The serial ports the PC has: every device the system lists that has a port number, plus the
// user's port aliases. Found at start-up and again whenever the port dialog opens, so an adapter
// plugged in later is offered too.
#include <map>
#include <string>
#include <vector>

namespace zorv {

struct PresentPort {
  std::string device;       // what the port opens
  std::string description;  // what the system says about it; may be empty
  std::string manufacturer = {};
  std::string serialNumber = {};
  // The adapter's own name under /dev/serial/by-id, the same in every socket; "" when none.
  std::string stablePath = {};
  // The device an alias leads to (links followed); its device itself for other ports.
  std::string resolved = {};
  // False for an alias whose target is missing or no serial device: listed, marked dead.
  bool present = true;
};

// Where an alias leads: the resolved path and, when it is no serial device, why not
// ("missing", "a folder", "a plain file", "not a serial device"); "" when it is one.
struct AliasTarget {
  std::string resolved;
  std::string dead;
};
AliasTarget ResolveAlias(const std::string& path);

// Present ports by number, 1..255 only.
using PresentPorts = std::map<int, PresentPort>;

struct SystemPort {
  std::string device;  // e.g. /dev/ttyUSB0 or COM3
  std::string description;
  std::string manufacturer = {};
  std::string serialNumber = {};
  std::string stablePath = {};
};

// The table for these system devices and aliases (alias number -> path). Devices without a
// number, and numbers outside 1..255, are left out; an alias wins over a system device.
PresentPorts BuildPortTable(const std::vector<SystemPort>& system,
                            const std::map<int, std::string>& aliases);

// The lowest present port, or 1 when there is none.
int PresetPortNumber(const PresentPorts& ports);

// The tooltip of a port's entry: device, description, maker, serial number, stable path.
std::string PortEntryTooltip(const PresentPort& port);

// Asks the system and reads the aliases. The port dialog asks again each time it opens.
PresentPorts DiscoverPorts();

}  // namespace zorv
