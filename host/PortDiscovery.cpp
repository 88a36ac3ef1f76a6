#include "host/PortDiscovery.h"

#include <QSerialPortInfo>

#include "link/PortNames.h"

namespace zorv {
namespace {

bool InTable(int n) { return n >= kLowestPortNumber && n <= kHighestPortNumber; }

}  // namespace

PresentPorts BuildPortTable(const std::vector<SystemPort>& system,
                            const std::map<int, std::string>& aliases) {
  PresentPorts ports;
  for (const SystemPort& port : system) {
    const int n = PortNumberForDevice(port.device);
    if (InTable(n)) ports[n] = {port.device, port.description};
  }
  // An alias wins, as it does when the port is opened.
  for (const auto& [n, path] : aliases) {
    if (InTable(n) && !path.empty()) ports[n] = {path, "alias"};
  }
  return ports;
}

int PresetPortNumber(const PresentPorts& ports) {
  return ports.empty() ? 1 : ports.begin()->first;
}

PresentPorts DiscoverPorts() {
  std::vector<SystemPort> system;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
    const QString device = info.portName();  // "COM3": the number is in the name
#else
    const QString device = info.systemLocation();
#endif
    QString description = info.description();
    if (!info.manufacturer().isEmpty()) {
      description += (description.isEmpty() ? "" : ", ") + info.manufacturer();
    }
    system.push_back({device.toStdString(), description.toStdString()});
  }
  return BuildPortTable(system, PortAliases());
}

}  // namespace zorv
