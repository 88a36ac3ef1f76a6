#include "app/ZorvForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>

#include "app/ExitQuestion.h"
#include "app/FirmwareCommands.h"
#include "app/KeptSettingsOffer.h"
#include "app/SplashForm.h"
#include "app/StatusStrip.h"
#include "host/HostSettings.h"
#include "image/DefaultImage.h"
#include "link/TCOMThread.h"
#include "link/LinkJobs.h"
#include <QProgressBar>
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
      ports_(std::move(ports)),
      strip_(new StatusStrip),
      bridge_(*strip_, session_.Image(), session_.Trims(), prompts_, upgradeSettings_),
      refresher_(*this, [this](int page) { frame_.productNotebook->setCurrentIndex(page); }),
      link_(std::move(linkFactory), prompts_),
      notices_([this](const LinkEvent& event, std::uint64_t source) { HandleEvent(event, source); }) {
  setObjectName("ZorvForm");
  // [*]: the modified marker, shown while the image holds edits neither sent nor saved.
  setWindowTitle("Zorv Configuration Tool[*]");
  // Fixed single border with system menu and minimise button only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  link_.SetPort(PresetPortNumber(ports_));
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
              history_->RecordDownload(bridge_.LastDownload(), bridge_.LastDownloadLength(),
                                       bridge_.LastProduct());
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
  halfSent_ = std::make_unique<HalfSentNote>(*frame_.messageLine);
  timer2_ = new QTimer(this);
  timer2_->setObjectName("Timer2");
  timer2_->setInterval(kTimerMs);
  FitWindowHeight(*this, *strip_);
  ConnectHandlers();
  bridge_.OnImageStored([this] { session_.DownloadArrived(); });
  bridge_.OnBeforeStore([this] {
    // Unsent edits are kept under the product they were made for; then the pages follow the
    // product the controller named (a Zorv v1.0 leaves them as they are).
    session_.DownloadArriving();
    if (const auto product = bridge_.LastProduct()) {
      if (const auto page = PageCodeFor(*product)) SetProductCode(*page);
    }
  });
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

  link_.SetPort(PortNumberFromSetting(ReadSetting(kApplicationName, kComPortSetting, "1")));

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
  switch (AskExit(link_.InState(LinkState::ConnectedIdle), prompts_, this)) {
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

void TZorvForm::StopLink() {
  if (halfSent_) halfSent_->LinkReplaced();
  link_.Stop();
}

void TZorvForm::Request(LinkJob job) {
  const QString refused = link_.Request(std::move(job));
  if (!refused.isEmpty()) frame_.messageLine->Show(refused);
}

void TZorvForm::Exit1Click() {
  if (!link_.MayStop() || !MayClose()) return;
  CloseNow();
}

void TZorvForm::closeEvent(QCloseEvent* event) {
  if (!closing_ && (!link_.MayStop() || !MayClose())) {
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
  if (!link_.MayStop()) return;
  if (discoverPorts_) ports_ = discoverPorts_();
  link_.SetPort(ChoosePort(ports_, link_.Port(),
                           [this](QDialog& dialog) { return prompts_.ShowModal(dialog); }));
  WriteSetting(kApplicationName, kComPortSetting, QString::number(link_.Port()));
  StopLink();
  StartLink();
}

void TZorvForm::UploadButtonClick() { SendCalClick(); }
void TZorvForm::SendCalClick() {
  // The image with the typed text in it; the session remembers what went, to mark it sent.
  const ImageBytes sending = session_.UploadStarting();
  Request(bridge_.Upload(sending, Link() ? Link()->NoticeSource() : 0));
}
void TZorvForm::DownloadButtonClick() { Request(DownloadJob{}); }
void TZorvForm::GetCalibration1Click() { Request(DownloadJob{}); }
void TZorvForm::UpgradeFirmware1Click() {
  if (link_.InState(LinkState::ConnectedIdle)) {
    KeepSettingsBeforeUpgrade(upgradeSettings_, ProductCode(), prompts_);
  }
  Request(OpenBootLoaderJob{});
}

void TZorvForm::ReadFirmware1Click() {
  const QString refused = RefusalText(Link(), ReadFlashJob{});
  if (!refused.isEmpty()) {
    frame_.messageLine->Show(refused);
    return;
  }
  if (ChooseReadTarget(bridge_)) Request(ReadFlashJob{});
}

void TZorvForm::ResetButtonClick() {
  if (!link_.MayStop()) return;
  if (link_.InState(LinkState::ConnectedIdle) && Link()->Submit(ResetJob{})) {
    // The link sends 0xFF and asks to be replaced.
    link_.Retire();
  } else {
    StopLink();
    StartLink();
  }
  RefreshControls(1);
  strip_->Memo1()->clear();
}

void TZorvForm::WatchForAdapter() {
  // Back again, the adapter gets a new link, as Reset gives one: it opens and downloads.
  link_.WatchForAdapter([this] { session_.Replugged(); });
}

void TZorvForm::Timer2Timer() {
  StatusStrip::SetLamp(strip_->TXPanel(), kLampIdle);
  StatusStrip::SetLamp(strip_->RXPanel(), kLampIdle);
  link_.WatchIfDeviceMissing([this] { session_.Replugged(); });
  if (testTimeStamp_ != 0 && clock_.Since(testTimeStamp_) > kLiveTestLimitMs) {
    SetCommand(0, 0);
    testTimeStamp_ = 0;
  }
  session_.WatchLink(!Link() || link_.InState(LinkState::ConnectedIdle));
  session_.ShowModified();
  halfSent_->Tick();
}

void TZorvForm::About1Click() {
  TSplashForm about(this);
  prompts_.ShowModal(about);
}

void TZorvForm::OnLinkEvent(const LinkEvent& event, std::uint64_t source) {
  notices_.Deliver(event, source);
}

void TZorvForm::OfferKeptSettings() {
  const std::optional<ImageBytes> kept = KeptSettingsToRestore(upgradeSettings_, prompts_);
  if (!kept) return;
  session_.BeforeReplace();
  session_.Replace(*kept, false);
  // The kept bytes exactly as they were: the refresh's repairs are for the pages, not for what
  // goes back to the controller.
  UploadWhenIdle(100, *kept);
}

void TZorvForm::UploadWhenIdle(int triesLeft, const ImageBytes& bytes) {
  if (!Link()) return;
  if (link_.InState(LinkState::ConnectedIdle) &&
      Link()->Submit(bridge_.Upload(bytes, Link()->NoticeSource()))) {
    session_.UploadStarting(bytes);
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
  if (!link_.Current(source)) return;
  // After Reset only the old link's status and its wish to be replaced count: a download that
  // crossed the click is neither shown nor stored.
  if (link_.Retiring() && !std::holds_alternative<RestartWantedEvent>(event) &&
      !std::holds_alternative<StatusEvent>(event)) {
    return;
  }
  halfSent_->Seen(event);
  bridge_.Handle(event, Link());
  if (std::holds_alternative<DownloadedEvent>(event)) {
    prompts_.Message(Prompts::Kind::Information, "Information", "Download Successful!");
    strip_->ProgressGauge()->setValue(0);
    OfferKeptSettings();
  } else if (const auto* finished = std::get_if<JobFinishedEvent>(&event)) {
    if (finished->job == JobKind::Upload && finished->result == JobResult::Done) {
      // Taken before the box opens: the timer must not read the idle link as a failure.
      const bool closeAfter = session_.TakeCloseAfterUpload();
      session_.UploadFinished();
      prompts_.Message(Prompts::Kind::Information, "Information", "Upload Successful!");
      strip_->ProgressGauge()->setValue(0);
      if (closeAfter) CloseNow();  // "Send to controller" on Exit
    } else if (finished->job == JobKind::Upgrade && finished->result == JobResult::Done) {
      upgradeSettings_.UpgradeVerified();
      history_->RecordFirmware(QString::fromStdString(finished->fileName),
                               QString::fromStdString(finished->chipLine),
                               finished->crcs ? std::optional(finished->crcs->file) : std::nullopt,
                               finished->crcs ? std::optional(finished->crcs->flash) : std::nullopt);
    }
  } else if (std::holds_alternative<UnpluggedEvent>(event)) {
    session_.Unplugged();
  } else if (std::holds_alternative<RestartWantedEvent>(event)) {
    StopLink();
    StartLink();
  }
}

}  // namespace zorv
