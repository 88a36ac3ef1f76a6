#include "cli/Progress.h"

#include <cstdio>

#include "cli/Terminal.h"

namespace zorv::cli {

Progress::Progress(bool quiet) : shown_(!quiet && IsTerminal(stderr)) {}

Progress::~Progress() { Done(); }

void Progress::Show(const QString& stage, int percent, const QString& left) {
  if (!shown_) return;
  if (stage != stage_) {
    stage_ = stage;
    started_.start();
  }
  QString timeLeft = left;
  if (timeLeft.isEmpty() && percent > 0 && percent < 100) {
    const qint64 ms = started_.elapsed() * (100 - percent) / percent;
    timeLeft = QString("%1:%2 left").arg(ms / 60000).arg(ms / 1000 % 60, 2, 10, QChar('0'));
  }
  constexpr int kWidth = 30;
  const int filled = percent * kWidth / 100;
  const QString bar = QString(filled, '#') + QString(kWidth - filled, '-');
  const QString line = QString("\r%1 [%2] %3% %4").arg(stage, bar).arg(percent, 3).arg(timeLeft);
  std::fputs((line + "\x1b[K").toLocal8Bit().constData(), stderr);
  std::fflush(stderr);
  drawn_ = true;
}

void Progress::Done() {
  if (!drawn_) return;
  std::fputs("\n", stderr);
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace zorv::cli
