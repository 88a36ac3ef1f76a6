#pragma once
// A private world for one zorvtrim-cli run as a process: its settings folder (the alias COM200
// to a simulator), its history and its files, and the run itself with exit status and output.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <gtest/gtest.h>

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
  TempFolder folder_;
};

inline QByteArray ReadAll(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace zorv::test
