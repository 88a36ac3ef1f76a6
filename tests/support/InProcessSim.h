#pragma once
// zorv-sim's controller and boot loader in the test's own process, at the far end of the link's
// serial-device seam and on the link's clock: on a fake clock a 256-byte transfer or a firmware
// page takes no real time, while every time-out and the 9600-baud wire time still hold.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "link/Clock.h"
#include "link/SerialDevice.h"
#include "sim/EventLog.h"
#include "sim/Faults.h"
#include "sim/Memories.h"
#include "sim/PeerContext.h"
#include "sim/SimClock.h"
#include "sim/Simulator.h"

namespace zorv::test {

class InProcessSim final : public SerialDevice {
 public:
  // `arguments` as zorv-sim takes them: --product, --chip, --blank, --image, --no-program,
  // --fast, --latency, --blank-after-flash and the faults. The controller is switched on now.
  explicit InProcessSim(Clock& clock, const std::vector<std::string>& arguments = {});
  ~InProcessSim() override;
  InProcessSim(const InProcessSim&) = delete;
  InProcessSim& operator=(const InProcessSim&) = delete;

  // "" when the arguments were usable; otherwise the simulator does nothing.
  const std::string& Error() const { return error_; }

  // SerialDevice. Bytes the controller sends while the port is closed are lost, as on a wire.
  std::string Open(const std::string& deviceName) override;
  bool IsOpen() const override { return open_; }
  bool Read(std::uint8_t& byte) override;
  bool Write(std::uint8_t byte) override;
  bool WaitReadable(std::uint32_t ms) override;
  void Close() override;

  // Lets `ms` pass on the clock with the controller running.
  void Pass(std::uint32_t ms);

  // The controller's side, to look at and to change.
  zorvsim::Memories& Memories() { return *memories_; }
  zorvsim::Faults& Faults() { return faults_; }
  // The simulator's log, one entry a line (what zorv-sim prints).
  const std::vector<std::string>& Log() const { return log_.lines; }
  // True when a line of the log contains `part`.
  bool Logged(const std::string& part) const;
  // Switches the controller off and on: what was on the wire is lost; its boot loader announces
  // itself, as zorv-sim's does on SIGUSR2.
  void PowerCycle();
  // Switches the controller off, logging its fault counters as zorv-sim does when it stops.
  void Stop();

 private:
  struct RecordingLog final : zorvsim::EventLog {
    void Line(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
  };

  // Runs the simulator up to the clock's present.
  void CatchUp();
  // How long to sleep before the simulator has something to do, within `left` ms.
  std::uint32_t StepMs(std::uint32_t left) const;

  Clock& clock_;
  std::string error_;
  zorvsim::TickTime time_;
  zorvsim::TimePoint simNow_{};
  RecordingLog log_;
  std::unique_ptr<zorvsim::Memories> memories_;
  zorvsim::Faults faults_;
  std::unique_ptr<zorvsim::PeerContext> context_;
  std::unique_ptr<zorvsim::Simulator> simulator_;
  bool open_ = false;
  std::deque<std::uint8_t> received_;  // crossed the wire, waiting to be read
};

}  // namespace zorv::test
