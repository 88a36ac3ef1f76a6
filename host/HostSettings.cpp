#include "host/HostSettings.h"

#include <QSettings>
#include <QStandardPaths>

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
  // Any other value stays in the store as the user left it (a list, where the file held a
  // comma): only a missing value is written. Text that is no number makes the caller use 1.
  if (stored.typeId() == QMetaType::QStringList) return stored.toStringList().join(',');
  if (stored.isValid()) return stored.toString();
  settings.setValue(name, defaultValue);
  settings.sync();
  return defaultValue;
}

QString PeekSetting(const QString& application, const QString& name, const QString& defaultValue) {
  QSettings settings(kOrganisation, application);
  settings.beginGroup(kSettingsGroup);
  const QVariant stored = settings.value(name);
  if (stored.typeId() == QMetaType::QStringList) return stored.toStringList().join(',');
  return stored.isValid() ? stored.toString() : defaultValue;
}

QString HistoryFile() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/history.sqlite";
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
