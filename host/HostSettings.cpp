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
  if (stored.typeId() == QMetaType::QString) return stored.toString();
  // Any other value the user wrote (a list, where the file held a comma) stays in the file as
  // it is; it is not a plain number, so the caller falls back to its default use.
  if (stored.isValid()) return stored.toStringList().join(',');
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
