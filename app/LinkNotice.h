#pragma once
// The link's events travel to the window as Qt events posted to the application: posting never
// waits, and they arrive on the window's thread in order. The message hook, an event filter on
// the application, hands each one to the window and keeps it from being dispatched further.
#include <QEvent>
#include <QObject>
#include <cstdint>
#include <functional>

#include "link/LinkJobs.h"

namespace zorv {

class LinkNoticeEvent final : public QEvent {
 public:
  static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 1);

  LinkNoticeEvent(LinkEvent event, std::uint64_t source)
      : QEvent(kType), event_(std::move(event)), source_(source) {}

  const LinkEvent& Event() const { return event_; }
  // Which link posted it (0: not told).
  std::uint64_t Source() const { return source_; }

 private:
  LinkEvent event_;
  std::uint64_t source_;
};

// Any thread; never waits. Dropped when the application is gone.
void PostLinkEvent(LinkEvent event, std::uint64_t source);

// The sink a production link posts to: every event tagged with its link.
class PostedLinkEvents final : public LinkEvents {
 public:
  explicit PostedLinkEvents(std::uint64_t source) : source_(source) {}
  void Post(LinkEvent event) override { PostLinkEvent(std::move(event), source_); }

 private:
  std::uint64_t source_;
};

// The message hook: installed on the application, it passes every link event to `handler` and
// marks it handled; every other event passes untouched.
class MessageHook final : public QObject {
 public:
  using Handler = std::function<void(const LinkEvent& event, std::uint64_t source)>;

  explicit MessageHook(Handler handler, QObject* parent = nullptr);
  ~MessageHook() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handler handler_;
};

}  // namespace zorv
