#include "app/LinkRequests.h"

#include <QFileInfo>
#include <utility>

#include "app/LinkControl.h"

namespace zorv {

QString RefusalText(const LinkControl* link, const LinkJob& job) {
  if (link == nullptr) return "Not sent: not connected to a controller";
  return RefusalText(link->State(), job);
}

QString RefusalText(LinkState state, const LinkJob& job) {
  if (Accepts(state, job)) return {};
  switch (state) {
    case LinkState::Unplugged:
      return "Not sent: the adapter is unplugged";
    case LinkState::Start:
    case LinkState::PortFailed:
      return "Not sent: not connected to a controller";
    case LinkState::WaitingForIdentification:
      return "Not sent: not connected (waiting for the controller to answer)";
    case LinkState::Upload:
    case LinkState::Download:
    case LinkState::Restart:
      return "Not sent: busy with a transfer";
    case LinkState::BootHook:
    case LinkState::BootIdentification:
    case LinkState::Programming:
    case LinkState::FirmwareHeld:
    case LinkState::ReadingFirmware:
      return "Not sent: the controller is in its boot loader";
    case LinkState::ConnectedIdle:
      break;
  }
  return "Not sent: the link is busy";
}

ReplugWatch::ReplugWatch(QObject* parent) : QObject(parent) {
  timer_.setInterval(kPollMs);
  connect(&timer_, &QTimer::timeout, this, &ReplugWatch::Poll);
}

void ReplugWatch::Watch(const QString& devicePath, std::function<void()> back) {
  path_ = devicePath;
  back_ = std::move(back);
  seen_ = 0;
  timer_.start();
}

void ReplugWatch::Stop() {
  timer_.stop();
  back_ = nullptr;
}

void ReplugWatch::Poll() {
  // exists() follows symbolic links: an alias counts once the device it names is there.
  seen_ = QFileInfo::exists(path_) ? seen_ + 1 : 0;
  if (seen_ < 2) return;
  auto back = std::move(back_);
  Stop();
  if (back) back();
}

}  // namespace zorv
