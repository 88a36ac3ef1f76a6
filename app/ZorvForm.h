#pragma once
// The main window: menus, the product notebook with the Zorv tabs, the status strip and byte
// log, the 500 ms timer, the link notices, and the link itself, which it creates, replaces and
// destroys. The truck's state lives in the session; the window shows it and wires the actions.
#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/FormBridge.h"
#include "app/HalfSentNote.h"
#include "app/LinkControl.h"
#include "app/MainMenu.h"
#include "app/NoticeQueue.h"
#include "app/WindowFrame.h"
#include "app/WindowHistory.h"
#include "app/WindowLink.h"
#include "app/WindowPages.h"
#include "host/PortDiscovery.h"
#include "link/UpgradeSettings.h"
#include "session/TruckSession.h"
#include "ui/PageHost.h"
#include "ui/RefreshControls.h"

namespace zorv {

class StatusStrip;

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
  std::uint32_t& TestTimeStamp() override { return testTimeStamp_; }
  Prompts& prompts() override { return prompts_; }
  Clock& clock() override { return clock_; }
  TruckSession& Session() { return session_; }

  // The window's side of the link.
  FormBridge& Bridge() { return bridge_; }
  int PortNumber() const { return link_.Port(); }
  LinkControl* Link() const { return link_.Get(); }
  // Asked again each time the port dialog opens; without it the dialog lists the ports given
  // at construction.
  void SetPortDiscovery(std::function<PresentPorts()> discover) { discoverPorts_ = std::move(discover); }
  // A page gate for TabbedNotebook1; without one every page may be shown.
  void SetTabGate(std::function<bool(int)> gate);

  // A link event, as the message hook passes it on.
  void OnLinkEvent(const LinkEvent& event, std::uint64_t source);

  // Handlers.
  void Exit1Click();
  void PortNumber1Click();
  void UploadButtonClick();
  void SendCalClick();
  void DownloadButtonClick();
  void GetCalibration1Click();
  void UpgradeFirmware1Click();
  void ReadFirmware1Click();
  void ResetButtonClick();
  void Timer2Timer();
  void About1Click();
  void History1Click();
  WindowHistory& History() { return *history_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectHandlers();
  // Exit with unsent, unsaved edits asks first; false when the window stays open.
  bool MayClose();
  void CloseNow();
  void StartLink() { link_.Start(); }
  void StopLink();
  void HandleEvent(const LinkEvent& event, std::uint64_t source);
  // After a verified upgrade whose firmware changed the settings: restore or keep.
  void OfferKeptSettings();
  // Sends the image once the link is idle again (it is still finishing the download).
  void UploadWhenIdle(int triesLeft, const ImageBytes& bytes);
  // Replaces the link once the port's device is there again.
  void WatchForAdapter();
  // Send, Get, Upgrade, Read: a request the link cannot take now is refused by the link; the
  // message line says why.
  void Request(LinkJob job);

  Prompts& prompts_;
  Clock& clock_;
  PresentPorts ports_;
  std::function<PresentPorts()> discoverPorts_;

  TruckSession session_;
  std::uint32_t testTimeStamp_ = 0;

  MainMenuItems menu_;
  WindowFrame frame_;
  StatusStrip* strip_ = nullptr;
  WindowHistory* history_ = nullptr;  // a child of the window
  std::unique_ptr<HalfSentNote> halfSent_;  // on frame_'s message line
  QTimer* timer2_ = nullptr;

  UpgradeSettings upgradeSettings_;
  FormBridge bridge_;
  Refresher refresher_;
  WindowPages pages_;
  WindowLink link_;

  NoticeQueue notices_;
  bool centred_ = false;
  bool closing_ = false;
};

}  // namespace zorv
