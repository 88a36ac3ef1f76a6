#pragma once
// The tool's end of a simulator, whichever way it runs: zorv-sim as a process on a
// pseudo-terminal in real time, or its core in the test's own process on a fake clock.
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "PtyClient.h"
#include "tests/support/FakeClock.h"
#include "tests/support/InProcessSim.h"
#include "tests/support/SimProcess.h"

namespace zorvtest {

class SimEnd {
 public:
  virtual ~SimEnd() = default;
  virtual void Write(const Bytes& bytes) = 0;
  // Up to `count` bytes, whatever arrived within `timeoutMs`.
  virtual Bytes Read(std::size_t count, int timeoutMs) = 0;
  // Reads until nothing arrives for `quietMs` (at most `limitMs` in all).
  virtual Bytes Drain(int quietMs, int limitMs = 3000) = 0;
  // The first log line containing `text` at or after line `fromLine`, within `timeoutMs`.
  virtual std::optional<std::string> WaitForLine(const std::string& text, int timeoutMs,
                                                 int fromLine = 0) = 0;
  virtual int LineCount() = 0;
  // The log so far, for failure messages.
  virtual std::string Output() = 0;
  // Ends the simulator as SIGINT does: afterwards its fault counters are in the log.
  virtual void Stop() = 0;
};

// zorv-sim as a process; `sim` and `port` stay reachable for what only a process has.
class PtyEnd final : public SimEnd {
 public:
  // Empty when it started; else what went wrong.
  std::string Start(const QStringList& arguments);
  void Write(const Bytes& bytes) override { port.Write(bytes); }
  Bytes Read(std::size_t count, int timeoutMs) override { return port.Read(count, timeoutMs); }
  Bytes Drain(int quietMs, int limitMs) override { return port.Drain(quietMs, limitMs); }
  std::optional<std::string> WaitForLine(const std::string& text, int timeoutMs,
                                         int fromLine) override;
  int LineCount() override { return sim.LineCount(); }
  std::string Output() override { return sim.Output().toStdString(); }
  void Stop() override { sim.Stop(); }

  SimProcess sim;
  PtyClient port;
};

// The simulator's core in this process, on a fake clock: waits take no real time.
class CoreEnd final : public SimEnd {
 public:
  explicit CoreEnd(const QStringList& arguments);
  std::string Error() const { return device.Error(); }
  void Write(const Bytes& bytes) override;
  Bytes Read(std::size_t count, int timeoutMs) override;
  Bytes Drain(int quietMs, int limitMs) override;
  std::optional<std::string> WaitForLine(const std::string& text, int timeoutMs,
                                         int fromLine) override;
  int LineCount() override { return static_cast<int>(device.Log().size()); }
  std::string Output() override;
  void Stop() override;

  zorv::test::FakeClock clock{100000};
  zorv::test::InProcessSim device;

 private:
  std::optional<std::string> LoggedFrom(const std::string& text, int fromLine) const;
};

}  // namespace zorvtest
