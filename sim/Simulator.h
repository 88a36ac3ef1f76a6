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
  // Without a device, in a test's own process: bytes that have crossed the wire go to `sink`,
  // and the caller drives time through Start, Receive and Pump (Run is not for this one).
  using Sink = std::function<void(std::uint8_t)>;
  Simulator(Sink sink, PeerContext& context, bool wireTime,
            std::chrono::milliseconds latency = {});

  // The controller is switched on at `now`: its program runs, or its boot loader.
  void Start(bool inBootLoader, TimePoint now);
  // Bytes from the tool that reached the controller's end at `arrived`; they cross the wire first.
  void Receive(const std::uint8_t* bytes, std::size_t count, TimePoint arrived);
  // Handles all that is due by `now`: bytes in, time-outs and announcements, bytes out.
  void Pump(TimePoint now);
  // The latest time of the next Pump: the next byte due, or the next check of time-outs.
  TimePoint NextPump(TimePoint now) const { return now + WaitTime(now); }

  // Gives a new endpoint for an unplugged one, or null when none could be made.
  using Replug = std::function<SerialEndpoint*()>;
  // Loops until a byte arrives on `stopFd` (the signal pipe) or the device fails. A byte on
  // `replugFd` pulls the cable: the endpoint is replaced by `replug`, bytes in flight are lost,
  // and the controller runs on. A byte on `powerFd` switches the controller off and on.
  // Returns false when the device failed.
  bool Run(int stopFd, bool startInBootLoader, int replugFd = -1, const Replug& replug = {},
           int powerFd = -1);
  // The controller is switched off and on at `now`: bytes on the wire are lost, and its boot
  // loader announces itself as at every power-up.
  void PowerCycle(TimePoint now);

 private:
  void Follow(Switch next, TimePoint now);
  void Feed(TimePoint now);
  void Flush(TimePoint now);
  std::chrono::nanoseconds WaitTime(TimePoint now) const;

  SerialEndpoint* endpoint_ = nullptr;
  Sink sink_;
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
