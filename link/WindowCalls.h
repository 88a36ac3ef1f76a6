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

 private:
  std::shared_ptr<WindowCallQueue> queue_;
};

class WindowCalls final : public WindowBridge {
 public:
  // Created and destroyed on the thread of `windowContext`, which must outlive this object.
  // `window` is the window's own bridge; it is only ever called on that thread.
  WindowCalls(WindowBridge& window, QObject* windowContext);
  ~WindowCalls() override;
  WindowCalls(const WindowCalls&) = delete;
  WindowCalls& operator=(const WindowCalls&) = delete;

  // Any thread: the waiting call returns now, queued calls are dropped, no further call runs.
  void Abandon();
  bool Abandoned() const;

  // Link thread.
  void PostNotice(std::uint8_t code, std::uint8_t value) override;
  void RefreshStatus(const StatusSnapshot& status) override;
  void ShowLinkError(const std::string& text) override;
  void ShowLinkInfo(const std::string& text) override;
  // Leaves the buffer as it was when the call was abandoned.
  void LoadBufferFromImage(ImageBytes& buffer) override;
  void StoreBufferToImage(const ImageBytes& buffer) override;
  // "" when abandoned, as if the user had cancelled.
  std::string SelectFirmwareFile() override;

 private:
  // Runs `work` on the window's thread and waits for it; false when abandoned first.
  bool Run(std::function<void(WindowBridge&)> work);

  WindowBridge& window_;
  std::shared_ptr<WindowCallQueue> queue_;
  WindowCallPump* pump_;                // the link thread only posts to it
  QPointer<WindowCallPump> ownedPump_;  // window thread: gone if the context went first
};

}  // namespace zorv
