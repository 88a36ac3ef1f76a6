#pragma once
// The production runner of the link supervisor: a QThread that loops lock, step, unlock, a
// posted status refresh (the link never waits for it) when more than 250 ms have passed since
// the last one, and a wait for the next step, due 10 ms after this one was (CycleSchedule).
// Created, used and destroyed on the window's thread.
//
// The window never waits for the link's lock. Its requests (a command, clearing the progress)
// go into a small slot of their own that the link thread moves under the lock at the start of
// its next step, and the link state it reads is the one the link thread left at the end of its
// last step. So the window cannot block on the lock while the link thread waits for one of
// the window's synchronised calls, nor while a long step (programming) holds the lock.
//
// Destruction sets the terminate request, releases a link thread that waits for a
// synchronised call (that call is dropped; one already running finishes harmlessly) and joins.
#include <QThread>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "link/Clock.h"
#include "link/FlashImage.h"
#include "link/SerialDevice.h"
#include "link/TCOMThread.h"
#include "link/WindowBridge.h"
#include "link/WindowCalls.h"

class QObject;

namespace zorv {

class LinkThread {
 public:
  static constexpr std::uint32_t kCycleMs = 10;
  static constexpr std::uint32_t kRefreshMs = 250;

  // On the serial port of `portNumber`, with the steady clock. `window` is the window's own
  // bridge and is called on the thread of `windowContext` only.
  LinkThread(WindowBridge& window, QObject* windowContext, int portNumber, FlashImage& flash,
             std::atomic<std::uint8_t>& productCode, std::uint64_t noticeSource = 0);
  // On a given clock and device (both used by the link thread only while it runs).
  LinkThread(WindowBridge& window, QObject* windowContext, int portNumber, FlashImage& flash,
             std::atomic<std::uint8_t>& productCode, Clock& clock, SerialDevice& device);
  ~LinkThread();
  LinkThread(const LinkThread&) = delete;
  LinkThread& operator=(const LinkThread&) = delete;

  // Window thread. Stored for the link's next step when the link takes it in its state (see
  // TCOMThread::Accepts); dropped otherwise, as the link itself would drop it.
  void SetCommand(std::uint8_t command, std::uint8_t argument);
  // The link state at the end of the last step.
  LinkState State() const { return linkState_.load(); }
  // Progress := 0 at the start of the next step.
  void ClearProgress() { clearProgress_.store(true); }
  int PortNumber() const { return portNumber_; }

 private:
  // Uses the given clock and device when not null, otherwise the owned ones.
  LinkThread(WindowBridge& window, QObject* windowContext, int portNumber, FlashImage& flash,
             std::atomic<std::uint8_t>& productCode, std::unique_ptr<Clock> ownedClock,
             std::unique_ptr<SerialDevice> ownedDevice, Clock* clock, SerialDevice* device,
             std::uint64_t noticeSource);

  void Run();
  void TakeWindowRequests();
  void RefreshWhenDue();

  const int portNumber_;
  std::unique_ptr<Clock> ownedClock_;
  std::unique_ptr<SerialDevice> ownedDevice_;
  Clock& clock_;
  SerialDevice& device_;
  std::atomic<bool> stop_{false};
  WindowCalls calls_;
  TCOMThread link_;

  std::atomic<LinkState> linkState_{LinkState::Start};
  std::atomic<bool> clearProgress_{false};
  std::mutex requestLock_;  // never held together with the link's lock by the window
  bool commandWaiting_ = false;
  std::uint8_t command_ = 0;
  std::uint8_t argument_ = 0;

  std::uint32_t lastRefresh_ = 0;  // link thread only
  std::unique_ptr<QThread> thread_;
};

}  // namespace zorv
