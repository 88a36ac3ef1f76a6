#include "link/PortLock.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zorv {
namespace {

#ifdef Q_OS_UNIX
// Where QSerialPort and other serial programs keep their "LCK.." files.
constexpr const char* kLockFolders[] = {"/run/lock", "/var/lock", "/etc/locks",
                                        "/var/spool/locks", "/var/spool/uucp", "/tmp",
                                        "/var/tmp", "/var/lock/lockdev"};

bool SameDevice(const QString& path, dev_t device) {
  struct stat named {};
  return ::stat(QFile::encodeName(path).constData(), &named) == 0 && S_ISCHR(named.st_mode) &&
         named.st_rdev == device;
}

// True when process `pid` has `device` open (readable for our own user's processes, or as root).
bool HoldsDevice(qint64 pid, dev_t device) {
  const QDir fds(QString("/proc/%1/fd").arg(pid));
  for (const QString& fd : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
    if (SameDevice(fds.filePath(fd), device)) return true;
  }
  return false;
}

// The first line of a lock file: the holder's process id (text; some programs write binary).
qint64 LockFilePid(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QByteArray data = f.read(64);
  bool ok = false;
  const qint64 pid = data.split('\n').value(0).trimmed().toLongLong(&ok);
  return ok && pid > 0 ? pid : 0;
}
#endif

}  // namespace

std::string LockFileHolder(const std::string& deviceName) {
#ifdef Q_OS_UNIX
  struct stat opened {};
  if (::stat(deviceName.c_str(), &opened) != 0 || !S_ISCHR(opened.st_mode)) return {};
  for (const char* folder : kLockFolders) {
    const QDir dir(folder);
    for (const QString& name : dir.entryList({"LCK..*"}, QDir::Files | QDir::System)) {
      const qint64 pid = LockFilePid(dir.filePath(name));
      if (pid <= 0 || pid == static_cast<qint64>(::getpid())) continue;
      if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) continue;  // stale
      if (HoldsDevice(pid, opened.st_rdev)) {
        return std::string(kPortInUse) + " (process " + std::to_string(pid) + ")";
      }
    }
  }
#else
  (void)deviceName;
#endif
  return {};
}

std::string LockOpenDevice(std::intptr_t fd, const std::string& deviceName) {
#ifdef Q_OS_UNIX
  if (::flock(static_cast<int>(fd), LOCK_EX | LOCK_NB) == 0) return {};
  if (errno != EWOULDBLOCK) return {};  // a file system without locks: QSerialPort's lock stays
  const std::string holder = LockFileHolder(deviceName);
  return holder.empty() ? std::string(kPortInUse) : holder;
#else
  (void)fd;
  (void)deviceName;
  return {};
#endif
}

}  // namespace zorv
