#include "cli/ConsoleLink.h"

#include <mutex>

#include "cli/ConsoleBridge.h"
#include "cli/Interrupt.h"
#include "link/CycleSchedule.h"
#include "link/LinkThread.h"

namespace zorv::cli {

ConsoleLink::ConsoleLink(ConsoleBridge& bridge, int port)
    : bridge_(bridge),
      port_(port),
      channel_(bridge),
      link_(std::in_place, channel_, port, clock_, device_, flash_, productCode_, stop_) {
  CatchInterrupt(stop_);
}

ConsoleLink::~ConsoleLink() {
  link_->Shutdown();
  device_.Close();
  ReleaseInterrupt();
}

void ConsoleLink::HoldForFirmware() {
  link_.reset();
  flash_ = FlashImage{};
  flash_.programIncomplete = true;
  link_.emplace(channel_, port_, clock_, device_, flash_, productCode_, stop_);
}

bool ConsoleLink::RunUntil(const std::function<bool()>& done, std::uint32_t ms) {
  const std::uint32_t start = clock_.Ticks();
  CycleSchedule schedule(clock_, LinkThread::kCycleMs);
  schedule.Start();
  while (true) {
    {
      const std::lock_guard<std::mutex> guard(link_->Lock());
      link_->Step();
    }
    // A programming run begins and ends within one step.
    SetWritingFirmware(false);
    if (stop_) return false;
    if (clock_.Since(lastRefresh_) > LinkThread::kRefreshMs) {
      StatusSnapshot snapshot;
      {
        const std::lock_guard<std::mutex> guard(link_->Lock());
        snapshot = link_->Snapshot();
      }
      bridge_.RefreshStatus(snapshot);
      lastRefresh_ = clock_.Ticks();
    }
    if (done()) return true;
    if (clock_.Since(start) > ms) return false;
    schedule.WaitForNext();
  }
}

QString ConsoleLink::Connect(int timeoutSeconds) {
  const auto answered = [this] {
    const LinkState s = State();
    return s != LinkState::Start && s != LinkState::WaitingForIdentification;
  };
  const bool inTime = RunUntil(answered, static_cast<std::uint32_t>(timeoutSeconds) * 1000);
  if (State() == LinkState::PortFailed) return QString::fromStdString(StatusText());
  if (!inTime) {
    return QString("No controller answered on COM%1 within %2 s").arg(port_).arg(timeoutSeconds);
  }
  return {};
}

}  // namespace zorv::cli
