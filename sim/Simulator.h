#pragma once
// Runs the controller on its serial endpoint: reads and paces bytes, feeds them to the program
// or the boot loader, whichever runs, and sends what they answer.
#include <cstdint>
#include <chrono>
#include <deque>
#include <functional>

#include "sim/BootLoader.h"
#include "sim/ControllerProgram.h"
#include "sim/PeerContext.h"
#include "sim/SerialEndpoint.h"
#include "sim/WirePacer.h"

namespace zorvsim {

class Simulator {
 public:
  Simulator(SerialEndpoint& endpoint, PeerContext& context, bool wireTime,
            std::chrono::milliseconds latency = {});

  // Gives a new endpoint for an unplugged one, or null when none could be made.
  using Replug = std::function<SerialEndpoint*()>;
  // Loops until a byte arrives on `stopFd` (the signal pipe) or the device fails. A byte on
  // `replugFd` pulls the cable: the endpoint is replaced by `replug`, bytes in flight are lost,
  // and the controller runs on. Returns false when the device failed.
  bool Run(int stopFd, bool startInBootLoader, int replugFd = -1, const Replug& replug = {});

 private:
  void Follow(Switch next, TimePoint now);
  void Pump(TimePoint now);
  void Feed(TimePoint now);
  void Flush(TimePoint now);
  std::chrono::nanoseconds WaitTime(TimePoint now) const;

  SerialEndpoint* endpoint_;
  std::chrono::milliseconds latency_;
  PeerContext& ctx_;
  ControllerProgram program_;
  BootLoader bootLoader_;
  bool inBootLoader_ = false;
  WirePacer inPacer_;
  WirePacer outPacer_;
  struct TimedByte {
    std::uint8_t byte;
    TimePoint due;  // when it has crossed the wire
  };
  std::deque<TimedByte> in_;
  std::deque<TimedByte> out_;
  TimePoint now_{};  // time of the event being handled, for the bytes it sends
};

}  // namespace zorvsim
