#pragma once
// The main window: menus, the product notebook with the Zorv tabs, the status strip and byte
// log, the 500 ms timer, and the wiring of its parts. The truck's state lives in the session; the
// link is made and replaced by WindowLink, asked by LinkCommands and answered by
// WindowLinkEvents; closing is WindowClose's.
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/FormBridge.h"
#include "app/LinkCommands.h"
#include "app/MainMenu.h"
#include "app/WindowClose.h"
#include "app/WindowFrame.h"
#include "app/WindowHistory.h"
#include "app/WindowLink.h"
#include "app/WindowPages.h"
#include "link/UpgradeSettings.h"
#include "session/TruckSession.h"
#include "ui/PageHost.h"
#include "ui/RefreshControls.h"

namespace zorv {

class StatusStrip;
class WindowLinkEvents;

class TZorvForm final : public QMainWindow, public PageHost {
  Q_OBJECT

 public:
  TZorvForm(Prompts& prompts, Clock& clock, LinkFactory linkFactory, PresentPorts ports = {},
            QWidget* parent = nullptr);
  ~TZorvForm() override;

  // The start-up steps: about window, remembered port, link, defaults, first refresh.
  void FormCreate();

  // PageHost: the session's state.
  SettingsImage& Image() override { return session_.Image(); }
  GlobalTrimPair& Trims() override { return session_.Trims(); }
  std::uint8_t ProductCode() const override { return session_.ProductCode(); }
  void SetProductCode(std::uint8_t code) override { session_.SetProductCode(code); }
  std::uint8_t IdentifiedProduct() const override {
    return bridge_.LastDownloadLength() == 121 ? product::kZorv10 : ProductCode();
  }
  void RefreshControls(int flag) override;
  void ImageKept() override { session_.MarkKept(); }
  void BeforeImageReplaced() override { session_.BeforeReplace(); }
  void CommitPendingEdit() override { session_.CommitPendingEdit(); }
  void FileEvent(history::EventKind kind, const QString& file) override { session_.Record(kind, file); }
  void SetCommand(std::uint8_t command, std::uint8_t argument) override {
    link_.SetCommand(command, argument);
  }
  std::uint32_t& TestTimeStamp() override { return link_.TestTimeStamp(); }
  Prompts& prompts() override { return prompts_; }
  Clock& clock() override { return clock_; }
  TruckSession& Session() { return session_; }

  // The window's side of the link.
  FormBridge& Bridge() { return bridge_; }
  int PortNumber() const { return link_.Port(); }
  LinkControl* Link() const { return link_.Get(); }
  // Asked again each time the port dialog opens; without it the dialog lists the ports given
  // at construction.
  void SetPortDiscovery(std::function<PresentPorts()> discover) {
    commands_.SetPortDiscovery(std::move(discover));
  }
  // A page gate for TabbedNotebook1; without one every page may be shown.
  void SetTabGate(std::function<bool(int)> gate);

  // A link event, as the message hook passes it on.
  void OnLinkEvent(const LinkEvent& event, std::uint64_t source);

  // Handlers.
  void Exit1Click() { close_.Exit(); }
  void EndBySignal() { close_.EndWithoutAsking(); }
  void PortNumber1Click() { commands_.ChangePort(); }
  void UploadButtonClick() { SendCalClick(); }
  void SendCalClick() { commands_.Send(); }
  void DownloadButtonClick() { commands_.Download(); }
  void GetCalibration1Click() { commands_.Download(); }
  void UpgradeFirmware1Click() { commands_.UpgradeFirmware(); }
  void ReadFirmware1Click() { commands_.ReadFirmware(); }
  void ResetButtonClick() { commands_.Reset(); }
  void Timer2Timer();
  void About1Click();
  void History1Click() { history_->RunAndRestore(prompts_, session_); }
  WindowHistory& History() { return *history_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectHandlers();

  Prompts& prompts_;
  Clock& clock_;

  TruckSession session_;

  MainMenuItems menu_;
  WindowFrame frame_;
  StatusStrip* strip_ = nullptr;
  WindowHistory* history_ = nullptr;  // a child of the window
  QTimer* timer2_ = nullptr;

  UpgradeSettings upgradeSettings_;
  FormBridge bridge_;
  Refresher refresher_;
  WindowPages pages_;
  WindowLink link_;
  LinkCommands commands_;
  WindowClose close_;
  std::unique_ptr<WindowLinkEvents> events_;  // made once the history and the frame are there
  bool centred_ = false;
};

}  // namespace zorv
