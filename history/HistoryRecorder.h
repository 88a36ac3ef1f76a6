#pragma once
// Records events on a thread of its own, so the window never waits on the disk or on another
// program's lock. Failures come back as one line for the window, on the window's thread.
// With a shared register, every event is recorded here first and marked as waiting; this thread
// sends what waits (after each event, and every kRegisterRetryMs while some wait), so neither an
// unreachable register nor its time-out ever holds the window.
#include <QObject>
#include <QPointer>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "history/HistoryEvent.h"
#include "history/RegisterAddress.h"

namespace zorv::history {

inline constexpr const char* kRegisterUnreachable =
    "History register unreachable: recording on this laptop";

class HistoryRecorder {
 public:
  // How long a batch waits after another program held the file, before it tries again.
  static constexpr int kRetryMs = 2000;
  // How often events waiting for an unreachable register are tried again.
  static constexpr int kRegisterRetryMs = 30000;
  // Events sent to the register in one transaction.
  static constexpr int kSendBatch = 500;

  // `onLine` runs on `context`'s thread with what the user should read ("" when all is well).
  // `shared` names the register; an empty host keeps the history in `file` only.
  HistoryRecorder(QString file, QObject* context, std::function<void(const QString&)> onLine,
                  RegisterAddress shared = {}, int registerRetryMs = kRegisterRetryMs);
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
  const RegisterAddress& Register() const { return shared_; }
  // Events recorded here and not yet committed by the register (-1 before the file is open).
  long long Waiting() const;

 private:
  void Run();
  void Report(const QString& line);
  // Sends what waits, in batches; false when the register could not take it.
  bool SendWaiting(class HistoryStore& store, class RegisterStore& shared);

  QString file_;
  RegisterAddress shared_;
  int registerRetryMs_;
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
  long long waiting_ = -1;
  std::thread thread_;
};

}  // namespace zorv::history
