#pragma once
// The production runner of the link supervisor: a QThread that loops step and a wait for the
// next step, due 10 ms after this one was (CycleSchedule). Jobs go in through Submit from any
// thread; events go out through the sink given, which must never wait.
//
// Destruction sets the terminate request and joins; the link then starts an intact program it
// took into the boot loader (TCOMThread::Shutdown) and closes the port on its own thread.
#include <QThread>
#include <atomic>
#include <cstdint>
#include <memory>

#include "link/Clock.h"
#include "link/HeldStore.h"
#include "link/LinkJobs.h"
#include "link/SerialDevice.h"
#include "link/TCOMThread.h"

namespace zorv {

class LinkThread final : public LinkJobs {
 public:
  static constexpr std::uint32_t kCycleMs = 10;

  // On the serial port of `portNumber`, with the steady clock. `held` may be null.
  LinkThread(LinkEvents& events, int portNumber, HeldStore* held);
  // On a given clock and device (both used by the link thread only while it runs).
  LinkThread(LinkEvents& events, int portNumber, HeldStore* held, Clock& clock,
             SerialDevice& device);
  // On the serial port, taking the controller to be held in its boot loader from the start
  // (see TCOMThread::AssumeHeld).
  struct AssumingHeld {};
  LinkThread(LinkEvents& events, int portNumber, HeldStore* held, AssumingHeld);
  LinkThread(LinkEvents& events, int portNumber, HeldStore* held, Clock& clock,
             SerialDevice& device, AssumingHeld);
  ~LinkThread() override;
  LinkThread(const LinkThread&) = delete;
  LinkThread& operator=(const LinkThread&) = delete;

  bool Submit(LinkJob job) override { return link_.Submit(std::move(job)); }
  LinkState State() const override { return link_.State(); }
  int PortNumber() const { return link_.PortNumber(); }
  // The terminate request: setting it (from any thread, or a signal handler) ends the loop;
  // the destructor joins.
  std::atomic<bool>& StopFlag() { return stop_; }

 private:
  LinkThread(LinkEvents& events, int portNumber, HeldStore* held,
             std::unique_ptr<Clock> ownedClock, std::unique_ptr<SerialDevice> ownedDevice,
             Clock* clock, SerialDevice* device, bool assumeHeld = false);

  void Run();

  std::unique_ptr<Clock> ownedClock_;
  std::unique_ptr<SerialDevice> ownedDevice_;
  Clock& clock_;
  SerialDevice& device_;
  std::atomic<bool> stop_{false};
  TCOMThread link_;
  std::unique_ptr<QThread> thread_;
};

}  // namespace zorv
