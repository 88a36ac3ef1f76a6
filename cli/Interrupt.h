#pragma once
// Ctrl+C while the command line talks to a controller. It stops the link, which then ends the
// way the window's Reset does: a controller taken into its boot loader only to be looked at is
// started again, and the history keeps what happened. While firmware is being written the
// first press only warns, since stopping then leaves the controller without a working program;
// a second press stops.
#include <QString>
#include <atomic>

namespace zorv::cli {

// Ctrl+C, TERM and HUP (on Windows: Ctrl+C, Ctrl+Break, the console window closed, log-off,
// shutdown) set `stop` from now on, until ReleaseInterrupt().
void CatchInterrupt(std::atomic<bool>& stop);
void ReleaseInterrupt();
// Between the answer to the firmware check and the end of programming.
void SetWritingFirmware(bool writing);
// Ctrl+C stopped the link (not merely warned).
bool Interrupted();
// It stopped the link while firmware was being written.
bool InterruptedWhileWriting();
// What stopped it, as the last line names it: "Ctrl+C", "SIGTERM" (on Windows also the console
// closed, a log-off, a shutdown) or "SIGHUP". A script's `timeout` is not a key press.
QString InterruptName();

}  // namespace zorv::cli
