#include "app/WindowLinkEvents.h"

#include <QObject>
#include <QProgressBar>
#include <QTimer>
#include <optional>

#include "app/FormBridge.h"
#include "app/KeptSettingsOffer.h"
#include "app/StatusStrip.h"
#include "app/WindowHistory.h"
#include "app/WindowLink.h"
#include "link/UpgradeSettings.h"
#include "session/TruckSession.h"
#include "ui/Prompts.h"

namespace zorv {

WindowLinkEvents::WindowLinkEvents(Parts parts)
    : parts_(std::move(parts)),
      halfSent_(parts_.messageLine),
      notices_([this](const LinkEvent& event, std::uint64_t source) { Handle(event, source); }) {
  parts_.link.OnStop([this] { halfSent_.LinkReplaced(); });
  parts_.bridge.OnImageStored([this] { parts_.session.DownloadArrived(); });
  parts_.bridge.OnBeforeStore([this] {
    // Unsent edits are kept under the product they were made for; then the pages follow the
    // product the controller named (a Zorv v1.0 leaves them as they are).
    parts_.session.DownloadArriving();
    if (const auto product = parts_.bridge.LastProduct()) {
      if (const auto page = PageCodeFor(*product)) parts_.session.SetProductCode(*page);
    }
  });
}

void WindowLinkEvents::OfferKeptSettings() {
  const std::optional<ImageBytes> kept =
      KeptSettingsToRestore(parts_.upgradeSettings, parts_.prompts);
  if (!kept) return;
  parts_.session.BeforeReplace();
  parts_.session.Replace(*kept, false);
  // The kept bytes exactly as they were: the refresh's repairs are for the pages, not for what
  // goes back to the controller.
  UploadWhenIdle(100, *kept);
}

void WindowLinkEvents::UploadWhenIdle(int triesLeft, const ImageBytes& bytes) {
  LinkControl* link = parts_.link.Get();
  if (!link) return;
  if (parts_.link.InState(LinkState::ConnectedIdle) &&
      link->Submit(parts_.bridge.Upload(bytes, link->NoticeSource()))) {
    parts_.session.UploadStarting(bytes);
    return;
  }
  if (triesLeft <= 0) {
    parts_.prompts.Message(Prompts::Kind::Error, "Error",
                           "The controller did not come back: the kept settings are in the window. "
                           "Send them with Send Cal once it is connected.");
    return;
  }
  // Timed on the window: a retry still due when it closes is dropped with it.
  QTimer::singleShot(100, &parts_.window,
                     [this, triesLeft, bytes] { UploadWhenIdle(triesLeft - 1, bytes); });
}

void WindowLinkEvents::Handle(const LinkEvent& event, std::uint64_t source) {
  WindowLink& link = parts_.link;
  // A replaced link's events are dropped: its transfer was abandoned, its questions are moot.
  if (!link.Current(source)) return;
  // After Reset only the old link's status and its wish to be replaced count: a download that
  // crossed the click is neither shown nor stored.
  if (link.Retiring() && !std::holds_alternative<RestartWantedEvent>(event) &&
      !std::holds_alternative<StatusEvent>(event)) {
    return;
  }
  halfSent_.Seen(event);
  parts_.bridge.Handle(event, link.Get());
  if (std::holds_alternative<DownloadedEvent>(event)) {
    parts_.prompts.Message(Prompts::Kind::Information, "Information", "Download Successful!");
    parts_.strip.ProgressGauge()->setValue(0);
    OfferKeptSettings();
  } else if (const auto* finished = std::get_if<JobFinishedEvent>(&event)) {
    if (finished->job == JobKind::Upload && finished->result == JobResult::Done) {
      // Taken before the box opens: the timer must not read the idle link as a failure.
      const bool closeAfter = parts_.session.TakeCloseAfterUpload();
      parts_.session.UploadFinished();
      parts_.prompts.Message(Prompts::Kind::Information, "Information", "Upload Successful!");
      parts_.strip.ProgressGauge()->setValue(0);
      if (closeAfter) parts_.closeNow();  // "Send to controller" on Exit
    } else if (finished->job == JobKind::Upgrade && finished->result == JobResult::Done) {
      parts_.upgradeSettings.UpgradeVerified();
      parts_.history.RecordFirmware(
          QString::fromStdString(finished->fileName), QString::fromStdString(finished->chipLine),
          finished->crcs ? std::optional(finished->crcs->file) : std::nullopt,
          finished->crcs ? std::optional(finished->crcs->flash) : std::nullopt);
    }
  } else if (std::holds_alternative<UnpluggedEvent>(event)) {
    parts_.session.Unplugged();
  } else if (std::holds_alternative<RestartWantedEvent>(event)) {
    link.Restart();
  }
}

}  // namespace zorv
