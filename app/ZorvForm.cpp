#include "app/ZorvForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>

#include "app/ExitQuestion.h"
#include "app/SplashForm.h"
#include "app/StatusStrip.h"
#include "host/HostSettings.h"
#include "image/DefaultImage.h"
#include "link/PortNames.h"
#include "link/TCOMThread.h"
#include "ui/files/SwitchFileCommands.h"
#include "ui/port/PortChoiceDialog.h"
#include "ui/widgets/BoxExit.h"
#include "ui/widgets/GatedTabWidget.h"
#include "ui/widgets/MessageLine.h"

namespace zorv {
namespace {

constexpr int kTimerMs = 500;
constexpr std::uint32_t kLiveTestLimitMs = 2500;

}  // namespace

TZorvForm::TZorvForm(Prompts& prompts, Clock& clock, LinkFactory linkFactory, PresentPorts ports,
                     QWidget* parent)
    : QMainWindow(parent),
      prompts_(prompts),
      clock_(clock),
      linkFactory_(std::move(linkFactory)),
      ports_(std::move(ports)),
      strip_(new StatusStrip),
      bridge_(*strip_, session_.Image(), session_.Trims(), prompts_, upgradeSettings_),
      refresher_(*this, [this](int page) { frame_.productNotebook->setCurrentIndex(page); }) {
  setObjectName("ZorvForm");
  // [*]: the modified marker, shown while the image holds edits neither sent nor saved.
  setWindowTitle("Zorv Configuration Tool[*]");
  // Fixed single border with system menu and minimise button only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  portNumber_ = PresetPortNumber(ports_);
  history_ = new WindowHistory(*this, {[this] { return Image().bytes; },
                                       [this] { return ProductCode(); }});
  session_.SetHooks({
      // The box the user typed in stays this window's focus widget while a box of ours is up.
      .commitPendingEdit = [this] { CommitTypedText(focusWidget()); },
      .showImage = [this] { RefreshControls(1); },
      .showModified = [this](bool modified) { setWindowModified(modified); },
      .keepUnsentEdits = [this](bool unsent) { history_->KeepUnsentEdits(unsent); },
      .record =
          [this](history::EventKind kind, const QString& file) {
            // A download is recorded as the controller sent it, before the refresh's repairs.
            if (kind == history::EventKind::Downloaded) {
              history_->RecordDownload(bridge_.LastDownload(), bridge_.LastDownloadLength());
            } else {
              history_->Record(kind, file);
            }
          },
      .watchForAdapter = [this] { WatchForAdapter(); },
      .restartLink = [this] { StopLink(); StartLink(); },
  });
  menu_ = BuildMainMenu(this);
  setMenuBar(menu_.bar);
  frame_ = BuildWindowFrame(*this, *strip_);
  timer2_ = new QTimer(this);
  timer2_->setObjectName("Timer2");
  timer2_->setInterval(kTimerMs);
  FitWindowHeight(*this, *strip_);
  ConnectHandlers();
  bridge_.OnImageStored([this] { session_.DownloadArrived(); });
  bridge_.OnBeforeStore([this] { session_.DownloadArriving(); });
  pages_ = AttachPages(*this, refresher_, frame_, *this);
  FinishTabChain(*this, *strip_, frame_);
}

TZorvForm::~TZorvForm() {
  // The link calls back into the strip and the image: it goes first.
  StopLink();
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
  connect(menu_.LogWindow1, &QAction::triggered, this, [this] {
    // The action toggles its own check mark; the log follows it.
    strip_->ShowLog(menu_.LogWindow1->isChecked());
    FitWindowHeight(*this, *strip_);
  });
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

  portNumber_ = 1;
  portNumber_ = PortNumberFromSetting(ReadSetting(kApplicationName, kComPortSetting, "1"));

  history_->Start(HistoryFile(), ReadRegisterAddress());
  StartLink();
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

void TZorvForm::History1Click() {
  const std::optional<history::Event> chosen = history_->RunWindow(prompts_, Image(), ProductCode());
  if (!chosen) return;
  // Restored into the window only: the user sends it as usual.
  session_.BeforeReplace();
  session_.Replace(chosen->image, false);
  session_.Record(history::EventKind::Restored);
}

bool TZorvForm::MayClose() {
  session_.CommitPendingEdit();
  session_.ShowModified();
  if (!session_.Modified()) return true;
  const bool canSend = link_ && link_->State() == LinkState::ConnectedIdle;
  switch (AskExit(canSend, prompts_, this)) {
    case ExitAnswer::Send:
      session_.CloseAfterUpload();
      SendCalClick();
      return false;
    case ExitAnswer::Save: return SwitchFileCommands(*this).Save1Click();
    case ExitAnswer::Discard: return true;
    default: return false;  // Cancel, Escape, the close box
  }
}

void TZorvForm::CloseNow() {
  closing_ = true;
  StopLink();
  close();
}

void TZorvForm::SetCommand(std::uint8_t command, std::uint8_t argument) {
  if (link_) link_->SetCommand(command, argument);
}

void TZorvForm::StartLink() { link_ = linkFactory_ ? linkFactory_(portNumber_) : nullptr; }

void TZorvForm::StopLink() {
  replug_.Stop();
  link_.reset();
}

void TZorvForm::Request(std::uint8_t command) {
  // An upload sends the image with the typed text in it, and remembers what it sent.
  if (command == command::kUpload) session_.UploadStarting();
  const QString refused = RefusalText(link_.get(), command);
  if (!refused.isEmpty()) frame_.messageLine->Show(refused);
  SetCommand(command, 0);
}

void TZorvForm::Exit1Click() {
  if (!MayStopLink() || !MayClose()) return;
  CloseNow();
}

void TZorvForm::closeEvent(QCloseEvent* event) {
  if (!closing_ && (!MayStopLink() || !MayClose())) {
    event->ignore();
    return;
  }
  closing_ = true;
  StopLink();
  timer2_->stop();
  history_->Finish(prompts_);
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

void TZorvForm::UploadButtonClick() { Request(command::kUpload); }
void TZorvForm::SendCalClick() { Request(command::kUpload); }
void TZorvForm::DownloadButtonClick() { Request(command::kDownload); }
void TZorvForm::GetCalibration1Click() { Request(command::kDownload); }
void TZorvForm::ReadFirmware1Click() { Request(command::kReadFirmware); }

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
  Request(command::kUpgradeFirmware);
}

void TZorvForm::ResetButtonClick() {
  if (link_ && link_->State() == LinkState::Programming && !MayStopLink()) return;
  if (link_ && link_->State() == LinkState::ConnectedIdle) {
    // The link sends 0xFF and asks to be replaced by notice 255.
    link_->SetCommand(command::kReset, 0);
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
  replug_.Watch(device, [this] { session_.Replugged(); });
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
  session_.WatchLink(!link_ || link_->State() == LinkState::ConnectedIdle);
  session_.ShowModified();
}

void TZorvForm::About1Click() {
  TSplashForm about(this);
  prompts_.ShowModal(about);
}

void TZorvForm::LinkNotice(std::uint8_t code, std::uint8_t value, std::uint64_t source) {
  // A success box runs its own event loop; what arrives meanwhile waits for it to close.
  if (inNotice_) {
    pendingNotices_.push_back({code, value, source});
    return;
  }
  inNotice_ = true;
  HandleNotice(code, value, source);
  while (!pendingNotices_.empty()) {
    const PendingNotice next = pendingNotices_.front();
    pendingNotices_.pop_front();
    HandleNotice(next.code, next.value, next.source);
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
  session_.BeforeReplace();
  session_.Replace(*kept, false);
  UploadWhenIdle(100);
}

void TZorvForm::UploadWhenIdle(int triesLeft) {
  if (!link_) return;
  if (link_->State() == LinkState::ConnectedIdle) {
    session_.UploadStarting();
    link_->SetCommand(command::kUpload, 0);
    return;
  }
  if (triesLeft <= 0) {
    prompts_.Message(Prompts::Kind::Error, "Error",
                     "The controller did not come back: the kept settings are in the window. "
                     "Send them with Send Cal once it is connected.");
    return;
  }
  QPointer<TZorvForm> self(this);
  QTimer::singleShot(100, this, [self, triesLeft] {
    if (self) self->UploadWhenIdle(triesLeft - 1);
  });
}

void TZorvForm::HandleNotice(std::uint8_t code, std::uint8_t value, std::uint64_t source) {
  // A replaced link's transfer was abandoned: no success box (a store that did run was shown
  // when it ran).
  if ((code == notice::kUploadDone || code == notice::kDownloadDone) && source != 0 &&
      (!link_ || source != link_->NoticeSource())) {
    return;
  }
  switch (code) {
    case notice::kUploadDone: {
      // Taken before the box opens: the timer must not read the idle link as a failure.
      const bool closeAfter = session_.TakeCloseAfterUpload();
      session_.UploadFinished();
      prompts_.Message(Prompts::Kind::Information, "Information", "Upload Successful!");
      if (link_) link_->ClearProgress();
      if (closeAfter) CloseNow();  // "Send to controller" on Exit
      break;
    }
    case notice::kDownloadDone:
      prompts_.Message(Prompts::Kind::Information, "Information", "Download Successful!");
      RefreshControls(1);
      ImageKept();
      if (link_) link_->ClearProgress();
      OfferKeptSettings();
      break;
    case notice::kFirmwareInstalled:
      upgradeSettings_.UpgradeVerified();
      history_->RecordFirmware(bridge_.FirmwareFile(), QString::fromStdString(flash_.chipLine));
      break;
    case notice::kByteReceived:
      if (strip_->LogShown()) strip_->AppendLogLine("< " + QString::number(value));
      break;
    case notice::kByteSent:
      if (strip_->LogShown()) strip_->AppendLogLine("> " + QString::number(value));
      break;
    case notice::kAdapterUnplugged:
      if (source != 0 && link_ && source != link_->NoticeSource()) break;
      session_.Unplugged();
      break;
    case notice::kRestartLink:
      // The old link repeats its request until it is gone; one that is already replaced must
      // not take the new link down with it.
      if (source != 0 && link_ && source != link_->NoticeSource()) break;
      StopLink();
      StartLink();
      break;
    default: break;
  }
}

}  // namespace zorv
