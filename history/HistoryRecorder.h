#pragma once
// Records events on a thread of its own, so the window never waits on the disk or on another
// program's lock. Failures come back as one line for the window, on the window's thread.
#include <QObject>
#include <QPointer>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "history/HistoryEvent.h"

namespace zorv::history {

class HistoryRecorder {
 public:
  // How long a batch waits after another program held the file, before it tries again.
  static constexpr int kRetryMs = 2000;

  // `onLine` runs on `context`'s thread with what the user should read ("" when all is well).
  HistoryRecorder(QString file, QObject* context, std::function<void(const QString&)> onLine);
  // Writes what is queued (unless another program holds the file) and closes.
  ~HistoryRecorder();
  HistoryRecorder(const HistoryRecorder&) = delete;
  HistoryRecorder& operator=(const HistoryRecorder&) = delete;

  void Record(Event event);
  // Waits until every queued event was written or dropped; false on time-out.
  bool Flush(int timeoutMs);
  // False once recording stopped (read-only file, a failure): events are then dropped.
  bool Recording() const;
  // The last line reported, "" when all is well.
  QString Line() const;
  const QString& File() const { return file_; }

 private:
  void Run();
  void Report(const QString& line);

  QString file_;
  QPointer<QObject> context_;
  std::function<void(const QString&)> onLine_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Event> queue_;
  bool busyWriting_ = false;
  bool stop_ = false;
  bool recording_ = true;
  QString line_;
  std::thread thread_;
};

}  // namespace zorv::history
