#include "cli/Interrupt.h"

#include <csignal>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
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
std::atomic<int> gSignal{SIGINT};  // what stopped the run, for its last line

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

extern "C" void OnInterrupt(int signal) {
  const bool writing = gWriting.load();
  if (writing && !gWarned.exchange(true)) {
    WriteWarning();
    return;
  }
  gWhileWriting.store(writing);
  gSignal.store(signal);
  gInterrupted.store(true);
  if (std::atomic<bool>* stop = gStop.load()) stop->store(true);
}

#ifdef _WIN32
// Windows tells a console program of Ctrl+C, Ctrl+Break, a closed console window, a log-off and
// a shutdown on a thread of its own. The last three end the program when this returns, or when
// the system's few seconds are up: the link is stopped at once, as by a second press, and the
// handler waits for the program to end in order.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      OnInterrupt(SIGINT);
      return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      gWarned.store(true);
      OnInterrupt(SIGTERM);
      Sleep(INFINITE);
      return TRUE;
    default:
      return FALSE;
  }
}

void Handle(bool catching) { SetConsoleCtrlHandler(OnConsoleEvent, catching ? TRUE : FALSE); }
#else
// `timeout`, a cancelled job and a dropped remote session end a run with TERM or HUP: they are
// taken as Ctrl+C is, so a firmware write is finished or held and said so, never cut silently.
void Handle(bool catching) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    // Without SA_RESTART: a question waiting on the terminal is answered "no" by the press.
    struct sigaction action {};
    action.sa_handler = catching ? OnInterrupt : SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}
#endif

}  // namespace

void CatchInterrupt(std::atomic<bool>& stop) {
  gStop.store(&stop);
  Handle(true);
}

void ReleaseInterrupt() {
  Handle(false);
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

QString InterruptName() {
  switch (gSignal.load()) {
    case SIGTERM:
      return "SIGTERM";
#ifndef _WIN32
    case SIGHUP:
      return "SIGHUP";
#endif
    default:
      return "Ctrl+C";
  }
}

}  // namespace zorv::cli
