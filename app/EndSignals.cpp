#include "app/EndSignals.h"

#include <QSocketNotifier>
#include <utility>

#ifndef _WIN32
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#endif

namespace zorv {

#ifdef _WIN32

EndSignals::EndSignals(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {}
EndSignals::~EndSignals() = default;

#else

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP};
int gPair[2] = {-1, -1};  // [0] written by the handler, [1] read on the window's thread

extern "C" void OnEndSignal(int) {
  const char byte = 1;
  const ssize_t ignored = write(gPair[0], &byte, 1);
  (void)ignored;
}

}  // namespace

EndSignals::EndSignals(std::function<void()> onEnd) : onEnd_(std::move(onEnd)) {
  if (socketpair(AF_UNIX, SOCK_STREAM, 0, gPair) != 0) return;
  notifier_ = new QSocketNotifier(gPair[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char byte = 0;
    const ssize_t ignored = read(gPair[1], &byte, 1);
    (void)ignored;
    // Once: a second signal while the window closes changes nothing.
    notifier_->setEnabled(false);
    if (onEnd_) onEnd_();
  });
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

EndSignals::~EndSignals() {
  if (gPair[0] < 0) return;
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  delete notifier_;
  close(gPair[0]);
  close(gPair[1]);
  gPair[0] = gPair[1] = -1;
}

#endif

}  // namespace zorv
