#pragma once
// The main window: menus, the product notebook with the Zorv tabs, the status strip and byte
// log, the 500 ms timer, the link notices, and the link itself, which it creates, replaces and
// destroys. The tabs fill the empty sheets in AttachPages().
#include <QMainWindow>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "app/ExitQuestion.h"
#include "app/FormBridge.h"
#include "app/LinkControl.h"
#include "app/LinkRequests.h"
#include "app/MainMenu.h"
#include "link/UpgradeSettings.h"
#include "app/WindowHistory.h"
#include "host/PortDiscovery.h"
#include "ui/PageHost.h"
#include "ui/RefreshControls.h"
#include "ui/widgets/MessageLine.h"

class QStackedWidget;
class QTimer;

namespace zorv {

class GatedTabWidget;
class StatusStrip;

// Tabs of TabbedNotebook1, in order.
namespace zorvtab {
inline constexpr int kJoysticks = 0;
inline constexpr int kGlobal = 1;
inline constexpr int kHoist = 2;
inline constexpr int kPlow = 3;
inline constexpr int kWing = 4;
inline constexpr int kBlade = 5;
inline constexpr int kCustom = 6;
inline constexpr int kFloatModes = 7;
inline constexpr int kRemoteSlave = 8;
inline constexpr int kCount = 9;
}  // namespace zorvtab

class TZorvForm final : public QMainWindow, public PageHost {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 578;
  static constexpr int kClientHeight = 446;

  TZorvForm(Prompts& prompts, Clock& clock, LinkFactory linkFactory, PresentPorts ports = {},
            QWidget* parent = nullptr);
  ~TZorvForm() override;

  // The start-up steps: about window, remembered port, link, defaults, first refresh.
  void FormCreate();

  // PageHost.
  SettingsImage& Image() override { return image_; }
  GlobalTrimPair& Trims() override { return trims_; }
  std::uint8_t ProductCode() const override { return productCode_.load(); }
  void SetProductCode(std::uint8_t code) override { productCode_.store(code); }
  std::uint8_t IdentifiedProduct() const override {
    return bridge_.LastDownloadLength() == 121 ? product::kZorv10 : ProductCode();
  }
  void RefreshControls(int flag) override;
  void ImageKept() override;
  void BeforeImageReplaced() override;
  void FileEvent(history::EventKind kind, const QString& file) override;
  void SetCommand(std::uint8_t command, std::uint8_t argument) override;
  std::uint32_t& TestTimeStamp() override { return testTimeStamp_; }
  Prompts& prompts() override { return prompts_; }
  Clock& clock() override { return clock_; }

  // The window's side of the link.
  FormBridge& Bridge() { return bridge_; }
  int PortNumber() const { return portNumber_; }
  LinkControl* Link() const { return link_.get(); }
  // Asked again each time the port dialog opens; without it the dialog lists the ports given
  // at construction.
  void SetPortDiscovery(std::function<PresentPorts()> discover) { discoverPorts_ = std::move(discover); }

  // A page gate for TabbedNotebook1; without one every page may be shown.
  void SetTabGate(std::function<bool(int)> gate);
  // The empty sheet of a Zorv tab or of a product page, for a tab class to fill.
  QWidget* Sheet(int tab) const;
  QWidget* ProductSheet(int page) const;

  // The link `source` copied a downloaded image into the window's.

  // A link event, as the message hook passes it on.
  void OnLinkEvent(const LinkEvent& event, std::uint64_t source);

  // Handlers.
  void Exit1Click();
  void LogWindow1Click();
  void ZorvMenu1Click();
  void TarnovexMenu1Click();
  void HalverstonMenu1Click();
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
  void BuildWindow();
  void ConnectHandlers();
  void AttachPages();
  // Creates a tab class on its sheet; the window keeps it for its own lifetime.
  template <typename Page>
  Page* Attach(QWidget* sheet) {
    auto page = std::make_shared<Page>(*this, sheet);
    pages_.push_back(page);
    return page.get();
  }
  // Exit with unsent, unsaved edits asks first; false when the window stays open.
  bool MayClose();
  void ShowModified();
  void StartLink();
  void StopLink();
  void HandleEvent(const LinkEvent& event, std::uint64_t source);
  // False when firmware is being written and the user chose to let it finish.
  bool MayStopLink();
  // After a verified upgrade whose firmware changed the settings: restore or keep.
  void OfferKeptSettings();
  // Sends the image once the link is idle again (it is still finishing the download).
  void UploadWhenIdle(int triesLeft, const ImageBytes& bytes);
  // Replaces the link once the port's device is there again.
  void WatchForAdapter();
  void FitWindowHeight();
  // Send, Get, Upgrade, Read: a request the link cannot take now is refused by the link; the
  // message line says why.
  void Request(LinkJob job);

  Prompts& prompts_;
  Clock& clock_;
  LinkFactory linkFactory_;
  PresentPorts ports_;
  std::function<PresentPorts()> discoverPorts_;

  SettingsImage image_;
  GlobalTrimPair trims_;
  std::atomic<std::uint8_t> productCode_{0};
  std::uint32_t testTimeStamp_ = 0;
  int portNumber_ = 1;

  MainMenuItems menu_;
  QStackedWidget* productNotebook_ = nullptr;
  GatedTabWidget* tabbedNotebook1_ = nullptr;
  std::vector<QWidget*> tabSheets_;
  std::vector<QWidget*> productSheets_;
  StatusStrip* strip_ = nullptr;
  WindowHistory* history_ = nullptr;  // a child of the window
  MessageLine* messageLine_ = nullptr;
  ReplugWatch replug_;
  QTimer* timer2_ = nullptr;

  UpgradeSettings upgradeSettings_;
  FormBridge bridge_;
  Refresher refresher_;
  std::vector<std::shared_ptr<void>> pages_;
  std::unique_ptr<LinkControl> link_;

  // Events that arrive while a box is open wait here, in order.
  bool inNotice_ = false;
  struct PendingNotice {
    LinkEvent event;
    std::uint64_t source;
  };
  std::deque<PendingNotice> pendingNotices_;
  bool centred_ = false;
  ExitGuard exitGuard_;
  bool closing_ = false;
};

}  // namespace zorv
