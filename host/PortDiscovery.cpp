#include "host/PortDiscovery.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

#include "link/PortNames.h"
#ifdef Q_OS_WIN
#include "link/SerialCommMap.h"
#endif

namespace zorv {
namespace {

bool InTable(int n) { return n >= kLowestPortNumber && n <= kHighestPortNumber; }

// The /dev/serial/by-id link that names this device: udev makes it from the adapter's maker,
// product and serial number, so it stays the same whatever USB socket the adapter is in.
QString StablePathOf(const QString& device) {
  const QDir byId("/dev/serial/by-id");
  const QString target = QFileInfo(device).canonicalFilePath();
  if (target.isEmpty()) return {};
  for (const QFileInfo& link : byId.entryInfoList(QDir::System | QDir::Files)) {
    if (link.canonicalFilePath() == target) return link.absoluteFilePath();
  }
  return {};
}

// A character device the tty layer serves (a serial port, a USB adapter, a pseudo-terminal),
// told by its device number without opening it: opening may move modem lines.
bool IsSerialDevice(const QString& path) {
#ifdef Q_OS_UNIX
  struct stat node {};
  if (::stat(QFile::encodeName(path).constData(), &node) != 0 || !S_ISCHR(node.st_mode)) {
    return false;
  }
  const unsigned major = major(node.st_rdev);
  // Pseudo-terminal slaves (136-143) have no entry in sysfs.
  if (major >= 136 && major <= 143) return true;
  const QString subsystem = QFileInfo(QString("/sys/dev/char/%1:%2/subsystem")
                                          .arg(major)
                                          .arg(minor(node.st_rdev)))
                                .canonicalFilePath();
  return subsystem.endsWith("/tty");
#else
  (void)path;
  return true;
#endif
}

}  // namespace

PresentPorts BuildPortTable(const std::vector<SystemPort>& system,
                            const std::map<int, std::string>& aliases) {
  PresentPorts ports;
  for (const SystemPort& port : system) {
    const int n = PortNumberForDevice(port.device);
    if (InTable(n)) {
      ports[n] = {port.device, port.description, port.manufacturer, port.serialNumber,
                  port.stablePath, port.device, true};
    }
  }
  // An alias wins, as it does when the port is opened.
  for (const auto& [n, path] : aliases) {
    if (!InTable(n) || path.empty()) continue;
    ports[n] = {path, "alias", {}, {}, {}, path, true};
    // A remembered adapter that is present keeps telling what it is.
    for (const SystemPort& port : system) {
      if (!port.stablePath.empty() && port.stablePath == path) {
        ports[n] = {path, port.description + " (remembered)", port.manufacturer,
                    port.serialNumber, port.stablePath, port.device, true};
      }
    }
  }
  return ports;
}

AliasTarget ResolveAlias(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  const QString canonical = info.canonicalFilePath();  // "" when the target is missing
  AliasTarget target{canonical.isEmpty() ? path : canonical.toStdString(), {}};
  if (canonical.isEmpty()) {
    target.dead = "missing";
  } else if (info.isDir()) {
    target.dead = "a folder";
  } else if (info.isFile()) {
    target.dead = "a plain file";
  } else if (!IsSerialDevice(canonical)) {
    target.dead = "not a serial device";
  }
  return target;
}

std::string PortEntryTooltip(const PresentPort& port) {
  std::string tip = port.device;
  if (!port.resolved.empty() && port.resolved != port.device) tip += " -> " + port.resolved;
  if (!port.description.empty()) tip += " - " + port.description;
  if (!port.manufacturer.empty()) tip += "\nMaker: " + port.manufacturer;
  if (!port.serialNumber.empty()) tip += "\nSerial number: " + port.serialNumber;
  if (!port.stablePath.empty()) tip += "\nAdapter: " + port.stablePath;
  return tip;
}

int PresetPortNumber(const PresentPorts& ports) {
  return ports.empty() ? 1 : ports.begin()->first;
}

PresentPorts DiscoverPorts() {
#ifdef Q_OS_WIN
  {
    // The system's serial device map lists every port a driver has announced, by its COMn
    // name; the driver's device (\Device\VCP0 for an FTDI adapter) tells what it is.
    std::vector<SystemPort> mapped;
    for (const SerialCommEntry& entry : ReadSerialCommMap()) {
      mapped.push_back({entry.portName, entry.driverDevice});
    }
    return BuildPortTable(mapped, PortAliases());
  }
#endif
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
    system.push_back({device.toStdString(), description.toStdString(),
                      info.manufacturer().toStdString(), info.serialNumber().toStdString(),
                      StablePathOf(info.systemLocation()).toStdString()});
  }
  const std::map<int, std::string> aliases = PortAliases();
  PresentPorts ports = BuildPortTable(system, aliases);
  // An alias is listed whatever it leads to, but one that leads nowhere usable says so.
  for (const auto& [n, path] : aliases) {
    const auto port = ports.find(n);
    if (port == ports.end() || port->second.device != path) continue;
    const AliasTarget target = ResolveAlias(path);
    port->second.resolved = target.resolved;
    port->second.present = target.dead.empty();
    if (!target.dead.empty()) port->second.description += ", dead: " + target.dead;
    if (port->second.stablePath.empty()) {
      port->second.stablePath = StablePathOf(QString::fromStdString(path)).toStdString();
    }
  }
  return ports;
}

}  // namespace zorv
