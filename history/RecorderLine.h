#pragma once
// The one line the recorder and its register sender tell the user, handed to the window's thread.
// Shared by both threads; a sender left to end on its own after exit reports nothing more.
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <mutex>

namespace zorv::history {

class RecorderLine {
 public:
  RecorderLine(QObject* context, std::function<void(const QString&)> onLine)
      : context_(context), onLine_(std::move(onLine)) {}

  void Report(const QString& line) {
    std::lock_guard lock(mutex_);
    if (line == line_ || closed_) return;
    line_ = line;
    if (!context_ || !onLine_) return;
    QMetaObject::invokeMethod(
        context_.data(), [callback = onLine_, line] { callback(line); }, Qt::QueuedConnection);
  }
  // Clears the line only while it still says something that starts with `prefix` and ends with
  // `suffix`.
  void Clear(const QString& prefix, const QString& suffix = {}) {
    const QString line = Line();
    if (line.startsWith(prefix) && line.endsWith(suffix)) Report({});
  }
  QString Line() const {
    std::lock_guard lock(mutex_);
    return line_;
  }
  void Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  void SetWaiting(long long waiting) {
    std::lock_guard lock(mutex_);
    waiting_ = waiting;
  }
  long long Waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_;
  }

 private:
  mutable std::mutex mutex_;
  QPointer<QObject> context_;
  std::function<void(const QString&)> onLine_;
  QString line_;
  bool closed_ = false;
  long long waiting_ = -1;
};

}  // namespace zorv::history
