#pragma once
// Runs the built zorv-sim for an end-to-end test: starts it, learns its port from the first
// output line, collects its log lines, and stops it without ever hanging the test.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

namespace zorvtest {

class SimProcess {
 public:
  SimProcess() = default;
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Starts zorv-sim with `arguments` and waits up to `timeoutMs` for its "port: " line.
  // Returns the port path, or an empty string (see Output() for what the simulator said).
#ifdef ZORV_BINARY_DIR  // defined for every test target, not for the support library itself
  QString Start(const QStringList& arguments, int timeoutMs = 10000) {
    return StartProgram(BinaryPath(), arguments, timeoutMs);
  }
  static QString BinaryPath() { return QStringLiteral(ZORV_BINARY_DIR "/sim/zorv-sim"); }
#endif
  QString StartProgram(const QString& program, const QStringList& arguments, int timeoutMs);

  // Waits until a log line containing `substring` has arrived at or after line `fromLine`
  // (0 = the first line ever) and returns it; nullopt after `timeoutMs`.
  std::optional<QString> WaitForLine(const QString& substring, int timeoutMs, int fromLine = 0);

  // Number of lines collected so far; pass it as `fromLine` to wait only for newer lines.
  int LineCount();
  QStringList Lines();
  // Everything collected, one line each, for failure messages.
  QString Output();

  // Waits up to `timeoutMs` for the simulator to end by itself (a refused command line);
  // returns its exit code, or -1 when it is still running or crashed.
  int WaitForExit(int timeoutMs);

  // SIGINT, then up to `timeoutMs` for the exit (the simulator saves its files then), then kill.
  // Returns the exit code, or -1 when it had to be killed or never ran.
  int Stop(int timeoutMs = 10000);

  QString Port() const { return port_; }
  // Sends `signal` to the running simulator (SIGUSR1 pulls its cable and plugs it back).
  bool Signal(int signal);

 private:
  void Collect();

  QProcess process_;
  QStringList lines_;
  QByteArray partial_;
  QString port_;
  bool started_ = false;
};

}  // namespace zorvtest
