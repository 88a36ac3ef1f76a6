#pragma once
// Link notices travel as events posted to the application; the message hook, an event filter
// on the application, hands each one to the window and keeps it from being dispatched further.
#include <QEvent>
#include <QObject>
#include <cstdint>
#include <functional>

namespace zorv {

class LinkNoticeEvent final : public QEvent {
 public:
  static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 1);

  LinkNoticeEvent(std::uint8_t code, std::uint8_t value, std::uint64_t source)
      : QEvent(kType), code_(code), value_(value), source_(source) {}

  std::uint8_t Code() const { return code_; }
  std::uint8_t Value() const { return value_; }
  // Which link posted it (0: not told).
  std::uint64_t Source() const { return source_; }

 private:
  std::uint8_t code_;
  std::uint8_t value_;
  std::uint64_t source_;
};

// Any thread; never waits. Dropped when the application is gone.
void PostLinkNotice(std::uint8_t code, std::uint8_t value, std::uint64_t source);

// The message hook: installed on the application, it passes every link notice to `handler` and
// marks it handled; every other event passes untouched.
class MessageHook final : public QObject {
 public:
  using Handler = std::function<void(std::uint8_t code, std::uint8_t value, std::uint64_t source)>;

  explicit MessageHook(Handler handler, QObject* parent = nullptr);
  ~MessageHook() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handler handler_;
};

}  // namespace zorv
