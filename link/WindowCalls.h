#pragma once
// The link thread's side of the window bridge. Notices go straight to the window's own bridge
// (posting is thread-safe); every synchronised call is queued to the window's thread and the
// link thread waits until it has run there. Abandon() releases a waiting link thread at once:
// a call still queued then never runs, and one already running (a message box) finishes on the
// window's thread on state it shares, so nothing it touches is freed under it.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "link/WindowBridge.h"

namespace zorv {

struct WindowCallQueue;

// Lives on the window's thread; a queued wake-up makes it run the calls that wait there.
class WindowCallPump final : public QObject {
  Q_OBJECT
 public:
  WindowCallPump(std::shared_ptr<WindowCallQueue> queue, QObject* parent);
  Q_INVOKABLE void RunPending();
  Q_INVOKABLE void ShowStatus();

 private:
  std::shared_ptr<WindowCallQueue> queue_;
};

class WindowCalls final : public WindowChannel {
 public:
  // Created and destroyed on the thread of `windowContext`, which must outlive this object.
  // `window` is the window's own bridge; it is only ever called on that thread. Notices carry
  // `noticeSource`.
  WindowCalls(WindowBridge& window, QObject* windowContext, std::uint64_t noticeSource = 0);
  ~WindowCalls() override;
  WindowCalls(const WindowCalls&) = delete;
  WindowCalls& operator=(const WindowCalls&) = delete;

  // Any thread: the waiting call returns now, queued calls are dropped, no further call runs.
  void Abandon();
  bool Abandoned() const;

  // Link thread.
  void Post(std::uint8_t code, std::uint8_t value) override;
  // Runs `work` on the window's thread and waits for it; false when abandoned first.
  bool Call(std::function<void(WindowBridge&)> work) override;
  // Shows the status when the window next runs its events, without waiting: a window busy for
  // a second must not stall a transfer the controller times out. Only the latest snapshot is
  // kept, so a busy window never builds up a queue of them.
  void PostStatus(const StatusSnapshot& status);

 private:
  WindowBridge& window_;
  std::uint64_t noticeSource_;
  std::shared_ptr<WindowCallQueue> queue_;
  WindowCallPump* pump_;                // the link thread only posts to it
  QPointer<WindowCallPump> ownedPump_;  // window thread: gone if the context went first
};

}  // namespace zorv
