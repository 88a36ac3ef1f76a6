#include "cli/Interrupt.h"

#include <csignal>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zorv::cli {
namespace {

// Only lock-free atomics and write(2) are touched from the handler.
std::atomic<std::atomic<bool>*> gStop{nullptr};
std::atomic<bool> gWriting{false};
std::atomic<bool> gWarned{false};
std::atomic<bool> gInterrupted{false};
std::atomic<bool> gWhileWriting{false};

constexpr char kWarning[] =
    "\nFirmware is being written. Stopping now leaves the controller without a working program. "
    "Press Ctrl+C again to stop anyway.\n";

void WriteWarning() {
#ifdef _WIN32
  const int ignored = _write(2, kWarning, static_cast<unsigned>(sizeof kWarning - 1));
#else
  const ssize_t ignored = write(STDERR_FILENO, kWarning, sizeof kWarning - 1);
#endif
  (void)ignored;
}

extern "C" void OnInterrupt(int) {
  const bool writing = gWriting.load();
  if (writing && !gWarned.exchange(true)) {
    WriteWarning();
    return;
  }
  gWhileWriting.store(writing);
  gInterrupted.store(true);
  if (std::atomic<bool>* stop = gStop.load()) stop->store(true);
}

// `timeout`, a cancelled job and a dropped remote session end a run with TERM or HUP: they are
// taken as Ctrl+C is, so a firmware write is finished or held and said so, never cut silently.
#ifdef _WIN32
constexpr int kCaught[] = {SIGINT, SIGTERM};
#else
constexpr int kCaught[] = {SIGINT, SIGTERM, SIGHUP};
#endif

void Handle(void (*handler)(int)) {
  for (const int signal : kCaught) {
#ifdef _WIN32
    std::signal(signal, handler);
#else
    // Without SA_RESTART: a question waiting on the terminal is answered "no" by the press.
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
#endif
  }
}

}  // namespace

void CatchInterrupt(std::atomic<bool>& stop) {
  gStop.store(&stop);
  Handle(OnInterrupt);
}

void ReleaseInterrupt() {
  Handle(SIG_DFL);
  gStop.store(nullptr);
  gWriting.store(false);
}

void SetWritingFirmware(bool writing) {
  gWriting.store(writing);
  // Each write asks afresh: a warning given during an earlier one does not count.
  if (!writing) gWarned.store(false);
}

bool Interrupted() { return gInterrupted.load(); }

bool InterruptedWhileWriting() { return gWhileWriting.load(); }

}  // namespace zorv::cli
