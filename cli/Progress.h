#pragma once
// The progress bar on standard error: percent and time left, redrawn in place. Only on a
// terminal and without --quiet, so scripts and logs get no control characters.
#include <QElapsedTimer>
#include <QString>

namespace zorv::cli {

class Progress {
 public:
  explicit Progress(bool quiet);
  ~Progress();
  // `stage` names the work ("Retrieving v1.1 Calibration"); `left` is the link's own time
  // left ("Verifying, 1:12 left") when it has one, otherwise estimated from the rate so far.
  void Show(const QString& stage, int percent, const QString& left);
  void Done();

 private:
  bool shown_;
  bool drawn_ = false;
  QString stage_;
  QElapsedTimer started_;
};

}  // namespace zorv::cli
