#pragma once
// Why the link cannot take a request now, in words for the window's message line; and the watch
// for an unplugged adapter to come back.
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "link/LinkJobs.h"
#include "link/LinkState.h"

namespace zorv {

class LinkControl;

// "" when `link` takes `job` in its present state; otherwise why not.
QString RefusalText(const LinkControl* link, const LinkJob& job);
QString RefusalText(LinkState state, const LinkJob& job);

// Polls for the device of an unplugged adapter to appear again (its path, or through an alias
// the target the alias names) and calls back once, when it has been there for two polls in a
// row: a re-plugged adapter's node appears a moment before its permissions are set.
class ReplugWatch final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPollMs = 500;

  explicit ReplugWatch(QObject* parent = nullptr);
  void Watch(const QString& devicePath, std::function<void()> back);
  void Stop();
  bool Watching() const { return timer_.isActive(); }
  const QString& DevicePath() const { return path_; }

 private:
  void Poll();

  QTimer timer_;
  QString path_;
  int seen_ = 0;
  std::function<void()> back_;
};

}  // namespace zorv
