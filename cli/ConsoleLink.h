#pragma once
// The link on the command line: the same TCOMThread as the window's, run by a LinkThread, its
// events taken from a queue on the command line's own thread and handed to the console bridge.
// Ctrl+C (TERM, HUP) sets the link's terminate request.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "link/HeldStore.h"
#include "link/LinkJobs.h"
#include "link/LinkThread.h"

namespace zorv::cli {

class ConsoleBridge;

// Where this process's links run: the serial port on the steady clock, unless a test puts its
// own controller at the far end (its clock and device then serve every link made until reset
// with nulls).
void RunLinksOn(Clock* clock, SerialDevice* device);
// The clock those links run on: what a run's own time limits are measured on, so a test's
// controller on a faster clock meets them as a real one would.
Clock& LinkClock();

class ConsoleLink {
 public:
  ConsoleLink(ConsoleBridge& bridge, int port);
  // Stops the link, which starts a controller taken into its boot loader with nothing written
  // again, and closes the port.
  ~ConsoleLink();
  ConsoleLink(const ConsoleLink&) = delete;
  ConsoleLink& operator=(const ConsoleLink&) = delete;

  // Handles the link's events until `done` holds (true), `ms` have passed or the run was
  // interrupted (false).
  bool RunUntil(const std::function<bool()>& done, std::uint32_t ms);
  // Waits for the controller (or its boot loader) to answer; "" when it did, else the text
  // to print.
  QString Connect(int timeoutSeconds);

  // A new link that starts held in the boot loader, as after a run that left the flash
  // unverified: for a controller that said nothing at all, which a failed run leaves waiting
  // in its boot loader until asked.
  void HoldForFirmware();

  bool Submit(LinkJob job) { return link_->Submit(std::move(job)); }
  // Hands `job` over as soon as the link takes it (an idle link is busy for a moment with each
  // keep-alive); false after `ms`.
  bool SubmitWhenTaken(const LinkJob& job, std::uint32_t ms) {
    return RunUntil([&] { return Submit(job); }, ms);
  }
  LinkState State() const { return link_->State(); }
  std::string StatusText() const;
  int Port() const { return port_; }

 private:
  void Start(bool assumeHeld);

  ConsoleBridge& bridge_;
  int port_;
  HeldStore held_;
  LinkEventQueue events_;
  std::unique_ptr<LinkThread> link_;
};

}  // namespace zorv::cli
