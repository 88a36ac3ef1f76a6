#include "cli/ConsoleLink.h"

#include <QElapsedTimer>
#include <chrono>

#include "cli/ConsoleBridge.h"
#include "cli/Interrupt.h"

namespace zorv::cli {
namespace {

Clock* gClock = nullptr;
SerialDevice* gDevice = nullptr;

}  // namespace

void RunLinksOn(Clock* clock, SerialDevice* device) {
  gClock = clock;
  gDevice = device;
}

Clock& LinkClock() {
  static SteadyClock steady;
  return gClock != nullptr && gDevice != nullptr ? *gClock : steady;
}

ConsoleLink::ConsoleLink(ConsoleBridge& bridge, int port)
    : bridge_(bridge), port_(port), held_(HeldStore::DefaultFile()) {
  Start(false);
}

ConsoleLink::~ConsoleLink() {
  link_.reset();
  ReleaseInterrupt();
}

void ConsoleLink::Start(bool assumeHeld) {
  ReleaseInterrupt();
  link_.reset();
  while (events_.Take()) {
  }
  if (gClock != nullptr && gDevice != nullptr) {
    link_ = assumeHeld ? std::make_unique<LinkThread>(events_, port_, &held_, *gClock, *gDevice,
                                                      LinkThread::AssumingHeld{})
                       : std::make_unique<LinkThread>(events_, port_, &held_, *gClock, *gDevice);
  } else if (assumeHeld) {
    link_ = std::make_unique<LinkThread>(events_, port_, &held_, LinkThread::AssumingHeld{});
  } else {
    link_ = std::make_unique<LinkThread>(events_, port_, &held_);
  }
  CatchInterrupt(link_->StopFlag());
}

void ConsoleLink::HoldForFirmware() { Start(true); }

std::string ConsoleLink::StatusText() const { return bridge_.last.text; }

bool ConsoleLink::RunUntil(const std::function<bool()>& done, std::uint32_t ms) {
  QElapsedTimer timer;
  timer.start();
  while (true) {
    if (Interrupted()) return false;
    if (std::optional<LinkEvent> event = events_.Take(std::chrono::milliseconds(10))) {
      bridge_.Handle(*event, *link_);
      // Take whatever else is waiting before judging, so a status is never behind its job.
      while (std::optional<LinkEvent> more = events_.Take()) bridge_.Handle(*more, *link_);
    }
    if (done()) return true;
    if (timer.elapsed() > static_cast<qint64>(ms)) return false;
  }
}

QString ConsoleLink::Connect(int timeoutSeconds) {
  const auto answered = [this] {
    const LinkState s = State();
    return s != LinkState::Start && s != LinkState::WaitingForIdentification;
  };
  const bool inTime = RunUntil(answered, static_cast<std::uint32_t>(timeoutSeconds) * 1000);
  if (State() == LinkState::PortFailed) {
    // The status event that says why may still be on its way.
    RunUntil([this] { return StatusText().rfind("COM Port Fail", 0) == 0; }, 500);
    return QString::fromStdString(StatusText());
  }
  if (!inTime) {
    return QString("No controller answered on COM%1 within %2 s").arg(port_).arg(timeoutSeconds);
  }
  return {};
}

}  // namespace zorv::cli
