#pragma once
// Points the per-user settings at a fresh temporary folder for one test, so the user's own
// settings are never read or touched.
#include <QSettings>
#include <QTemporaryDir>
#ifdef Q_OS_WIN
#include <utility>
#include <vector>
#endif

namespace zorv::test {

class PrivateSettings {
 public:
  PrivateSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
#ifdef Q_OS_WIN
    // The native store there is the registry, which no path moves: the user's key is kept
    // aside and emptied for the test, and put back afterwards.
    QSettings key("Dravik Controls", "ZorvTrim");
    for (const QString& name : key.allKeys()) kept_.emplace_back(name, key.value(name));
    key.clear();
#endif
  }
#ifdef Q_OS_WIN
  ~PrivateSettings() {
    QSettings key("Dravik Controls", "ZorvTrim");
    key.clear();
    for (const auto& [name, value] : kept_) key.setValue(name, value);
  }
  PrivateSettings(const PrivateSettings&) = delete;
  PrivateSettings& operator=(const PrivateSettings&) = delete;
#endif
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
#ifdef Q_OS_WIN
  std::vector<std::pair<QString, QVariant>> kept_;
#endif
};

}  // namespace zorv::test
