#pragma once
// Points the per-user settings at a fresh temporary folder for one test, so the user's own
// settings are never read or touched.
#include <QSettings>
#include <QTemporaryDir>

namespace zorv::test {

class PrivateSettings {
 public:
  PrivateSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
  }
  // What is stored under Settings, read back from the store itself.
  static QVariant Stored(const QString& name) {
    QSettings settings("Dravik Controls", "ZorvTrim");
    return settings.value("Settings/" + name);
  }
  static void Store(const QString& name, const QVariant& value) {
    QSettings settings("Dravik Controls", "ZorvTrim");
    settings.setValue("Settings/" + name, value);
  }

 private:
  QTemporaryDir dir_;
};

}  // namespace zorv::test
