#pragma once
// A private world for zorvtrim-cli runs: its settings folder (the alias COM200 to a simulator),
// its history and its files, and the runs themselves with exit status and output. A run is the
// program as a process, or, when the world's controller is in the test's own process, the same
// subcommands called here on that controller's link clock (standard streams redirected to
// files for the run).
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <gtest/gtest.h>

#include "cli/ConsoleLink.h"
#include "cli/Run.h"
#include "tests/e2e/TestController.h"
#include "tests/support/TempFolder.h"

namespace zorv::test {

// ZORV_TEST_CLI runs the rows against another build (an older one, to see a row fail first).
inline const QString kCli = qEnvironmentVariableIsEmpty("ZORV_TEST_CLI")
                                ? QStringLiteral(ZORV_BINARY_DIR "/cli/zorvtrim-cli")
                                : qEnvironmentVariable("ZORV_TEST_CLI");
inline const QString kHex = QStringLiteral(ZORV_TEST_DATA_DIR "/hex/");

struct CliRun {
  int exitCode = -1;
  QString out;
  QString err;
  qint64 ms = 0;
};

inline QByteArray ReadAll(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A private home for the settings, the history and the files of one row.
class CliWorld {
 public:
  CliWorld() {
    QDir().mkpath(Config());
    QFile::remove(History());
  }
  QString Dir() const { return QString::fromStdString(folder_.Path().string()); }
  QString Config() const { return Dir() + "/config"; }
  QString History() const { return Dir() + "/data/Dravik Controls/ZorvTrim/history.sqlite"; }
  QString File(const QString& name) const { return Dir() + "/" + name; }

  // The alias that points COM200 at the simulator and, unless the row names its port, the
  // window's remembered port.
  void PointAt(const QString& device, bool remembered = true) const {
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue("Port Aliases/COM200", device);
    if (remembered) settings.setValue("Settings/COM Port", "200");
  }
  QString SettingsFile() const { return Config() + "/Dravik Controls/ZorvTrim.conf"; }

  // Starts `controller` with zorv-sim's `options` (its memories saved in this world's folder on
  // a real port) and points COM200 at it; in process, the runs from now on are too, so it must
  // outlive them.
  bool Connect(TestController& controller, const QStringList& options, Where where,
               bool remembered = true) {
    const QString port = controller.Start(options, where, Dir().toStdString());
    if (port.isEmpty()) return false;
    PointAt(port, remembered);
    sim_ = controller.InProcess();
    return true;
  }

  QProcessEnvironment Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", Config());
    env.insert("XDG_DATA_HOME", Dir() + "/data");
    return env;
  }

  // Starts a run that the caller interrupts or watches ("{dir}" is the row's folder).
  void Start(QProcess& process, QStringList arguments) const {
    for (QString& a : arguments) a.replace("{dir}", Dir());
    process.setProcessEnvironment(Environment());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(kCli, arguments);
  }

  CliRun Cli(QStringList arguments, int timeoutMs = 60000) const {
    for (QString& a : arguments) a.replace("{dir}", Dir());
    if (sim_ != nullptr) return InProcess(arguments);
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.setStandardInputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(kCli, arguments);
    CliRun run;
    if (!process.waitForFinished(timeoutMs)) {
      process.kill();
      process.waitForFinished();
      ADD_FAILURE() << "zorvtrim-cli " << arguments.join(' ').toStdString() << " hung";
    }
    run.ms = timer.elapsed();
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
  }

 private:
  // The program's names, settings and data folders, standard streams and link, for one call.
  CliRun InProcess(const QStringList& arguments) const {
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (Dir() + "/data").toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Config());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Config());
    const QString application = QCoreApplication::applicationName();
    const QString organisation = QCoreApplication::organizationName();
    QCoreApplication::setApplicationName("ZorvTrim");
    QCoreApplication::setOrganizationName("Dravik Controls");
    cli::RunLinksOn(&sim_->LinkClock(), sim_);

    CliRun run;
    QElapsedTimer timer;
    timer.start();
    {
      const Redirected streams(Dir());
      run.exitCode = cli::Run(arguments);
    }
    run.ms = timer.elapsed();
    run.out = QString::fromLocal8Bit(ReadAll(Dir() + "/.stdout"));
    run.err = QString::fromLocal8Bit(ReadAll(Dir() + "/.stderr"));

    cli::RunLinksOn(nullptr, nullptr);
    QCoreApplication::setApplicationName(application);
    QCoreApplication::setOrganizationName(organisation);
    qputenv("XDG_DATA_HOME", dataHome);
    return run;
  }

  // Standard input from /dev/null (no terminal to ask on, as under QProcess), standard output
  // and error into `folder`'s .stdout and .stderr, until destroyed.
  class Redirected {
   public:
    explicit Redirected(const QString& folder) {
      std::fflush(stdout);
      std::fflush(stderr);
      Swap(0, "/dev/null", O_RDONLY);
      Swap(1, folder + "/.stdout", O_WRONLY | O_CREAT | O_TRUNC);
      Swap(2, folder + "/.stderr", O_WRONLY | O_CREAT | O_TRUNC);
    }
    ~Redirected() {
      std::fflush(stdout);
      std::fflush(stderr);
      for (int fd = 0; fd < 3; ++fd) {
        ::dup2(saved_[fd], fd);
        ::close(saved_[fd]);
      }
    }
    Redirected(const Redirected&) = delete;
    Redirected& operator=(const Redirected&) = delete;

   private:
    void Swap(int fd, const QString& file, int flags) {
      saved_[fd] = ::dup(fd);
      const int opened = ::open(QFile::encodeName(file).constData(), flags, 0600);
      ::dup2(opened, fd);
      ::close(opened);
    }
    int saved_[3] = {-1, -1, -1};
  };

  TempFolder folder_;
  SharedSim* sim_ = nullptr;
};

}  // namespace zorv::test
