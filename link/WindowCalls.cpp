#include "link/WindowCalls.h"

#include <QMetaObject>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

namespace zorv {

struct WindowCall {
  enum class State { Queued, Running, Done, Cancelled };
  std::function<void(WindowBridge&)> work;
  State state = State::Queued;
};

// Shared by the link thread, the window's thread and any call still running there, so it
// outlives whichever of them ends last.
struct WindowCallQueue {
  explicit WindowCallQueue(WindowBridge& bridge) : window(bridge) {}

  WindowBridge& window;
  std::mutex mutex;
  std::condition_variable changed;
  bool abandoned = false;
  std::deque<std::shared_ptr<WindowCall>> pending;
  std::optional<StatusSnapshot> status;  // the latest posted status, not yet shown
  int running = 0;  // calls running on the window's thread now (nested through event loops)
};

WindowCallPump::WindowCallPump(std::shared_ptr<WindowCallQueue> queue, QObject* parent)
    : QObject(parent), queue_(std::move(queue)) {}

void WindowCallPump::RunPending() {
  // A call may destroy this pump (the window replaces the link from inside a message box), so
  // from here on only the shared queue is touched.
  const std::shared_ptr<WindowCallQueue> queue = queue_;
  while (true) {
    std::shared_ptr<WindowCall> call;
    {
      const std::lock_guard<std::mutex> guard(queue->mutex);
      if (queue->pending.empty()) return;
      call = std::move(queue->pending.front());
      queue->pending.pop_front();
      if (call->state != WindowCall::State::Queued) continue;
      call->state = WindowCall::State::Running;
      ++queue->running;
    }
    struct Finish {
      WindowCallQueue& queue;
      WindowCall& call;
      ~Finish() {
        {
          const std::lock_guard<std::mutex> guard(queue.mutex);
          call.state = WindowCall::State::Done;
          --queue.running;
        }
        queue.changed.notify_all();
      }
    } finish{*queue, *call};
    call->work(queue->window);
  }
}

void WindowCallPump::ShowStatus() {
  const std::shared_ptr<WindowCallQueue> queue = queue_;
  std::optional<StatusSnapshot> status;
  {
    const std::lock_guard<std::mutex> guard(queue->mutex);
    if (queue->abandoned) return;
    status.swap(queue->status);
  }
  if (status) queue->window.RefreshStatus(*status);
}

WindowCalls::WindowCalls(WindowBridge& window, QObject* windowContext, std::uint64_t noticeSource)
    : window_(window),
      noticeSource_(noticeSource),
      queue_(std::make_shared<WindowCallQueue>(window)),
      pump_(new WindowCallPump(queue_, windowContext)),
      ownedPump_(pump_) {}

WindowCalls::~WindowCalls() {
  Abandon();
  if (ownedPump_ == nullptr) return;
  int running = 0;
  {
    const std::lock_guard<std::mutex> guard(queue_->mutex);
    running = queue_->running;
  }
  // Inside one of its own calls the pump is still on the stack: delete it once that returns.
  if (running > 0) {
    ownedPump_->deleteLater();
  } else {
    delete ownedPump_.data();
  }
}

void WindowCalls::Abandon() {
  {
    const std::lock_guard<std::mutex> guard(queue_->mutex);
    queue_->abandoned = true;
    for (const auto& call : queue_->pending) call->state = WindowCall::State::Cancelled;
    queue_->pending.clear();
  }
  queue_->changed.notify_all();
}

bool WindowCalls::Abandoned() const {
  const std::lock_guard<std::mutex> guard(queue_->mutex);
  return queue_->abandoned;
}

bool WindowCalls::Call(std::function<void(WindowBridge&)> work) {
  // Only this local share is used after the wake-up is posted: the window may destroy this
  // object while the link thread still waits here.
  const std::shared_ptr<WindowCallQueue> queue = queue_;
  auto call = std::make_shared<WindowCall>();
  call->work = std::move(work);
  {
    const std::lock_guard<std::mutex> guard(queue->mutex);
    if (queue->abandoned) return false;
    queue->pending.push_back(call);
    QMetaObject::invokeMethod(pump_, "RunPending", Qt::QueuedConnection);
  }
  std::unique_lock<std::mutex> lock(queue->mutex);
  queue->changed.wait(lock, [&] {
    return call->state == WindowCall::State::Done || queue->abandoned;
  });
  return call->state == WindowCall::State::Done;
}

void WindowCalls::PostStatus(const StatusSnapshot& status) {
  const std::lock_guard<std::mutex> guard(queue_->mutex);
  if (queue_->abandoned) return;
  const bool waking = !queue_->status.has_value();
  queue_->status = status;
  if (waking) QMetaObject::invokeMethod(pump_, "ShowStatus", Qt::QueuedConnection);
}

void WindowCalls::Post(std::uint8_t code, std::uint8_t value) {
  window_.PostNotice(code, value, noticeSource_);
}

}  // namespace zorv
