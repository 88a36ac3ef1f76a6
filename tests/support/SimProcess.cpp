#include "SimProcess.h"

#include <signal.h>

#include <QDeadlineTimer>
#include <algorithm>

namespace zorvtest {

SimProcess::~SimProcess() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.kill();
  process_.waitForFinished(3000);
}

void SimProcess::Collect() {
  partial_ += process_.readAll();
  for (qsizetype end = partial_.indexOf('\n'); end >= 0; end = partial_.indexOf('\n')) {
    lines_.append(QString::fromUtf8(partial_.left(end)).trimmed());
    partial_.remove(0, end + 1);
  }
}

QString SimProcess::StartProgram(const QString& program, const QStringList& arguments,
                                 int timeoutMs) {
  process_.setProcessChannelMode(QProcess::MergedChannels);
  process_.start(program, arguments);
  if (!process_.waitForStarted(timeoutMs)) {
    lines_.append("zorv-sim did not start: " + process_.errorString());
    return {};
  }
  started_ = true;
  // The first line names the port; anything else first means the simulator refused to run.
  if (!WaitForLine(QString(), timeoutMs)) return {};
  const QString first = lines_.front();
  if (!first.startsWith(QStringLiteral("port: "))) return {};
  port_ = first.mid(6);
  return port_;
}

std::optional<QString> SimProcess::WaitForLine(const QString& substring, int timeoutMs,
                                               int fromLine) {
  QDeadlineTimer deadline(timeoutMs);
  for (;;) {
    Collect();
    for (qsizetype i = std::max(0, fromLine); i < lines_.size(); ++i) {
      if (lines_[i].contains(substring)) return lines_[i];
    }
    if (deadline.hasExpired()) return std::nullopt;
    if (process_.state() == QProcess::NotRunning) {
      // Nothing more can come; pick up what is left.
      Collect();
      if (!partial_.isEmpty()) {
        lines_.append(QString::fromUtf8(partial_).trimmed());
        partial_.clear();
        continue;
      }
      return std::nullopt;
    }
    process_.waitForReadyRead(static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 1, 50)));
  }
}

int SimProcess::LineCount() {
  Collect();
  return static_cast<int>(lines_.size());
}

QStringList SimProcess::Lines() {
  Collect();
  return lines_;
}

QString SimProcess::Output() { return Lines().join('\n'); }

int SimProcess::WaitForExit(int timeoutMs) {
  if (!started_) return -1;
  if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(timeoutMs)) return -1;
  Collect();
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

bool SimProcess::Signal(int signal) {
  if (process_.state() != QProcess::Running) return false;
  return ::kill(static_cast<pid_t>(process_.processId()), signal) == 0;
}

int SimProcess::Stop(int timeoutMs) {
  if (process_.state() == QProcess::NotRunning) {
    Collect();
    return started_ && process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  ::kill(static_cast<pid_t>(process_.processId()), SIGINT);
  const bool finished = process_.waitForFinished(timeoutMs);
  if (!finished) {
    process_.kill();
    process_.waitForFinished(3000);
  }
  Collect();
  if (!partial_.isEmpty()) {
    lines_.append(QString::fromUtf8(partial_).trimmed());
    partial_.clear();
  }
  return finished && process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

}  // namespace zorvtest
