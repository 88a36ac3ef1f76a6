#pragma once
// The window's answer to its link's events, one box at a time: a download stored under the
// product the controller named, "Download Successful!" and the offer of the settings kept before
// an upgrade, "Upload Successful!" and the close it may bring, a verified upgrade in the
// history, an unplug, the link's wish to be replaced, and the note of an upload cut half-way.
#include <cstdint>
#include <functional>

#include "app/HalfSentNote.h"
#include "app/NoticeQueue.h"
#include "image/SettingsImage.h"
#include "link/LinkJobs.h"

class QObject;

namespace zorv {

class FormBridge;
class MessageLine;
class Prompts;
class StatusStrip;
class TruckSession;
class UpgradeSettings;
class WindowHistory;
class WindowLink;

class WindowLinkEvents {
 public:
  struct Parts {
    QObject& window;  // the kept settings' retries end with it
    WindowLink& link;
    FormBridge& bridge;
    TruckSession& session;
    UpgradeSettings& upgradeSettings;
    Prompts& prompts;
    StatusStrip& strip;
    MessageLine& messageLine;  // where the half-sent note shows
    WindowHistory& history;
    std::function<void()> closeNow;  // Exit's "Send to controller", once its upload is done
  };
  // Takes the bridge's download hooks, and tells the half-sent note whenever the window's link
  // goes (WindowLink::OnStop).
  explicit WindowLinkEvents(Parts parts);

  // A link event, as the message hook passes it on.
  void Deliver(const LinkEvent& event, std::uint64_t source) { notices_.Deliver(event, source); }
  // On the window's timer: the half-sent note shows again once another message has gone.
  void Tick() { halfSent_.Tick(); }

 private:
  void Handle(const LinkEvent& event, std::uint64_t source);
  // After a verified upgrade whose firmware changed the settings: restore or keep.
  void OfferKeptSettings();
  // Sends the image once the link is idle again (it is still finishing the download).
  void UploadWhenIdle(int triesLeft, const ImageBytes& bytes);

  Parts parts_;
  HalfSentNote halfSent_;
  NoticeQueue notices_;
};

}  // namespace zorv
