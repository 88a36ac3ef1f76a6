#include "app/LinkCommands.h"

#include <QPlainTextEdit>

#include "app/FirmwareCommands.h"
#include "app/FormBridge.h"
#include "app/StatusStrip.h"
#include "app/WindowFrame.h"
#include "host/HostSettings.h"
#include "session/TruckSession.h"
#include "ui/PageHost.h"
#include "ui/Prompts.h"
#include "ui/port/PortChoiceDialog.h"
#include "ui/widgets/MessageLine.h"

namespace zorv {

void LinkCommands::Request(LinkJob job) {
  const QString refused = parts_.link.Request(std::move(job));
  if (!refused.isEmpty()) parts_.frame.messageLine->Show(refused);
}

void LinkCommands::Send() {
  // The image with the typed text in it; the session remembers what went, to mark it sent.
  const ImageBytes sending = parts_.session.UploadStarting();
  const LinkControl* link = parts_.link.Get();
  Request(parts_.bridge.Upload(sending, link ? link->NoticeSource() : 0));
}

void LinkCommands::UpgradeFirmware() {
  if (parts_.link.InState(LinkState::ConnectedIdle)) {
    KeepSettingsBeforeUpgrade(parts_.upgradeSettings, parts_.session.ProductCode(), parts_.prompts);
  }
  Request(OpenBootLoaderJob{});
}

void LinkCommands::ReadFirmware() {
  const QString refused = RefusalText(parts_.link.Get(), ReadFlashJob{});
  if (!refused.isEmpty()) {
    parts_.frame.messageLine->Show(refused);
    return;
  }
  if (ChooseReadTarget(parts_.bridge)) Request(ReadFlashJob{});
}

void LinkCommands::Reset() {
  WindowLink& link = parts_.link;
  if (!link.MayStop()) return;
  if (link.InState(LinkState::ConnectedIdle) && link.Get()->Submit(ResetJob{})) {
    // The link sends 0xFF and asks to be replaced.
    link.Retire();
  } else {
    link.Restart();
  }
  parts_.pages.RefreshControls(1);
  parts_.strip.Memo1()->clear();
}

void LinkCommands::ChangePort() {
  WindowLink& link = parts_.link;
  // Asked before the port is chosen, so "No" leaves the remembered port as it was.
  if (!link.MayStop()) return;
  if (discoverPorts_) ports_ = discoverPorts_();
  link.SetPort(ChoosePort(ports_, link.Port(),
                          [this](QDialog& dialog) { return parts_.prompts.ShowModal(dialog); }));
  WriteSetting(kApplicationName, kComPortSetting, QString::number(link.Port()));
  link.Restart();
}

}  // namespace zorv
