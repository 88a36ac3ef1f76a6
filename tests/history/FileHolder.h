#pragma once
// Another program holding a history file: the sqlite3 shell inside a transaction that keeps
// writers out (`BEGIN EXCLUSIVE` or `BEGIN IMMEDIATE`) until released.
#include <QProcess>
#include <QString>

namespace zorv::test {

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

}  // namespace zorv::test
