#include "PgServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <filesystem>

namespace zorvtest {
namespace {

constexpr int kProgramTimeoutMs = 60000;

// A port nobody listens on now (the kernel's choice for port 0).
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);
  return port;
}

}  // namespace

PgServer& PgServer::Shared() {
  static PgServer* shared = nullptr;
  if (shared == nullptr) {
    shared = new PgServer;
    // Stopped while the application still exists (QProcess runs pg_ctl), never left running.
    qAddPostRoutine([] {
      delete shared;
      shared = nullptr;
    });
  }
  return *shared;
}

QString PgServer::BinDir() {
  QProcess config;
  config.start("pg_config", {"--bindir"});
  if (config.waitForFinished(10000) && config.exitCode() == 0) {
    const QString dir = QString::fromLocal8Bit(config.readAllStandardOutput()).trimmed();
    if (QFileInfo::exists(dir + "/initdb") && QFileInfo::exists(dir + "/pg_ctl")) return dir;
  }
  QStringList versions = QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  std::sort(versions.begin(), versions.end(),
            [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
  for (const QString& version : versions) {
    const QString dir = "/usr/lib/postgresql/" + version + "/bin";
    if (QFileInfo::exists(dir + "/initdb") && QFileInfo::exists(dir + "/pg_ctl")) return dir;
  }
  return {};
}

QString PgServer::Run(const QString& program, const QStringList& arguments, bool asServerUser) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setWorkingDirectory(folder_);
  QString command = bin_ + "/" + program;
  QStringList all = arguments;
  if (asServerUser && ::geteuid() == 0) {
    all = QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups", command} + arguments;
    command = "setpriv";
  }
  process.start(command, all);
  if (!process.waitForFinished(kProgramTimeoutMs)) {
    process.kill();
    process.waitForFinished(5000);
    return program + " did not finish: " + process.errorString();
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    return program + " failed: " + QString::fromLocal8Bit(process.readAll());
  }
  return {};
}

QString PgServer::Start() {
  if (running_) return {};
  if (folder_.isEmpty()) {
    bin_ = BinDir();
    if (bin_.isEmpty()) {
      return "no PostgreSQL server programs (initdb, pg_ctl): neither `pg_config --bindir` nor "
             "/usr/lib/postgresql/*/bin has them; scripts/deps.sh installs the package postgresql";
    }
    // Under /tmp, which nobody can reach; a private TMPDIR might not be.
    QByteArray pattern = "/tmp/zorv-pg-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return "cannot create a folder under /tmp";
    folder_ = QString::fromLocal8Bit(pattern);
    if (::geteuid() == 0 && QProcess::execute("chown", {"nobody:nogroup", folder_}) != 0) {
      return "cannot give " + folder_ + " to nobody";
    }
    const QString made = Run("initdb", {"-D", folder_ + "/data", "-U", User(), "-A", "trust",
                                        "-E", "UTF8", "--locale=C", "--no-sync"},
                             true);
    if (!made.isEmpty()) return made;
    port_ = FreePort();
    if (port_ == 0) return "no free TCP port on 127.0.0.1";
  }
  const QString options = "-c listen_addresses=127.0.0.1 -p " + QString::number(port_) + " -k " +
                          folder_ + " -F";
  const QString started = Run("pg_ctl", {"-D", folder_ + "/data", "-l", folder_ + "/server.log",
                                         "-w", "-t", "30", "-o", options, "start"},
                              true);
  if (!started.isEmpty()) return started + "\n" + Log();
  running_ = true;
  return {};
}

bool PgServer::Stop() {
  if (!running_) return true;
  const QString stopped =
      Run("pg_ctl", {"-D", folder_ + "/data", "-m", "immediate", "-w", "stop"}, true);
  running_ = !stopped.isEmpty();
  return !running_;
}

QString PgServer::CreateDatabase(const QString& name) {
  return Run("createdb", {"-h", Host(), "-p", QString::number(port_), "-U", User(), name}, false);
}

QString PgServer::Log() const {
  QFile log(folder_ + "/server.log");
  return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

PgServer::~PgServer() {
  Stop();
  if (!folder_.isEmpty()) {
    std::error_code ec;
    std::filesystem::remove_all(folder_.toStdString(), ec);
  }
}

}  // namespace zorvtest
