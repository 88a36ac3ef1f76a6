#include "history/HistoryRecorder.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <chrono>
#include <limits>

#include "history/HistoryStore.h"

namespace zorv::history {
namespace {

QString HeldLine(std::size_t waiting) {
  return "History file in use by another program: " + QString::number(waiting) +
         " event(s) waiting";
}

void RemoveStoreFiles(const QString& file) {
  for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(file + suffix);
}

}  // namespace

HistoryRecorder::HistoryRecorder(QString file, QObject* context,
                                 std::function<void(const QString&)> onLine,
                                 RegisterAddress shared, int registerRetryMs)
    : file_(std::move(file)),
      shared_(std::move(shared)),
      registerRetryMs_(registerRetryMs),
      line_(std::make_shared<RecorderLine>(context, std::move(onLine))) {
#ifdef _WIN32
  // Qt finds its SQL drivers by matching file names with a regular expression, and under
  // MinGW a thread that has used one crashes as it ends (the thread's storage is freed before
  // Qt's per-thread cleanup runs). So the drivers are looked up here, on the caller's thread,
  // never first on the recorder's.
  QSqlDatabase::drivers();
#endif
  thread_ = std::thread([this] { Run(); });
}

HistoryRecorder::~HistoryRecorder() { Finish(0); }

void HistoryRecorder::Record(Event event) {
  {
    std::lock_guard lock(mutex_);
    if (!recording_ || stop_) return;
    queue_.push_back(std::move(event));
  }
  wake_.notify_all();
}

bool HistoryRecorder::Flush(int timeoutMs) {
  std::unique_lock lock(mutex_);
  return idle_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [this] { return queue_.empty() && !busyWriting_; });
}

QString HistoryRecorder::Finish(int waitMs) {
  if (!thread_.joinable()) return {};
  Flush(waitMs);
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
  if (sender_) sender_->Stop(kRegisterExitWaitMs);
  sender_.reset();
  std::lock_guard lock(mutex_);
  return exitLine_.isEmpty() ? line_->Line() : exitLine_;
}

bool HistoryRecorder::Recording() const {
  std::lock_guard lock(mutex_);
  return recording_;
}

void HistoryRecorder::StopRecording(const QString& line) {
  // Said before anyone waiting learns that recording stopped.
  line_->Report(line);
  {
    std::lock_guard lock(mutex_);
    recording_ = false;
    queue_.clear();
  }
  idle_.notify_all();
}

void HistoryRecorder::TakeJournal(HistoryStore& store, bool sharing) {
  const QString journal = JournalOf(file_);
  if (!QFileInfo::exists(journal)) return;
  std::vector<Event> kept;
  {
    HistoryStore source(journal);
    if (source.OpenForReading().mode == StoreMode::Closed) return;
    kept = source.Unsent(std::numeric_limits<int>::max());
  }
  // Only once they are in the file does the journal go.
  if (store.InsertAll(kept, sharing, true).ok()) RemoveStoreFiles(journal);
}

QString HistoryRecorder::KeepInJournal() {
  std::vector<Event> left(queue_.begin(), queue_.end());
  const QString journal = JournalOf(file_);
  HistoryStore store(journal);
  const bool kept = store.OpenForWriting().mode == StoreMode::ReadWrite &&
                    store.InsertAll(left, true, true).ok();
  queue_.clear();
  if (!kept) {
    return "History file in use by another program: " + QString::number(left.size()) +
           " event(s) could not be kept and are lost";
  }
  return "History file in use by another program: " + QString::number(left.size()) +
         " event(s) kept in " + QFileInfo(journal).fileName() + ", written at the next start";
}

void HistoryRecorder::Run() {
  HistoryStore store(file_);
  OpenResult opened = store.OpenForWriting();
  // Held by another program from the start: the events wait in memory until it lets go.
  while (opened.mode == StoreMode::Closed && opened.fault == Fault::Busy) {
    std::unique_lock lock(mutex_);
    line_->Report(HeldLine(queue_.size()));
    if (stop_) {
      exitLine_ = queue_.empty() ? QString() : KeepInJournal();
      idle_.notify_all();
      return;
    }
    wake_.wait_for(lock, std::chrono::milliseconds(kRetryMs), [this] { return stop_; });
    lock.unlock();
    opened = store.OpenForWriting();
  }
  if (opened.mode != StoreMode::ReadWrite) {
    StopRecording(opened.mode == StoreMode::ReadOnly
                      ? opened.line
                      : "History off until the next start: " + opened.line);
    return;
  }
  line_->Report(opened.line);

  const bool sharing = shared_.IsSet();
  TakeJournal(store, sharing);
  if (sharing) sender_ = std::make_unique<RegisterSender>(file_, shared_, registerRetryMs_, line_);
  // SQLite's check reads the whole file: once, when there is nothing to write.
  bool checkDue = true;

  std::unique_lock lock(mutex_);
  for (;;) {
    if (checkDue && queue_.empty() && !stop_) {
      checkDue = false;
      lock.unlock();
      if (store.FindsDamage()) {
        const OpenResult fresh = store.Recover();
        if (fresh.mode != StoreMode::ReadWrite) {
          StopRecording("History off until the next start: " + fresh.line);
          return;
        }
        line_->Report(fresh.line);
      }
      lock.lock();
      continue;
    }
    wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    if (queue_.empty()) break;  // stopping, nothing left
    Event next = queue_.front();
    busyWriting_ = true;
    lock.unlock();
    WriteResult written = store.Insert(next, sharing);
    if (written.fault == Fault::Damaged) {
      // Damage found by a write: the file goes aside with what can be read, and the event is
      // written into the new one.
      const OpenResult fresh = store.Recover();
      if (fresh.mode == StoreMode::ReadWrite) {
        line_->Report(fresh.line);
        written = store.Insert(next, sharing);
      }
    }
    lock.lock();
    busyWriting_ = false;
    if (written.ok()) {
      queue_.pop_front();
      if (sender_) sender_->Wake();
      lock.unlock();
      line_->Clear("History file in use");
      lock.lock();
    } else if (written.fault == Fault::Busy) {
      if (stop_) {
        exitLine_ = KeepInJournal();
      } else {
        const QString line = HeldLine(queue_.size());
        lock.unlock();
        line_->Report(line);
        lock.lock();
        wake_.wait_for(lock, std::chrono::milliseconds(kRetryMs), [this] { return stop_; });
      }
    } else {
      lock.unlock();
      StopRecording("History off until the next start: " + written.error);
      lock.lock();
    }
    if (queue_.empty()) idle_.notify_all();
  }
  idle_.notify_all();
}

}  // namespace zorv::history
