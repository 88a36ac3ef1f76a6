#include "history/HistoryRecorder.h"

#include <QMetaObject>
#include <chrono>

#include "history/HistoryStore.h"
#include "history/RegisterStore.h"

namespace zorv::history {

HistoryRecorder::HistoryRecorder(QString file, QObject* context,
                                 std::function<void(const QString&)> onLine,
                                 RegisterAddress shared, int registerRetryMs)
    : file_(std::move(file)),
      shared_(std::move(shared)),
      registerRetryMs_(registerRetryMs),
      context_(context),
      onLine_(std::move(onLine)) {
  thread_ = std::thread([this] { Run(); });
}

HistoryRecorder::~HistoryRecorder() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void HistoryRecorder::Record(Event event) {
  {
    std::lock_guard lock(mutex_);
    if (!recording_) return;
    queue_.push_back(std::move(event));
  }
  wake_.notify_all();
}

bool HistoryRecorder::Flush(int timeoutMs) {
  std::unique_lock lock(mutex_);
  return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [this] { return queue_.empty() && !busyWriting_; });
}

bool HistoryRecorder::Recording() const {
  std::lock_guard lock(mutex_);
  return recording_;
}

long long HistoryRecorder::Waiting() const {
  std::lock_guard lock(mutex_);
  return waiting_;
}

QString HistoryRecorder::Line() const {
  std::lock_guard lock(mutex_);
  return line_;
}

void HistoryRecorder::Report(const QString& line) {
  {
    std::lock_guard lock(mutex_);
    if (line == line_) return;
    line_ = line;
  }
  if (!context_ || !onLine_) return;
  QMetaObject::invokeMethod(
      context_.data(), [callback = onLine_, line] { callback(line); }, Qt::QueuedConnection);
}

bool HistoryRecorder::SendWaiting(HistoryStore& store, RegisterStore& shared) {
  QString error;
  bool reached = shared.IsOpen() || shared.Open(error);
  for (;;) {
    const long long waiting = store.UnsentCount();
    {
      std::lock_guard lock(mutex_);
      waiting_ = waiting;
    }
    if (!reached || waiting <= 0) break;
    const std::vector<Event> batch = store.Unsent(kSendBatch);
    if (!shared.Send(batch, error)) {
      // A connection the server dropped (a restart) is made anew once before giving up.
      reached = shared.Open(error);
      if (reached && !shared.Send(batch, error)) {
        shared.Close();
        Report("History register refused the events (" + error + "): recording on this laptop");
        return false;
      }
      continue;
    }
    std::vector<QString> ids;
    ids.reserve(batch.size());
    for (const Event& event : batch) ids.push_back(event.id);
    // Only now that the register committed them; if this fails they are sent again, and the
    // register ignores ids it holds.
    if (!store.MarkSent(ids).ok()) break;
  }
  if (!reached) {
    Report(kRegisterUnreachable);
    return false;
  }
  if (Line().startsWith("History register")) Report({});
  return true;
}

void HistoryRecorder::Run() {
  HistoryStore store(file_);
  const OpenResult opened = store.OpenForWriting();
  if (opened.mode != StoreMode::ReadWrite) {
    {
      std::lock_guard lock(mutex_);
      recording_ = false;
      queue_.clear();
    }
    idle_.notify_all();
    if (opened.mode == StoreMode::ReadOnly) {
      Report(opened.line);
    } else if (opened.fault == Fault::Busy) {
      // Another program holds the file: it is left as it is, untouched.
      Report("History off until the next start: the history file is in use by another program");
    } else {
      Report("History off until the next start: " + opened.line);
    }
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stop_; });
    return;
  }
  Report(opened.line);

  const bool sharing = shared_.IsSet();
  RegisterStore shared(shared_);
  // What waits from an earlier run goes first.
  bool sendDue = sharing;
  bool allSent = !sharing;
  if (sharing) {
    const long long waiting = store.UnsentCount();
    std::lock_guard lock(mutex_);
    waiting_ = waiting;
  }

  std::unique_lock lock(mutex_);
  for (;;) {
    if (sendDue && queue_.empty() && !stop_) {
      lock.unlock();
      allSent = SendWaiting(store, shared);
      lock.lock();
      sendDue = false;
    }
    if (allSent) {
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    } else if (!wake_.wait_for(lock, std::chrono::milliseconds(registerRetryMs_),
                               [this] { return stop_ || !queue_.empty(); })) {
      sendDue = true;
      continue;
    }
    if (queue_.empty()) break;  // stopping, nothing left
    Event next = queue_.front();
    busyWriting_ = true;
    lock.unlock();
    const WriteResult written = store.Insert(next, sharing);
    lock.lock();
    busyWriting_ = false;
    if (written.ok()) {
      queue_.pop_front();
      if (sharing) {
        sendDue = true;
        ++waiting_;
      }
      if (line_.startsWith("History file in use")) {
        lock.unlock();
        Report({});
        lock.lock();
      }
    } else if (written.fault == Fault::Busy) {
      // Kept in the queue and tried again; on the way out it is given up.
      const QString line = "History file in use by another program: " +
                           QString::number(queue_.size()) + " event(s) waiting";
      if (stop_) {
        queue_.clear();
      } else {
        lock.unlock();
        Report(line);
        lock.lock();
        wake_.wait_for(lock, std::chrono::milliseconds(kRetryMs), [this] { return stop_; });
      }
    } else {
      recording_ = false;
      queue_.clear();
      lock.unlock();
      Report("History off until the next start: " + written.error);
      lock.lock();
    }
    if (queue_.empty()) idle_.notify_all();
  }
  idle_.notify_all();
}

}  // namespace zorv::history
