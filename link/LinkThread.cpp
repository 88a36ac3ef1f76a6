#include "link/LinkThread.h"

#include <utility>

#include "link/CycleSchedule.h"
#include "link/SystemSerialDevice.h"
#include "link/ThreadPriority.h"

namespace zorv {

LinkThread::LinkThread(LinkEvents& events, int portNumber, HeldStore* held)
    : LinkThread(events, portNumber, held, std::make_unique<SteadyClock>(),
                 std::make_unique<SystemSerialDevice>(), nullptr, nullptr) {}

LinkThread::LinkThread(LinkEvents& events, int portNumber, HeldStore* held, Clock& clock,
                       SerialDevice& device)
    : LinkThread(events, portNumber, held, nullptr, nullptr, &clock, &device) {}

LinkThread::LinkThread(LinkEvents& events, int portNumber, HeldStore* held, AssumingHeld)
    : LinkThread(events, portNumber, held, std::make_unique<SteadyClock>(),
                 std::make_unique<SystemSerialDevice>(), nullptr, nullptr, true) {}

LinkThread::LinkThread(LinkEvents& events, int portNumber, HeldStore* held, Clock& clock,
                       SerialDevice& device, AssumingHeld)
    : LinkThread(events, portNumber, held, nullptr, nullptr, &clock, &device, true) {}

LinkThread::LinkThread(LinkEvents& events, int portNumber, HeldStore* held,
                       std::unique_ptr<Clock> ownedClock,
                       std::unique_ptr<SerialDevice> ownedDevice, Clock* clock,
                       SerialDevice* device, bool assumeHeld)
    : ownedClock_(std::move(ownedClock)),
      ownedDevice_(std::move(ownedDevice)),
      clock_(clock != nullptr ? *clock : *ownedClock_),
      device_(device != nullptr ? *device : *ownedDevice_),
      link_(events, portNumber, clock_, device_, stop_, held),
      thread_(QThread::create([this] { Run(); })) {
  if (assumeHeld) link_.AssumeHeld();
  thread_->start();
}

LinkThread::~LinkThread() {
  stop_.store(true);
  thread_->wait();
}

void LinkThread::Run() {
  // A busy laptop must not make the controller give up on a transfer.
  RaiseThreadPriority();
  CycleSchedule schedule(clock_, kCycleMs);
  schedule.Start();
  while (!stop_.load()) {
    link_.Step();
    schedule.WaitForNext();
  }
  link_.Shutdown();
  // The port belongs to this thread from open to close.
  device_.Close();
}

}  // namespace zorv
