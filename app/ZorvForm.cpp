#include "app/ZorvForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFocusFrame>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QScreen>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/SplashForm.h"
#include "app/StatusStrip.h"
#include "host/HostSettings.h"
#include "ui/port/PortChoiceDialog.h"
#include "image/DefaultImage.h"
#include "link/PortNames.h"
#include "link/TCOMThread.h"
#include "link/LinkJobs.h"
#include <QProgressBar>
#include "ui/files/FileMenu.h"
#include "ui/files/SwitchFileCommands.h"
#include "ui/pages/PageGate.h"
#include "ui/pages/custom/CustomTab.h"
#include "ui/pages/floats/FloatsTab.h"
#include "ui/pages/global/GlobalTab.h"
#include "ui/pages/halverston/HalverstonPage.h"
#include "ui/pages/joysticks/JoysticksTab.h"
#include "ui/pages/trims/ZorvTrimTabs.h"
#include "ui/pages/quirn/QuirnPage.h"
#include "ui/pages/remote/RemoteTab.h"
#include "ui/pages/tarnovex/TarnovexPage.h"
#include "ui/widgets/GatedTabWidget.h"

namespace zorv {
namespace {

struct SheetName {
  const char* objectName;
  const char* caption;
};

constexpr SheetName kTabSheets[zorvtab::kCount] = {
    {"JoysticksSheet", "Joysticks"}, {"GlobalSheet", "Global"},   {"HoistSheet", "Hoist (A2)"},
    {"PlowSheet", "Plow (A4)"},      {"WingSheet", "Wing (B)"},   {"BladeSheet", "Blade (C)"},
    {"CustomSheet", "Custom"},       {"FloatSheet", "Float Modes"}, {"RemoteSheet", "Remote/Slave"},
};

constexpr const char* kProductSheets[4] = {"ZorvPage", "TarnovexPage", "QuirnPage",
                                           "HalverstonPage"};

constexpr int kTimerMs = 500;
constexpr std::uint32_t kLiveTestLimitMs = 2500;

// Nine captions have to fit 578 pixels: a compact tab style.
constexpr const char* kCompactTabs =
    "QTabBar::tab { padding: 3px 4px 3px 4px; border: 1px solid #a0a0a0; border-bottom: none;"
    " background: #e4e4e4; margin-right: -1px; }"
    "QTabBar::tab:selected { background: #fbfbfb; margin-bottom: -1px; }"
    "QTabBar::tab:!selected { margin-top: 2px; }"
    "QTabWidget::pane { border: 1px solid #a0a0a0; top: -1px; }";

}  // namespace

TZorvForm::TZorvForm(Prompts& prompts, Clock& clock, LinkFactory linkFactory, PresentPorts ports,
                     QWidget* parent)
    : QMainWindow(parent),
      prompts_(prompts),
      clock_(clock),
      linkFactory_(std::move(linkFactory)),
      ports_(std::move(ports)),
      strip_(new StatusStrip),
      bridge_(*strip_, image_, trims_, prompts_, upgradeSettings_),
      refresher_(*this, [this](int page) { productNotebook_->setCurrentIndex(page); }) {
  setObjectName("ZorvForm");
  // [*]: the modified marker, shown while the image holds edits neither sent nor saved.
  setWindowTitle("Zorv Configuration Tool[*]");
  // Fixed single border with system menu and minimise button only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  portNumber_ = PresetPortNumber(ports_);
  history_ = new WindowHistory(*this, {[this] { return image_.bytes; },
                                       [this] { return ProductCode(); },
                                       [this] { return strip_->ConnectedPanel()->text(); }});
  BuildWindow();
  ConnectHandlers();
  bridge_.OnImageStored([this] {
    RefreshControls(1);
    ImageKept();
    history_->Record(history::EventKind::Downloaded);
  });
  bridge_.OnBeforeStore([this] { BeforeImageReplaced(); });
  AttachPages();
}

TZorvForm::~TZorvForm() {
  // The link calls back into the strip and the image: it goes first.
  StopLink();
  pages_.clear();
}

void TZorvForm::BuildWindow() {
  menu_ = BuildMainMenu(this);
  setMenuBar(menu_.bar);

  auto* client = new QWidget(this);
  client->setObjectName("ClientArea");
  productNotebook_ = new QStackedWidget(client);
  productNotebook_->setObjectName("ProductNotebook");
  for (const char* name : kProductSheets) {
    auto* sheet = new QWidget(productNotebook_);
    sheet->setObjectName(name);
    productNotebook_->addWidget(sheet);
    productSheets_.push_back(sheet);
  }

  QWidget* zorvPage = productSheets_[productpage::kZorv];
  tabbedNotebook1_ = new GatedTabWidget(zorvPage);
  tabbedNotebook1_->setObjectName("TabbedNotebook1");
  tabbedNotebook1_->setStyleSheet(kCompactTabs);
  tabbedNotebook1_->setUsesScrollButtons(false);
  tabbedNotebook1_->setElideMode(Qt::ElideNone);
  tabbedNotebook1_->tabBar()->setExpanding(false);
  QFont tabFont = tabbedNotebook1_->tabBar()->font();
  tabFont.setPointSizeF(tabFont.pointSizeF() * 0.9);
  tabbedNotebook1_->tabBar()->setFont(tabFont);
  for (const SheetName& tab : kTabSheets) {
    auto* sheet = new QWidget;
    sheet->setObjectName(tab.objectName);
    tabbedNotebook1_->addTab(sheet, tab.caption);
    tabSheets_.push_back(sheet);
  }
  auto* zorvLayout = new QVBoxLayout(zorvPage);
  zorvLayout->setContentsMargins(2, 2, 2, 0);
  zorvLayout->addWidget(tabbedNotebook1_);

  strip_->setParent(client);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(productNotebook_, 1);
  layout->addWidget(strip_);
  messageLine_ = new MessageLine(client);
  layout->addWidget(messageLine_);
  setCentralWidget(client);

  timer2_ = new QTimer(this);
  timer2_->setObjectName("Timer2");
  timer2_->setInterval(kTimerMs);

  FitWindowHeight();
}

void TZorvForm::FitWindowHeight() {
  const int clientHeight = kClientHeight + MessageLine::kHeight +
                          (strip_->LogShown() ? StatusStrip::kLogHeight : 0);
  centralWidget()->setFixedSize(kClientWidth, clientHeight);
  // The client area keeps its size; the history's message line sits below it.
  setFixedSize(kClientWidth,
               clientHeight + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

void TZorvForm::ConnectHandlers() {
  connect(menu_.Exit1, &QAction::triggered, this, &TZorvForm::Exit1Click);
  connect(menu_.LogWindow1, &QAction::triggered, this, &TZorvForm::LogWindow1Click);
  connect(menu_.ZorvMenu1, &QAction::triggered, this, &TZorvForm::ZorvMenu1Click);
  connect(menu_.TarnovexMenu1, &QAction::triggered, this, &TZorvForm::TarnovexMenu1Click);
  connect(menu_.HalverstonMenu1, &QAction::triggered, this, &TZorvForm::HalverstonMenu1Click);
  connect(menu_.PortNumber1, &QAction::triggered, this, &TZorvForm::PortNumber1Click);
  connect(menu_.SendCal, &QAction::triggered, this, &TZorvForm::SendCalClick);
  connect(menu_.GetCalibration1, &QAction::triggered, this, &TZorvForm::GetCalibration1Click);
  connect(menu_.UpgradeFirmware1, &QAction::triggered, this, &TZorvForm::UpgradeFirmware1Click);
  connect(menu_.ReadFirmware1, &QAction::triggered, this, &TZorvForm::ReadFirmware1Click);
  connect(menu_.About1, &QAction::triggered, this, &TZorvForm::About1Click);
  connect(menu_.History1, &QAction::triggered, this, &TZorvForm::History1Click);
  connect(menu_.HistoryRegister1, &QAction::triggered, this,
          [this] { history_->RunRegisterDialog(prompts_); });
  // Open1, Save1 and Print1 are connected by the switch file and report pages.
  connect(strip_->UploadButton(), &QPushButton::clicked, this, &TZorvForm::UploadButtonClick);
  connect(strip_->DownloadButton(), &QPushButton::clicked, this, &TZorvForm::DownloadButtonClick);
  connect(strip_->ResetButton(), &QPushButton::clicked, this, &TZorvForm::ResetButtonClick);
  connect(timer2_, &QTimer::timeout, this, &TZorvForm::Timer2Timer);
}

// Every tab class is created here on its sheet and registered for the refresh, the Zorv tabs
// in tab order. One line (or two) per page:
//   refresher_.AddZorvTarget(Attach<JoysticksTab>(Sheet(zorvtab::kJoysticks)));
//   refresher_.SetProductPage(productpage::kTarnovex,
//                             Attach<TarnovexPage>(ProductSheet(productpage::kTarnovex)));
void TZorvForm::AttachPages() {
  refresher_.AddZorvTarget(Attach<JoysticksTab>(Sheet(zorvtab::kJoysticks)));
  refresher_.AddZorvTarget(Attach<GlobalTab>(Sheet(zorvtab::kGlobal)));
  refresher_.AddZorvTarget(Attach<HoistTrimTab>(Sheet(zorvtab::kHoist)));
  refresher_.AddZorvTarget(Attach<PlowTrimTab>(Sheet(zorvtab::kPlow)));
  refresher_.AddZorvTarget(Attach<WingTrimTab>(Sheet(zorvtab::kWing)));
  refresher_.AddZorvTarget(Attach<BladeTrimTab>(Sheet(zorvtab::kBlade)));
  refresher_.AddZorvTarget(Attach<CustomTab>(Sheet(zorvtab::kCustom)));
  refresher_.AddZorvTarget(Attach<FloatsTab>(Sheet(zorvtab::kFloatModes)));
  refresher_.AddZorvTarget(Attach<RemoteTab>(Sheet(zorvtab::kRemoteSlave)));
  auto gate = std::make_shared<PageGate>(*this);
  pages_.push_back(gate);
  SetTabGate(gate->AsGate());
  Attach<FileMenu>(this);  // Open1, Save1, Print1
  refresher_.SetProductPage(productpage::kTarnovex,
                            Attach<TarnovexPage>(ProductSheet(productpage::kTarnovex)));
  refresher_.SetProductPage(productpage::kQuirn, Attach<QuirnPage>(ProductSheet(productpage::kQuirn)));
  refresher_.SetProductPage(productpage::kHalverston,
                            Attach<HalverstonPage>(ProductSheet(productpage::kHalverston)));
  // The pages' controls were made after the status strip: Tab runs from the tab bar through
  // the page to the strip's buttons and the byte log, and back to the tab bar.
  QWidget::setTabOrder(strip_->ResetButton(), strip_->Memo1());
  QWidget::setTabOrder(strip_->Memo1(), tabbedNotebook1_);
  // The style marks no focus on a scroll bar: a frame shows which bar the arrow keys move.
  QPointer<QFocusFrame> barFocus = new QFocusFrame(this);
  connect(qApp, &QApplication::focusChanged, this, [barFocus](QWidget*, QWidget* now) {
    if (barFocus) barFocus->setWidget(qobject_cast<QScrollBar*>(now));
  });
}

void TZorvForm::SetTabGate(std::function<bool(int)> gate) { tabbedNotebook1_->SetGate(std::move(gate)); }

QWidget* TZorvForm::Sheet(int tab) const {
  return tab >= 0 && tab < zorvtab::kCount ? tabSheets_[static_cast<std::size_t>(tab)] : nullptr;
}

QWidget* TZorvForm::ProductSheet(int page) const {
  return page >= 0 && page < 4 ? productSheets_[static_cast<std::size_t>(page)] : nullptr;
}

void TZorvForm::FormCreate() {
  About1Click();

  portNumber_ = 1;
  portNumber_ = PortNumberFromSetting(ReadSetting(kApplicationName, kComPortSetting, "1"));

  history_->Start(HistoryFile(), ReadRegisterAddress());
  StartLink();
  LoadDefaultImage(image_, trims_);

  tabbedNotebook1_->setCurrentIndex(zorvtab::kJoysticks);
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
  ShowModified();
}

void TZorvForm::ImageKept() {
  exitGuard_.Keep(image_);
  ShowModified();
}

void TZorvForm::BeforeImageReplaced() { history_->KeepUnsentEdits(exitGuard_.Modified(image_)); }

void TZorvForm::FileEvent(history::EventKind kind, const QString& file) {
  history_->Record(kind, file);
}

void TZorvForm::History1Click() {
  const std::optional<history::Event> chosen = history_->RunWindow(prompts_, image_, ProductCode());
  if (!chosen) return;
  // Restored into the window only: the user sends it as usual.
  BeforeImageReplaced();
  image_.bytes = chosen->image;
  RefreshControls(1);
  history_->Record(history::EventKind::Restored);
}

void TZorvForm::ShowModified() { setWindowModified(exitGuard_.Modified(image_)); }

bool TZorvForm::MayClose() {
  ShowModified();
  return exitGuard_.MayClose(
      image_, link_ && link_->State() == LinkState::ConnectedIdle, prompts_, this, [this] { SendCalClick(); },
      [this] { return SwitchFileCommands(*this).Save1Click(); });
}

void TZorvForm::SetCommand(std::uint8_t command, std::uint8_t argument) {
  // The pages drive one valve output while its button is held; 0 lets go.
  if (!link_) return;
  if (command == 0) {
    link_->Submit(LiveOutputOffJob{});
  } else {
    link_->Submit(LiveOutputJob{command, argument});
  }
}

void TZorvForm::StartLink() { link_ = linkFactory_ ? linkFactory_(portNumber_) : nullptr; }

void TZorvForm::StopLink() {
  replug_.Stop();
  link_.reset();
}

void TZorvForm::Request(LinkJob job) {
  const QString refused = RefusalText(link_.get(), job);
  if (!refused.isEmpty()) messageLine_->Show(refused);
  if (link_) link_->Submit(std::move(job));
}

void TZorvForm::Exit1Click() {
  if (!MayStopLink() || !MayClose()) return;
  closing_ = true;
  StopLink();
  close();
}

void TZorvForm::closeEvent(QCloseEvent* event) {
  if (!closing_ && (!MayStopLink() || !MayClose())) {
    event->ignore();
    return;
  }
  closing_ = true;
  StopLink();
  timer2_->stop();
  QMainWindow::closeEvent(event);
}

void TZorvForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (centred_) return;
  centred_ = true;
  if (const QScreen* screen = this->screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TZorvForm::LogWindow1Click() {
  // The action toggles its own check mark; the log follows it.
  strip_->ShowLog(menu_.LogWindow1->isChecked());
  FitWindowHeight();
}

void TZorvForm::ZorvMenu1Click() { productNotebook_->setCurrentIndex(productpage::kZorv); }
void TZorvForm::TarnovexMenu1Click() { productNotebook_->setCurrentIndex(productpage::kTarnovex); }
void TZorvForm::HalverstonMenu1Click() {
  productNotebook_->setCurrentIndex(productpage::kHalverston);
}

void TZorvForm::PortNumber1Click() {
  // Asked before the port is chosen, so "No" leaves the remembered port as it was.
  if (!MayStopLink()) return;
  if (discoverPorts_) ports_ = discoverPorts_();
  portNumber_ = ChoosePort(ports_, portNumber_,
                           [this](QDialog& dialog) { return prompts_.ShowModal(dialog); });
  WriteSetting(kApplicationName, kComPortSetting, QString::number(portNumber_));
  StopLink();
  StartLink();
}

bool TZorvForm::MayStopLink() {
  if (!link_ || link_->State() != LinkState::Programming) return true;
  const bool stop = prompts_.Confirm(
      "Warning",
      "Firmware is being written. Stopping now leaves the controller without a working "
      "program. Stop anyway?");
  // Programming may have ended while the question was open: then the answer changes nothing.
  return stop && link_ && link_->State() == LinkState::Programming;
}

void TZorvForm::UploadButtonClick() { SendCalClick(); }
void TZorvForm::SendCalClick() {
  Request(bridge_.Upload(image_.bytes, link_ ? link_->NoticeSource() : 0));
}
void TZorvForm::DownloadButtonClick() { Request(DownloadJob{}); }
void TZorvForm::GetCalibration1Click() { Request(DownloadJob{}); }
void TZorvForm::UpgradeFirmware1Click() {
  if (link_ && link_->State() == LinkState::ConnectedIdle) {
    // The settings of the last download go to a file first: new firmware may reset them.
    const Outcome kept = upgradeSettings_.KeepBeforeUpgrade(KeptSettingsFolder(), static_cast<char>(ProductCode()));
    if (!kept) {
      prompts_.Message(Prompts::Kind::Warning, "Warning",
                       "The controller's settings could not be kept before the upgrade: " +
                           QString::fromStdString(kept.error));
    }
  }
  Request(OpenBootLoaderJob{});
}

void TZorvForm::ReadFirmware1Click() {
  const QString refused = RefusalText(link_.get(), ReadFlashJob{});
  if (!refused.isEmpty()) {
    messageLine_->Show(refused);
    return;
  }
  // The target is chosen and checked before the controller is touched: a folder that cannot
  // take the file fails now, not after minutes of reading.
  const std::string file = bridge_.SelectFirmwareReadFile();
  if (file.empty()) return;
  if (const std::string problem = FormBridge::ReadTargetProblem(file); !problem.empty()) {
    bridge_.ShowLinkError(problem);
    return;
  }
  bridge_.SetReadTarget(file);
  Request(ReadFlashJob{});
}

void TZorvForm::ResetButtonClick() {
  if (link_ && link_->State() == LinkState::Programming && !MayStopLink()) return;
  if (link_ && link_->State() == LinkState::ConnectedIdle) {
    // The link sends 0xFF and asks to be replaced.
    link_->Submit(ResetJob{});
  } else {
    StopLink();
    StartLink();
  }
  RefreshControls(1);
  strip_->Memo1()->clear();
}

void TZorvForm::WatchForAdapter() {
  const QString device =
      QString::fromStdString(DeviceNameForPort(link_ ? link_->PortNumber() : portNumber_));
  if (device.isEmpty()) return;
  // Back again, the adapter gets a new link, as Reset gives one: it opens and downloads.
  replug_.Watch(device, [this] {
    StopLink();
    StartLink();
  });
}

void TZorvForm::Timer2Timer() {
  StatusStrip::SetLamp(strip_->TXPanel(), kLampIdle);
  StatusStrip::SetLamp(strip_->RXPanel(), kLampIdle);
  // A port that failed to open because its device is missing (Reset while unplugged, or the
  // adapter not yet plugged in) opens by itself once the device appears.
  if (link_ && link_->State() == LinkState::PortFailed && !replug_.Watching()) {
    const std::string device = DeviceNameForPort(link_->PortNumber());
    if (!device.empty() && !QFileInfo::exists(QString::fromStdString(device))) WatchForAdapter();
  }
  if (testTimeStamp_ != 0 && clock_.Since(testTimeStamp_) > kLiveTestLimitMs) {
    SetCommand(0, 0);
    testTimeStamp_ = 0;
  }
  exitGuard_.WatchLink(!link_ || link_->State() == LinkState::ConnectedIdle);
  ShowModified();
}

void TZorvForm::About1Click() {
  TSplashForm about(this);
  prompts_.ShowModal(about);
}

void TZorvForm::OnLinkEvent(const LinkEvent& event, std::uint64_t source) {
  // A box runs its own event loop; what arrives meanwhile waits for it to close, in order. The
  // status never opens one: it is shown at once, so a long box does not freeze the strip. The
  // link's own life goes on under a box too: an unplug is watched for and a restart made now,
  // so the link comes back whatever box is open.
  const bool quiet = std::holds_alternative<StatusEvent>(event) ||
                     std::holds_alternative<ProgressEvent>(event) ||
                     std::holds_alternative<UnpluggedEvent>(event) ||
                     std::holds_alternative<RestartWantedEvent>(event);
  if (inNotice_ && !quiet) {
    pendingNotices_.push_back({event, source});
    return;
  }
  if (quiet) {
    HandleEvent(event, source);
    return;
  }
  inNotice_ = true;
  HandleEvent(event, source);
  while (!pendingNotices_.empty()) {
    const PendingNotice next = std::move(pendingNotices_.front());
    pendingNotices_.pop_front();
    HandleEvent(next.event, next.source);
  }
  inNotice_ = false;
}

void TZorvForm::OfferKeptSettings() {
  const std::optional<ImageBytes> kept = upgradeSettings_.ChangedByUpgrade();
  if (!kept) return;
  const QString file = upgradeSettings_.KeptFile();
  const int answer = prompts_.Choose(
      Prompts::Kind::Warning, "Settings changed",
      "The new firmware changed the controller's settings.\n\n\"Restore settings\" sends the "
      "settings the controller had before the upgrade" +
          (file.isEmpty() ? QString(".") : " (kept in " + file + ").") +
          "\n\"Keep controller's\" keeps what the new firmware holds.",
      {"Restore settings", "Keep controller's"}, 0);
  if (answer != 0) return;
  BeforeImageReplaced();
  image_.bytes = *kept;
  RefreshControls(1);
  // The kept bytes exactly as they were: the refresh's repairs are for the pages, not for what
  // goes back to the controller.
  UploadWhenIdle(100, *kept);
}

void TZorvForm::UploadWhenIdle(int triesLeft, const ImageBytes& bytes) {
  if (!link_) return;
  if (link_->State() == LinkState::ConnectedIdle &&
      link_->Submit(bridge_.Upload(bytes, link_->NoticeSource()))) {
    return;
  }
  if (triesLeft <= 0) {
    prompts_.Message(Prompts::Kind::Error, "Error",
                     "The controller did not come back: the kept settings are in the window. "
                     "Send them with Send Cal once it is connected.");
    return;
  }
  QPointer<TZorvForm> self(this);
  QTimer::singleShot(100, this, [self, triesLeft, bytes] {
    if (self) self->UploadWhenIdle(triesLeft - 1, bytes);
  });
}

void TZorvForm::HandleEvent(const LinkEvent& event, std::uint64_t source) {
  // A replaced link's events are dropped: its transfer was abandoned, its questions are moot.
  const bool current = source == 0 || (link_ && source == link_->NoticeSource());
  if (!current) return;
  if (const auto* downloaded = std::get_if<DownloadedEvent>(&event)) {
    // The pages follow the product the controller named (a Zorv v1.0 leaves them as they are).
    if (const auto page = PageCodeFor(downloaded->productCode)) SetProductCode(*page);
  }
  bridge_.Handle(event, link_.get());
  if (std::holds_alternative<DownloadedEvent>(event)) {
    prompts_.Message(Prompts::Kind::Information, "Information", "Download Successful!");
    RefreshControls(1);
    ImageKept();
    strip_->ProgressGauge()->setValue(0);
    OfferKeptSettings();
  } else if (const auto* finished = std::get_if<JobFinishedEvent>(&event)) {
    if (finished->job == JobKind::Upload && finished->result == JobResult::Done) {
      prompts_.Message(Prompts::Kind::Information, "Information", "Upload Successful!");
      strip_->ProgressGauge()->setValue(0);
      ImageKept();
      history_->Record(history::EventKind::Uploaded);
      if (exitGuard_.UploadSucceeded()) {  // "Send to controller" on Exit
        closing_ = true;
        StopLink();
        close();
      }
    } else if (finished->job == JobKind::Upgrade && finished->result == JobResult::Done) {
      upgradeSettings_.UpgradeVerified();
      // Both CRCs travel in the event; the history keeps the file's, of the bytes written.
      history_->RecordFirmware(QString::fromStdString(finished->fileName),
                               QString::fromStdString(finished->chipLine),
                               finished->crcs ? std::optional(finished->crcs->file) : std::nullopt);
    }
  } else if (std::holds_alternative<UnpluggedEvent>(event)) {
    WatchForAdapter();
  } else if (std::holds_alternative<RestartWantedEvent>(event)) {
    StopLink();
    StartLink();
  }
}

}  // namespace zorv
