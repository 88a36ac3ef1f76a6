#include "host/RegisterSetting.h"

#include "host/HostSettings.h"

namespace zorv {

history::RegisterAddress ReadRegisterAddress() {
  history::RegisterAddress address;
  address.host = PeekSetting(kApplicationName, kRegisterHostSetting, "").trimmed();
  const QString port = PeekSetting(kApplicationName, kRegisterPortSetting, "5432");
  bool ok = false;
  const int number = port.trimmed().toInt(&ok);
  address.port = ok && number > 0 && number < 65536 ? number : 5432;
  address.database = PeekSetting(kApplicationName, kRegisterDatabaseSetting, "zorvtrim").trimmed();
  if (address.database.isEmpty()) address.database = "zorvtrim";
  address.user = PeekSetting(kApplicationName, kRegisterUserSetting, "").trimmed();
  address.requireEncryption =
      PeekSetting(kApplicationName, kRegisterEncryptionSetting, "0").trimmed() == "1";
  address.caFile = PeekSetting(kApplicationName, kRegisterCaFileSetting, "").trimmed();
  return address;
}

void WriteRegisterAddress(const history::RegisterAddress& address) {
  WriteSetting(kApplicationName, kRegisterHostSetting, address.host);
  WriteSetting(kApplicationName, kRegisterPortSetting, QString::number(address.port));
  WriteSetting(kApplicationName, kRegisterDatabaseSetting, address.database);
  WriteSetting(kApplicationName, kRegisterUserSetting, address.user);
  WriteSetting(kApplicationName, kRegisterEncryptionSetting, address.requireEncryption ? "1" : "0");
  WriteSetting(kApplicationName, kRegisterCaFileSetting, address.caFile);
}

}  // namespace zorv
