#include "link/LinkThread.h"

#include <utility>

#include "link/CycleSchedule.h"
#include "link/SystemSerialDevice.h"

namespace zorv {

LinkThread::LinkThread(WindowBridge& window, QObject* windowContext, int portNumber,
                       FlashImage& flash, std::atomic<std::uint8_t>& productCode,
                       std::uint64_t noticeSource)
    : LinkThread(window, windowContext, portNumber, flash, productCode,
                 std::make_unique<SteadyClock>(), std::make_unique<SystemSerialDevice>(), nullptr,
                 nullptr, noticeSource) {}

LinkThread::LinkThread(WindowBridge& window, QObject* windowContext, int portNumber,
                       FlashImage& flash, std::atomic<std::uint8_t>& productCode, Clock& clock,
                       SerialDevice& device)
    : LinkThread(window, windowContext, portNumber, flash, productCode, nullptr, nullptr, &clock,
                 &device, 0) {}

LinkThread::LinkThread(WindowBridge& window, QObject* windowContext, int portNumber,
                       FlashImage& flash, std::atomic<std::uint8_t>& productCode,
                       std::unique_ptr<Clock> ownedClock,
                       std::unique_ptr<SerialDevice> ownedDevice, Clock* clock,
                       SerialDevice* device, std::uint64_t noticeSource)
    : portNumber_(portNumber),
      ownedClock_(std::move(ownedClock)),
      ownedDevice_(std::move(ownedDevice)),
      clock_(clock != nullptr ? *clock : *ownedClock_),
      device_(device != nullptr ? *device : *ownedDevice_),
      calls_(window, windowContext, noticeSource),
      link_(calls_, portNumber, clock_, device_, flash, productCode, stop_),
      thread_(QThread::create([this] { Run(); })) {
  thread_->start();
}

LinkThread::~LinkThread() {
  stop_.store(true);
  calls_.Abandon();
  thread_->wait();
}

void LinkThread::SetCommand(std::uint8_t command, std::uint8_t argument) {
  // Judged against the state of the last step: a request arriving while the link is busy
  // counts as made before that step began, and is lost like any request outside state 6.
  if (!TCOMThread::Accepts(linkState_.load(), command)) return;
  const std::lock_guard<std::mutex> guard(requestLock_);
  commandWaiting_ = true;
  command_ = command;
  argument_ = argument;
}

void LinkThread::TakeWindowRequests() {
  bool waiting = false;
  std::uint8_t command = 0;
  std::uint8_t argument = 0;
  {
    const std::lock_guard<std::mutex> guard(requestLock_);
    waiting = std::exchange(commandWaiting_, false);
    command = command_;
    argument = argument_;
  }
  // Takes the link's lock itself and stores the request only if the link is still idle.
  if (waiting) link_.SetCommand(command, argument);
}

void LinkThread::Run() {
  CycleSchedule schedule(clock_, kCycleMs);
  schedule.Start();
  while (!stop_.load()) {
    TakeWindowRequests();
    {
      const std::lock_guard<std::mutex> guard(link_.Lock());
      if (clearProgress_.exchange(false)) link_.ClearProgress();
      link_.Step();
      linkState_.store(link_.State());
    }
    RefreshWhenDue();
    schedule.WaitForNext();
  }
  link_.Shutdown();
  // The port belongs to this thread from open to close.
  device_.Close();
}

void LinkThread::RefreshWhenDue() {
  if (stop_.load() || clock_.Since(lastRefresh_) <= kRefreshMs) return;
  StatusSnapshot snapshot;
  {
    const std::lock_guard<std::mutex> guard(link_.Lock());
    snapshot = link_.Snapshot();
  }
  calls_.PostStatus(snapshot);
  lastRefresh_ = clock_.Ticks();
}

}  // namespace zorv
