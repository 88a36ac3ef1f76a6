#include "app/WindowLink.h"

#include <QFileInfo>

#include "link/PortNames.h"

namespace zorv {

void WindowLink::Stop() {
  if (stopping_) stopping_();
  replug_.Stop();
  link_.reset();
}

bool WindowLink::MayStop() {
  if (!InState(LinkState::Programming)) return true;
  const bool stop = prompts_.Confirm(
      "Warning",
      "Firmware is being written. Stopping now leaves the controller without a working "
      "program. Stop anyway?");
  // Programming may have ended while the question was open: then the answer changes nothing.
  return stop && InState(LinkState::Programming);
}

QString WindowLink::Request(LinkJob job) {
  if (!link_) return RefusalText(nullptr, job);
  // The link judges, and what is said follows its answer: it may have moved on since the window
  // looked, either way.
  if (link_->Submit(job)) return {};
  const QString now = RefusalText(link_.get(), job);
  return now.isEmpty() ? QStringLiteral("Not sent: the link is busy") : now;
}

void WindowLink::SetCommand(std::uint8_t command, std::uint8_t argument) {
  if (!link_) return;
  if (command == 0) {
    link_->Submit(LiveOutputOffJob{});
  } else {
    link_->Submit(LiveOutputJob{command, argument});
  }
}

void WindowLink::EndStaleLiveTest(Clock& clock) {
  if (testTimeStamp_ != 0 && clock.Since(testTimeStamp_) > kLiveTestLimitMs) {
    SetCommand(0, 0);
    testTimeStamp_ = 0;
  }
}

void WindowLink::WatchForAdapter(std::function<void()> back) {
  const QString device = QString::fromStdString(DeviceNameForPort(link_ ? link_->PortNumber() : port_));
  if (device.isEmpty()) return;
  replug_.Watch(device, std::move(back));
}

void WindowLink::WatchIfDeviceMissing(std::function<void()> back) {
  if (!InState(LinkState::PortFailed) || replug_.Watching()) return;
  const std::string device = DeviceNameForPort(link_->PortNumber());
  if (!device.empty() && !QFileInfo::exists(QString::fromStdString(device))) {
    WatchForAdapter(std::move(back));
  }
}

}  // namespace zorv
