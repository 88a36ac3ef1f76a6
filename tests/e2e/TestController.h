#pragma once
// The controller of an end-to-end case: zorv-sim on a pseudo-terminal, or its core in the test's
// own process with the real link thread on it through the serial-device seam. In process, link
// time moves only when the link sleeps, so a loaded machine slows a case down but never makes a
// time-out fire; the window's own timers stay in real time. The simulator outlives the links the
// window makes and replaces (Reset), as a controller outlives a cable.
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "image/SwitchFile.h"
#include "link/HeldStore.h"
#include "link/LinkThread.h"
#include "tests/support/InProcessSim.h"
#include "tests/support/SimProcess.h"

namespace zorv::test {

// Time as far as the link has slept, never ahead of the wall clock's pace times `speed`: each
// sleep also gives up its share of real time (at least 10 ms of link time's share, at most a
// millisecond, so an idle link does not spin). Load only slows this time down, so it never
// makes a time-out fire.
class PacedClock final : public Clock {
 public:
  explicit PacedClock(std::uint32_t speed) : speed_(speed) {}
  std::uint32_t Ticks() override { return now_.load(); }
  void Sleep(std::uint32_t ms) override {
    now_ += ms;
    if (ms == 0) return;
    const std::uint32_t floorUs = std::min(1000u, 10'000u / speed_);
    std::this_thread::sleep_for(std::chrono::microseconds(std::max(floorUs, ms * 1000 / speed_)));
  }

 private:
  const std::uint32_t speed_;
  std::atomic<std::uint32_t> now_{1'000'000};
};

// The simulator behind a lock: the link thread uses it as its serial device while the test
// looks at it (its log, its memories) from the window's thread.
class SharedSim final : public SerialDevice {
  // Defined first: the members below deduce their types from it.
  template <typename F>
  auto Locked(F f) const {
    std::lock_guard lock(mutex_);
    return f();
  }

 public:
  // `speed`: how many times faster than the wall clock the link's time may run.
  SharedSim(const QStringList& arguments, std::uint32_t speed)
      : clock_(speed), sim_(clock_, Strings(arguments)) {}

  std::string Open(const std::string& name) override { return Locked([&] { return sim_.Open(name); }); }
  bool IsOpen() const override {
    std::lock_guard lock(mutex_);
    return sim_.IsOpen();
  }
  bool Read(std::uint8_t& byte) override { return Locked([&] { return sim_.Read(byte); }); }
  bool Write(std::uint8_t byte) override { return Locked([&] { return sim_.Write(byte); }); }
  bool WaitReadable(std::uint32_t ms) override { return Locked([&] { return sim_.WaitReadable(ms); }); }
  void Close() override {
    Locked([&] {
      sim_.Close();
      return 0;
    });
  }

  // `look` runs with the simulator to itself.
  template <typename F>
  auto With(F look) {
    return Locked([&] { return look(sim_); });
  }
  const std::string& Error() const { return sim_.Error(); }
  // The simulator's log lines from `from` on.
  QStringList Lines(int from = 0) {
    return With([&](InProcessSim& sim) {
      QStringList lines;
      for (std::size_t i = static_cast<std::size_t>(from); i < sim.Log().size(); ++i) {
        lines << QString::fromStdString(sim.Log()[i]);
      }
      return lines;
    });
  }
  int LineCount() { return With([](InProcessSim& sim) { return static_cast<int>(sim.Log().size()); }); }

  PacedClock& LinkClock() { return clock_; }

 private:
  static std::vector<std::string> Strings(const QStringList& arguments) {
    std::vector<std::string> out;
    for (const QString& a : arguments) out.push_back(a.toStdString());
    return out;
  }

  mutable std::mutex mutex_;
  PacedClock clock_;
  mutable InProcessSim sim_;
};

// Where an end-to-end case's controller runs. In process the link's time runs forty times faster
// than the wall clock when it can (the link moves a byte a 10 ms step, so a download is 2.6 s of
// its time); `InProcessRealTime` keeps it at the wall clock's pace, for a case that watches the
// link's own times (a failure's 5 s in the status) in real time.
enum class Where { InProcess, InProcessRealTime, RealPort };

// The controller of an end-to-end case, wherever it runs: its log and, once the links are
// gone, what its flash and settings memory hold.
class TestController {
 public:
  // Starts it and returns the path for the port's alias ("" when it did not start: Output()
  // says why). On a real port the program saves its memories in `folder`; in process the path
  // is only a name the link passes to the simulator, of a node that exists like a port.
  // `speed` caps how many times faster than the wall clock the link's time runs in process.
  QString Start(QStringList arguments, Where where, const std::string& folder,
                std::uint32_t speed = 40) {
    if (where != Where::RealPort) {
      inProcess_ = std::make_unique<SharedSim>(arguments, where == Where::InProcess ? speed : 1);
      error_ = QString::fromStdString(inProcess_->Error());
      return error_.isEmpty() ? QStringLiteral("/dev/null") : QString();
    }
    flashFile_ = folder + "/flash.bin";
    memoryFile_ = folder + "/memory.joy";
    arguments << "--save-flash" << QString::fromStdString(flashFile_) << "--save-image"
              << QString::fromStdString(memoryFile_);
    return process.Start(arguments);
  }

  // The in-process simulator, for the links; null on a real port.
  SharedSim* InProcess() { return inProcess_.get(); }

  QStringList Lines(int from = 0) { return inProcess_ ? inProcess_->Lines(from) : process.Lines().mid(from); }
  int LineCount() { return inProcess_ ? inProcess_->LineCount() : process.LineCount(); }
  std::string Output() { return (error_ + "\n" + Lines().join('\n')).toStdString(); }
  // The first line from `from` on that contains `text`.
  std::optional<QString> Line(const QString& text, int from = 0) {
    for (const QString& line : Lines(from)) {
      if (line.contains(text)) return line;
    }
    return std::nullopt;
  }
  // Lines from `from` on that contain `text`.
  int Count(const QString& text, int from = 0) {
    int n = 0;
    for (const QString& line : Lines(from)) n += line.contains(text) ? 1 : 0;
    return n;
  }

  // Switched off (after the links that use it): its flash and its settings memory.
  std::vector<std::uint8_t> Flash() {
    if (inProcess_) return inProcess_->With([](InProcessSim& s) { return s.Memories().flash; });
    Stop();
    std::ifstream in(flashFile_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  SettingsImage Memory() {
    if (inProcess_) return inProcess_->With([](InProcessSim& s) { return s.Memories().settings; });
    Stop();
    SettingsImage memory;
    if (!ReadSwitchFile(memoryFile_, memory)) ADD_FAILURE() << memoryFile_ << " not saved";
    return memory;
  }

  zorvtest::SimProcess process;

 private:
  void Stop() {
    if (!stopped_ && process.Stop() != 0) ADD_FAILURE() << "zorv-sim: " << Output();
    stopped_ = true;
  }

  std::unique_ptr<SharedSim> inProcess_;
  QString error_;
  std::string flashFile_;
  std::string memoryFile_;
  bool stopped_ = false;
};

}  // namespace zorv::test
