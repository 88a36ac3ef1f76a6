// ports [--json]: the present ports with the window's numbering and the user's aliases.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "host/PortDiscovery.h"
#include "link/PortNames.h"

namespace zorv::cli {

int Ports(const QStringList& arguments) {
  Parser parser("ports", "The serial ports present: COM number, device, description, maker, "
                         "serial number and the alias that names it.", false);
  parser.Raw().addOption({"json", "One JSON array instead of tab-separated lines."});
  if (const auto ended = parser.Parse(arguments, 0, 0)) return *ended;

  const PresentPorts ports = DiscoverPorts();
  const std::map<int, std::string> aliases = PortAliases();
  QJsonArray array;
  for (const auto& [number, port] : ports) {
    const auto alias = aliases.find(number);
    const QString aliasText =
        alias == aliases.end() ? QString() : QString::fromStdString(alias->second);
    if (parser.Raw().isSet("json")) {
      array.append(QJsonObject{{"com", number},
                               {"name", "COM" + QString::number(number)},
                               {"device", QString::fromStdString(port.device)},
                               {"description", QString::fromStdString(port.description)},
                               {"manufacturer", QString::fromStdString(port.manufacturer)},
                               {"serialNumber", QString::fromStdString(port.serialNumber)},
                               {"alias", aliasText},
                               {"resolved", QString::fromStdString(port.resolved)},
                               {"byId", QString::fromStdString(port.stablePath)},
                               {"present", port.present}});
    } else {
      Out(QStringList{"COM" + QString::number(number), QString::fromStdString(port.device),
                      QString::fromStdString(port.description),
                      QString::fromStdString(port.manufacturer),
                      QString::fromStdString(port.serialNumber), aliasText}
              .join('\t'));
    }
  }
  if (parser.Raw().isSet("json")) Out(QString::fromUtf8(QJsonDocument(array).toJson()).trimmed());
  return kSuccess;
}

}  // namespace zorv::cli
