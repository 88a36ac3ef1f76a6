#include "app/ZorvForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

#include "app/SplashForm.h"
#include "app/StatusStrip.h"
#include "app/WindowLinkEvents.h"
#include "host/HostSettings.h"
#include "image/DefaultImage.h"
#include "ui/files/SwitchFileCommands.h"
#include "ui/widgets/BoxExit.h"
#include "ui/widgets/GatedTabWidget.h"

namespace zorv {

constexpr int kTimerMs = 500;

TZorvForm::TZorvForm(Prompts& prompts, Clock& clock, LinkFactory linkFactory, PresentPorts ports,
                     QWidget* parent)
    : QMainWindow(parent),
      prompts_(prompts),
      clock_(clock),
      strip_(new StatusStrip),
      bridge_(*strip_, session_.Image(), session_.Trims(), prompts_, upgradeSettings_),
      refresher_(*this, [this](int page) { frame_.productNotebook->setCurrentIndex(page); }),
      link_(std::move(linkFactory), prompts_),
      commands_({link_, session_, bridge_, upgradeSettings_, prompts_, *this, *strip_, frame_},
                std::move(ports)),
      close_({*this, session_, link_, prompts_, [this] { SendCalClick(); },
              [this] { return SwitchFileCommands(*this).Save1Click(); }}) {
  setObjectName("ZorvForm");
  // [*]: the modified marker, shown while the image holds edits neither sent nor saved.
  setWindowTitle("Zorv Configuration Tool[*]");
  // Fixed single border with system menu and minimise button only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  link_.SetPort(PresetPortNumber(commands_.Ports()));
  history_ = new WindowHistory(*this, {[this] { return Image().bytes; },
                                       [this] { return ProductCode(); }});
  session_.SetHooks({
      // The box the user typed in stays this window's focus widget while a box of ours is up.
      .commitPendingEdit = [this] { CommitTypedText(focusWidget()); },
      .showImage = [this] { RefreshControls(1); },
      .showModified = [this](bool modified) { setWindowModified(modified); },
      .keepUnsentEdits = [this](bool unsent) { history_->KeepUnsentEdits(unsent); },
      .record = [this](history::EventKind kind, const QString& file) {
        history_->RecordSessionEvent(kind, file, bridge_);
      },
      // Back again, the adapter gets a new link, as Reset gives one: it opens and downloads.
      .watchForAdapter = [this] { link_.WatchForAdapter([this] { session_.Replugged(); }); },
      .restartLink = [this] { link_.Restart(); },
  });
  menu_ = BuildMainMenu(this);
  setMenuBar(menu_.bar);
  frame_ = BuildWindowFrame(*this, *strip_);
  events_ = std::make_unique<WindowLinkEvents>(WindowLinkEvents::Parts{
      *this, link_, bridge_, session_, upgradeSettings_, prompts_, *strip_, *frame_.messageLine,
      *history_, [this] { close_.CloseNow(); }});
  timer2_ = new QTimer(this);
  timer2_->setObjectName("Timer2");
  timer2_->setInterval(kTimerMs);
  FitWindowHeight(*this, *strip_);
  ConnectHandlers();
  pages_ = AttachPages(*this, refresher_, frame_, *this);
  FinishTabChain(*this, *strip_, frame_);
}

TZorvForm::~TZorvForm() {
  // The link calls back into the strip and the image: it goes first.
  link_.Stop();
  pages_.clear();
}

void TZorvForm::ConnectHandlers() {
  // Connected before any handler, so every menu item, shortcut and link button finds the
  // focused box's typed text already in the image.
  for (QAction* action : menu_.bar->findChildren<QAction*>()) {
    connect(action, &QAction::triggered, this, [this] { session_.CommitPendingEdit(); });
  }
  for (QPushButton* b : {strip_->UploadButton(), strip_->DownloadButton(), strip_->ResetButton()}) {
    connect(b, &QPushButton::clicked, this, [this] { session_.CommitPendingEdit(); });
  }
  connect(menu_.Exit1, &QAction::triggered, this, &TZorvForm::Exit1Click);
  // The action toggles its own check mark; the log follows it.
  connect(menu_.LogWindow1, &QAction::triggered, this,
          [this] { ShowByteLog(*this, *strip_, menu_.LogWindow1->isChecked()); });
  const auto showPage = [this](int page) { return [this, page] { frame_.productNotebook->setCurrentIndex(page); }; };
  connect(menu_.ZorvMenu1, &QAction::triggered, this, showPage(productpage::kZorv));
  connect(menu_.TarnovexMenu1, &QAction::triggered, this, showPage(productpage::kTarnovex));
  connect(menu_.HalverstonMenu1, &QAction::triggered, this, showPage(productpage::kHalverston));
  connect(menu_.PortNumber1, &QAction::triggered, this, &TZorvForm::PortNumber1Click);
  connect(menu_.SendCal, &QAction::triggered, this, &TZorvForm::SendCalClick);
  connect(menu_.GetCalibration1, &QAction::triggered, this, &TZorvForm::GetCalibration1Click);
  connect(menu_.UpgradeFirmware1, &QAction::triggered, this, &TZorvForm::UpgradeFirmware1Click);
  connect(menu_.ReadFirmware1, &QAction::triggered, this, &TZorvForm::ReadFirmware1Click);
  connect(menu_.About1, &QAction::triggered, this, &TZorvForm::About1Click);
  connect(menu_.History1, &QAction::triggered, this, &TZorvForm::History1Click);
  connect(menu_.HistoryRegister1, &QAction::triggered, this,
          [this] { history_->RunRegisterDialog(prompts_); });
  // Open1, Save1, Print1, Export1 and CompareWithFile1 are connected by the File menu's page.
  connect(strip_->UploadButton(), &QPushButton::clicked, this, &TZorvForm::UploadButtonClick);
  connect(strip_->DownloadButton(), &QPushButton::clicked, this, &TZorvForm::DownloadButtonClick);
  connect(strip_->ResetButton(), &QPushButton::clicked, this, &TZorvForm::ResetButtonClick);
  connect(timer2_, &QTimer::timeout, this, &TZorvForm::Timer2Timer);
}

void TZorvForm::SetTabGate(std::function<bool(int)> gate) { frame_.tabs->SetGate(std::move(gate)); }

void TZorvForm::FormCreate() {
  About1Click();

  link_.SetPort(PortNumberFromSetting(ReadSetting(kApplicationName, kComPortSetting, "1")));

  history_->Start(HistoryFile(), ReadRegisterAddress());
  link_.Start();
  LoadDefaultImage(Image(), Trims());

  frame_.tabs->setCurrentIndex(zorvtab::kJoysticks);
  // The trims tab owns these two; setting them from here fires no handler.
  if (auto* valves = findChild<QComboBox*>("ValveComboBox")) valves->setCurrentIndex(0);
  if (auto* memo = findChild<QWidget*>("ValveMemo")) memo->hide();
  SetProductCode(product::kZorvPages);

  RefreshControls(1);
  ImageKept();
  timer2_->start();
}

void TZorvForm::RefreshControls(int flag) {
  refresher_.RefreshControls(flag);
  session_.ShowModified();
}

void TZorvForm::closeEvent(QCloseEvent* event) {
  if (!close_.Accept()) {
    event->ignore();
    return;
  }
  link_.Stop();
  timer2_->stop();
  history_->Finish(prompts_);
  QMainWindow::closeEvent(event);
}

void TZorvForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (centred_) return;
  centred_ = true;
  CentreOnScreen(*this);
}

void TZorvForm::Timer2Timer() {
  StatusStrip::SetLamp(strip_->TXPanel(), kLampIdle);
  StatusStrip::SetLamp(strip_->RXPanel(), kLampIdle);
  link_.WatchIfDeviceMissing([this] { session_.Replugged(); });
  link_.EndStaleLiveTest(clock_);
  session_.WatchLink(!Link() || link_.InState(LinkState::ConnectedIdle));
  session_.ShowModified();
  events_->Tick();
}

void TZorvForm::About1Click() {
  TSplashForm about(this);
  prompts_.ShowModal(about);
}

void TZorvForm::OnLinkEvent(const LinkEvent& event, std::uint64_t source) {
  events_->Deliver(event, source);
}

}  // namespace zorv
