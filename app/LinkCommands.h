#pragma once
// What the Datalink menu, Port Number and the strip's link buttons ask of the window's link. A
// request the link cannot take now is refused by the link; the message line says why.
#include <functional>
#include <utility>

#include "app/WindowLink.h"
#include "host/PortDiscovery.h"
#include "link/LinkJobs.h"

namespace zorv {

class FormBridge;
class PageHost;
class Prompts;
class StatusStrip;
class TruckSession;
class UpgradeSettings;
struct WindowFrame;

class LinkCommands {
 public:
  struct Parts {
    WindowLink& link;
    TruckSession& session;
    FormBridge& bridge;
    UpgradeSettings& upgradeSettings;
    Prompts& prompts;
    PageHost& pages;  // shown again after Reset
    StatusStrip& strip;
    const WindowFrame& frame;  // its message line, once the frame is built
  };
  LinkCommands(Parts parts, PresentPorts ports) : parts_(parts), ports_(std::move(ports)) {}

  // Send Cal and the Upload button.
  void Send();
  // Get Calibration and the Download button.
  void Download() { Request(DownloadJob{}); }
  void UpgradeFirmware();
  void ReadFirmware();
  // The Reset button: a new link, the pages shown again, the byte log cleared; nothing when
  // firmware is being written and the user chose to let it finish.
  void Reset();
  // Port Number...: the chosen port is remembered and a new link opened on it.
  void ChangePort();

  const PresentPorts& Ports() const { return ports_; }
  // Asked again each time the port dialog opens; without it the dialog lists the ports given
  // at construction.
  void SetPortDiscovery(std::function<PresentPorts()> discover) {
    discoverPorts_ = std::move(discover);
  }

 private:
  void Request(LinkJob job);

  Parts parts_;
  PresentPorts ports_;
  std::function<PresentPorts()> discoverPorts_;
};

}  // namespace zorv
