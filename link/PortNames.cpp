#include "link/PortNames.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <charconv>
#include <string_view>

namespace zorv {
namespace {

constexpr const char* kOrganisation = "Dravik Controls";
constexpr const char* kApplication = "ZorvTrim";
constexpr const char* kAliasGroup = "Port Aliases";

bool ValidPortNumber(int n) { return n >= kLowestPortNumber && n <= kHighestPortNumber; }

QString AliasKey(int n) { return QStringLiteral("COM") + QString::number(n); }

// The decimal number that makes up all of `digits`, without sign or leading zeros; -1 otherwise.
int ParseCanonicalNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 4) return -1;
  if (digits.size() > 1 && digits.front() == '0') return -1;
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return -1;
  return value;
}

// n of "COMn" (upper-case prefix, the rest all digits); -1 for anything else.
int PortNumberOfKey(std::string_view key) {
  if (key.substr(0, 3) != "COM") return -1;
  return ParseCanonicalNumber(key.substr(3));
}

#ifndef Q_OS_WIN
struct DeviceFamily {
  std::string_view prefix;
  int firstPort;
};
// Each family holds 32 devices, numbered from 0.
constexpr DeviceFamily kFamilies[] = {
    {"/dev/ttyS", 1},
    {"/dev/ttyUSB", 33},
    {"/dev/ttyACM", 65},
};
constexpr int kFamilySize = 32;
#endif

std::string StableDeviceName(int n) {
#ifdef Q_OS_WIN
  return "\\\\.\\COM" + std::to_string(n);
#else
  for (const auto& family : kFamilies) {
    if (n >= family.firstPort && n < family.firstPort + kFamilySize) {
      return std::string(family.prefix) + std::to_string(n - family.firstPort);
    }
  }
  return {};
#endif
}

int StablePortNumber(std::string_view path) {
#ifdef Q_OS_WIN
  constexpr std::string_view kDevicePrefix = "\\\\.\\";
  if (path.substr(0, kDevicePrefix.size()) == kDevicePrefix) path.remove_prefix(kDevicePrefix.size());
  const int n = PortNumberOfKey(path);
  return ValidPortNumber(n) ? n : 0;
#else
  for (const auto& family : kFamilies) {
    if (path.substr(0, family.prefix.size()) != family.prefix) continue;
    const int k = ParseCanonicalNumber(path.substr(family.prefix.size()));
    if (k >= 0 && k < kFamilySize) return family.firstPort + k;
  }
  return 0;
#endif
}

std::string AliasFor(int n) {
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kAliasGroup);
  return settings.value(AliasKey(n)).toString().toStdString();
}

}  // namespace

namespace {
// Set once, before any link starts, by the command line's --device.
int gRunPort = 0;
std::string gRunDevice;
}  // namespace

void UseDeviceForRun(int n, const std::string& path) {
  gRunPort = n;
  gRunDevice = path;
}

int RunPortNumberForDevice(const std::string& path) {
  if (const int n = PortNumberForDevice(path); n != 0) return n;
  const std::map<int, std::string> aliases = PortAliases();
  for (int n = 200; n <= kHighestPortNumber; ++n) {
    if (aliases.count(n) == 0 && StableDeviceName(n).empty()) return n;
  }
  return kHighestPortNumber;
}

std::string DeviceNameForPort(int n) {
  if (n == gRunPort && !gRunDevice.empty()) return gRunDevice;
  if (ValidPortNumber(n)) {
    std::string alias = AliasFor(n);
    if (!alias.empty()) return alias;
  }
  // On Windows every number has a name; a missing port then fails with the system's own text.
  return StableDeviceName(n);
}

int PortNumberForDevice(const std::string& path) {
  if (path.empty()) return 0;
  if (const int n = StablePortNumber(path); n != 0) return n;
  for (const auto& [n, alias] : PortAliases()) {
    if (alias == path) return n;
  }
  return 0;
}

std::map<int, std::string> PortAliases() {
  std::map<int, std::string> aliases;
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kAliasGroup);
  const QStringList keys = settings.childKeys();
  for (const QString& key : keys) {
    const int n = PortNumberOfKey(key.toStdString());
    if (!ValidPortNumber(n)) continue;
    std::string path = settings.value(key).toString().toStdString();
    if (!path.empty()) aliases.emplace(n, std::move(path));
  }
  return aliases;
}

void SetPortAlias(int n, const std::string& path) {
  if (!ValidPortNumber(n)) return;
  if (path.empty()) {
    RemovePortAlias(n);
    return;
  }
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kAliasGroup);
  settings.setValue(AliasKey(n), QString::fromStdString(path));
}

void RemovePortAlias(int n) {
  if (!ValidPortNumber(n)) return;
  QSettings settings(kOrganisation, kApplication);
  settings.beginGroup(kAliasGroup);
  settings.remove(AliasKey(n));
}

}  // namespace zorv
