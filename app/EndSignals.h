#pragma once
// SIGTERM and SIGHUP (a log-out, a shutdown, a closed terminal) end the window: nobody may be
// there to answer a question, so `onEnd` keeps what is unsent and closes. The handler only
// writes a byte to a socket pair; `onEnd` runs on the window's thread when it is read. Windows
// ends a window program by its own messages, so there this does nothing.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zorv {

class EndSignals final : public QObject {
 public:
  explicit EndSignals(std::function<void()> onEnd);
  // The signals take their default action again.
  ~EndSignals() override;
  EndSignals(const EndSignals&) = delete;
  EndSignals& operator=(const EndSignals&) = delete;

 private:
  std::function<void()> onEnd_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zorv
