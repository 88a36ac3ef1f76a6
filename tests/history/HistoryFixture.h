#pragma once
// What the store's fault and recovery tests share: a sample event, one event recorded, the count
// of a file's events, and another program holding a history file (the sqlite3 shell inside a
// transaction that keeps writers out, `BEGIN EXCLUSIVE` or `BEGIN IMMEDIATE`, until released; on
// Windows a connection of the test's own).
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#ifdef _WIN32
#include <QSqlDatabase>
#include <QSqlQuery>
#endif

#include "history/HistoryEvent.h"
#include "history/HistoryRecorder.h"
#include "history/HistoryStore.h"

namespace zorv::test {

// A downloaded image that differs for each seed, on truck "Unit <seed>".
inline history::Event Sample(int seed) {
  ImageBytes image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(seed + i * 7);
  history::Event event = history::NewEvent(history::EventKind::Downloaded, image);
  event.truck = "Unit " + QString::number(seed);
  event.product = "Zorv v1.1";
  return event;
}

// Records one event and waits until it is written.
inline bool RecordOne(const QString& file, const history::Event& event) {
  history::HistoryRecorder recorder(file, nullptr, {});
  recorder.Record(event);
  const bool ok = recorder.Flush(10000) && recorder.Recording();
  if (!ok) ADD_FAILURE() << recorder.Line().toStdString();
  return ok;
}

// How many events the file holds; -1 when it cannot be read.
inline long long CountIn(const QString& file) {
  history::HistoryStore store(file);
  if (store.OpenForReading().mode == history::StoreMode::Closed) return -1;
  return store.Count();
}

#ifdef _WIN32
// Windows locks a file's byte ranges per handle, so a connection of this program's own, on a
// handle of its own, holds the file as another program would. (Under Wine a Linux sqlite3
// shell's locks are not the ones a Windows program takes.)
class LockHolder {
 public:
  explicit LockHolder(const char* begin = "BEGIN EXCLUSIVE") : begin_(begin) {}
  bool Hold(const QString& file) {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name_);
    db.setDatabaseName(file);
    if (!db.open()) return false;
    QSqlQuery query(db);
    return query.exec(begin_);
  }
  void Release() {
    if (!QSqlDatabase::contains(name_)) return;
    {
      QSqlDatabase db = QSqlDatabase::database(name_, false);
      QSqlQuery(db).exec("ROLLBACK");
      db.close();
    }
    QSqlDatabase::removeDatabase(name_);
  }
  ~LockHolder() { Release(); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

 private:
  const char* begin_;
  const QString name_ = QStringLiteral("lock-holder-%1").arg(quintptr(this));
};
#else
class LockHolder {
 public:
  explicit LockHolder(const char* begin = "BEGIN EXCLUSIVE") : begin_(begin) {}
  bool Hold(const QString& file) {
    process_.start("sqlite3", {file});
    if (!process_.waitForStarted(5000)) return false;
    process_.write(QByteArray(begin_) + ";\nSELECT 'held';\n");
    while (!process_.readAllStandardOutput().contains("held")) {
      if (!process_.waitForReadyRead(5000)) return false;
    }
    return true;
  }
  void Release() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.write("ROLLBACK;\n.quit\n");
    process_.closeWriteChannel();
    process_.waitForFinished(5000);
  }
  ~LockHolder() { Release(); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

 private:
  const char* begin_;
  QProcess process_;
};
#endif

}  // namespace zorv::test
