// The real facts for the port doctor: this process's groups, the device node's owner and mode,
// installed packages from dpkg's status file, running programs from /proc, and the drivers of
// the USB serial adapters present from /sys.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <vector>

#include "host/PortDoctor.h"

namespace zorv {
namespace {

std::string GroupName(gid_t gid) {
  const group* g = getgrgid(gid);
  return g != nullptr ? g->gr_name : std::to_string(gid);
}

std::string UserName(uid_t uid) {
  const passwd* pw = getpwuid(uid);
  return pw != nullptr ? pw->pw_name : std::to_string(uid);
}

void ReadGroups(SystemFacts& facts) {
  facts.user = UserName(geteuid());
  facts.userGroups.insert(GroupName(getegid()));
  const int count = getgroups(0, nullptr);
  if (count <= 0) return;
  std::vector<gid_t> ids(static_cast<std::size_t>(count));
  const int got = getgroups(count, ids.data());
  for (int i = 0; i < got; ++i) facts.userGroups.insert(GroupName(ids[static_cast<std::size_t>(i)]));
}

void ReadDevice(const std::string& device, SystemFacts& facts) {
  struct stat node {};
  if (device.empty() || stat(device.c_str(), &node) != 0) return;
  facts.deviceExists = true;
  facts.deviceGroup = GroupName(node.st_gid);
  facts.deviceOwner = UserName(node.st_uid);
  facts.deviceMode = static_cast<unsigned>(node.st_mode & 07777);
  facts.groupMayReadWrite = (node.st_mode & S_IRGRP) != 0 && (node.st_mode & S_IWGRP) != 0;
  facts.othersMayReadWrite = (node.st_mode & S_IROTH) != 0 && (node.st_mode & S_IWOTH) != 0;
  facts.ownedByUser = node.st_uid == geteuid();
}

void ReadInstalled(SystemFacts& facts) {
  QFile status("/var/lib/dpkg/status");
  if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) return;
  QTextStream in(&status);
  QString package;
  while (!in.atEnd()) {
    const QString line = in.readLine();
    if (line.startsWith("Package: ")) package = line.mid(9).trimmed();
    if (line.startsWith("Status: ") && line.endsWith(" installed") &&
        (package == "brltty" || package == "modemmanager")) {
      facts.installed.insert(package.toStdString());
    }
  }
}

void ReadRunning(SystemFacts& facts) {
  for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    bool number = false;
    pid.toInt(&number);
    if (!number) continue;
    QFile comm("/proc/" + pid + "/comm");
    if (!comm.open(QIODevice::ReadOnly)) continue;
    const QString name = QString::fromUtf8(comm.readAll()).trimmed();
    if (name == "brltty" || name == "ModemManager") facts.running.insert(name.toStdString());
  }
}

// By USB identity, not by bound driver: brltty unbinds the adapters it takes.
void ReadAdapters(SystemFacts& facts) {
  const QDir devices("/sys/bus/usb/devices");
  for (const QString& entry : devices.entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot)) {
    auto read = [&](const char* name) {
      QFile file(devices.filePath(entry) + "/" + name);
      return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed() : QString();
    };
    const QString id = read("idVendor") + ":" + read("idProduct");
    if (id == "1a86:7523" || id == "1a86:5523") facts.adapterDrivers.insert("ch341");
    if (id.startsWith("10c4:ea6") || id == "10c4:ea70") facts.adapterDrivers.insert("cp210x");
    if (id.startsWith("0403:")) facts.adapterDrivers.insert("ftdi_sio");
  }
}

}  // namespace

SystemFacts GatherSystemFacts(const std::string& device) {
  SystemFacts facts;
  ReadGroups(facts);
  ReadDevice(device, facts);
  ReadInstalled(facts);
  ReadRunning(facts);
  ReadAdapters(facts);
  return facts;
}

}  // namespace zorv
