#pragma once
// Records events on a thread of its own, so the window never waits on the disk or on another
// program's lock. Failures come back as one line for the window, on the window's thread.
// With a shared register, every event is recorded here first and marked as waiting; a sender of
// its own (RegisterSender) takes what waits to the register, so neither an unreachable register
// nor its time-out ever holds a local write.
// Nothing said to wait is dropped: while another program holds the file the events wait in
// memory; at the end they are kept in a journal beside the file (FILE-waiting) that the next
// start writes in.
#include <QObject>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "history/HistoryEvent.h"
#include "history/RecorderLine.h"
#include "history/RegisterAddress.h"
#include "history/RegisterSender.h"

namespace zorv::history {

class HistoryStore;

class HistoryRecorder {
 public:
  // How long a batch waits after another program held the file, before it tries again.
  static constexpr int kRetryMs = 2000;
  // How often events waiting for an unreachable register are tried again.
  static constexpr int kRegisterRetryMs = 30000;
  // How long the end of a run waits for the register at most.
  static constexpr int kRegisterExitWaitMs = 1000;

  // `onLine` runs on `context`'s thread with what the user should read ("" when all is well).
  // `shared` names the register; an empty host keeps the history in `file` only.
  HistoryRecorder(QString file, QObject* context, std::function<void(const QString&)> onLine,
                  RegisterAddress shared = {}, int registerRetryMs = kRegisterRetryMs);
  // Finish(0): writes what is queued, or keeps it in the journal.
  ~HistoryRecorder();
  HistoryRecorder(const HistoryRecorder&) = delete;
  HistoryRecorder& operator=(const HistoryRecorder&) = delete;

  void Record(Event event);
  // Waits until every queued event was written; false on time-out.
  bool Flush(int timeoutMs);
  // Ends recording: waits up to `waitMs` for what is queued, keeps what is left in the journal,
  // and waits for the register at most kRegisterExitWaitMs. Returns what the user should read
  // on the way out ("" when all is well).
  QString Finish(int waitMs);
  // False once recording stopped (read-only file, a failure): events are then refused.
  bool Recording() const;
  // The last line reported, "" when all is well.
  QString Line() const { return line_->Line(); }
  const QString& File() const { return file_; }
  const RegisterAddress& Register() const { return shared_; }
  // Events recorded here and not yet committed by the register (-1 before it was looked at).
  long long Waiting() const { return line_->Waiting(); }
  // The journal beside `file` that holds events kept at an exit while the file was held.
  static QString JournalOf(const QString& file) { return file + "-waiting"; }

 private:
  void Run();
  // Writes the events a held file left in the journal into `store`; removes the journal.
  void TakeJournal(HistoryStore& store, bool sharing);
  // Keeps the queue in the journal; the line for the exit.
  QString KeepInJournal();
  void StopRecording(const QString& line);

  QString file_;
  RegisterAddress shared_;
  int registerRetryMs_;
  std::shared_ptr<RecorderLine> line_;

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Event> queue_;
  bool busyWriting_ = false;
  bool stop_ = false;
  bool recording_ = true;
  QString exitLine_;
  std::unique_ptr<RegisterSender> sender_;
  std::thread thread_;
};

}  // namespace zorv::history
