#include "host/HostSettings.h"

#include <QSettings>

namespace zorv {
namespace {

constexpr const char* kOrganisation = "Dravik Controls";
constexpr const char* kSettingsGroup = "Settings";

}  // namespace

QString ReadSetting(const QString& application, const QString& name, const QString& defaultValue) {
  QSettings settings(kOrganisation, application);
  settings.beginGroup(kSettingsGroup);
  const QVariant stored = settings.value(name);
  // Another type than a string counts as missing.
  if (stored.isValid() && stored.canConvert<QString>() && stored.typeId() == QMetaType::QString) {
    return stored.toString();
  }
  settings.setValue(name, defaultValue);
  settings.sync();
  return defaultValue;
}

void WriteSetting(const QString& application, const QString& name, const QString& value) {
  QSettings settings(kOrganisation, application);
  settings.beginGroup(kSettingsGroup);
  settings.setValue(name, value);
  settings.sync();
}

int PortNumberFromSetting(const QString& value) {
  bool ok = false;
  const int n = value.trimmed().toInt(&ok, 10);
  return ok ? n : 1;
}

}  // namespace zorv
