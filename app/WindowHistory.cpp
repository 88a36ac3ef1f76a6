#include "app/WindowHistory.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

#include "app/FormBridge.h"
#include "history/HistoryStore.h"
#include "history/TruckLabel.h"
#include "host/HostSettings.h"
#include "link/LinkJobs.h"  // PageCodeFor
#include "session/TruckSession.h"
#include "ui/Prompts.h"
#include "ui/history/HistoryWindow.h"
#include "ui/history/RegisterDialog.h"

namespace zorv {
namespace {

// How long exit waits for events still being written (not when another program holds the file).
constexpr int kFlushAtExitMs = 1000;
// How long opening the history window waits for events still being written.
constexpr int kFlushBeforeWindowMs = 1000;
// A note on the line goes as the window's other messages do.
constexpr int kNoteShownMs = 5000;

// The product whose byte layout `image` is in, as the window would show it under `productCode`
// (a Tarnovex image carries its marker under the Zorv pages' code).
QString ImageProductName(std::uint8_t productCode, const ImageBytes& image) {
  SettingsImage settings;
  settings.bytes = image;
  switch (SelectLayout(productCode, settings)) {
    case Layout::Tarnovex: return history::ProductName(product::kTarnovex);
    case Layout::Halverston: return history::ProductName(product::kHalverston);
    case Layout::Quirn: return history::ProductName(product::kQuirn);
    case Layout::Zorv: break;
  }
  return history::ProductName(product::kZorvPages);
}
#ifdef Q_OS_WIN
constexpr const char* kNoRegisterOnWindows =
    "The shared history register is not part of ZorvTrim for Windows.\n"
    "The service history is kept on this laptop.";
#endif

}  // namespace

WindowHistory::WindowHistory(QMainWindow& window, Sources sources)
    : QObject(&window), sources_(std::move(sources)) {
  // A line of its own: the link rewrites the status panel every 250 ms.
  line_ = new QLabel(&window);
  line_->setObjectName("HistoryLine");
  line_->setTextFormat(Qt::PlainText);
  line_->setMinimumWidth(100);
  lineExpiry_ = new QTimer(this);
  lineExpiry_->setSingleShot(true);
  connect(lineExpiry_, &QTimer::timeout, this, [this] { ShowLine({}); });

  auto* truckBox = new QWidget(&window);
  auto* truckLayout = new QHBoxLayout(truckBox);
  truckLayout->setContentsMargins(0, 0, 4, 0);
  auto* caption = new QLabel("Truc&k:", truckBox);
  truck_ = new QLineEdit(truckBox);
  truck_->setObjectName("TruckLabelEdit");
  truck_->setMaxLength(history::kTruckLabelLength);
  truck_->setFixedWidth(120);
  truck_->setPlaceholderText("Unit 42");
  truck_->setToolTip("The truck's label: it goes into every event of the history until changed");
  caption->setBuddy(truck_);
  truckLayout->addWidget(caption);
  truckLayout->addWidget(truck_);

  QStatusBar* bar = window.statusBar();
  bar->setObjectName("HistoryBar");
  bar->setSizeGripEnabled(false);
  bar->addWidget(line_, 1);
  bar->addPermanentWidget(truckBox);

  truck_->setText(ReadSetting(kApplicationName, kTruckLabelSetting, ""));
  connect(truck_, &QLineEdit::editingFinished, this, [this] {
    QString error;
    if (const auto label = history::CheckTruckLabel(truck_->text(), error)) {
      WriteSetting(kApplicationName, kTruckLabelSetting, *label);
    } else {
      ShowLine(error);
    }
  });
}

WindowHistory::~WindowHistory() {
  recorder_.reset();
  for (std::thread& retiring : retiring_) retiring.join();
}

void WindowHistory::Start(const QString& file, const history::RegisterAddress& shared) {
  if (recorder_) {
    retiring_.emplace_back([old = std::move(recorder_)]() mutable { old.reset(); });
  }
  const int generation = ++generation_;
  recorder_ = std::make_unique<history::HistoryRecorder>(
      file, this,
      [this, generation](const QString& line) {
        if (generation == generation_) ShowLine(line);
      },
      shared);
}

void WindowHistory::ShowLine(const QString& text, int shownMs) {
  lineExpiry_->stop();
  if (shownMs > 0) lineExpiry_->start(shownMs);
  line_->setText(text);
  line_->setToolTip(text);
}

history::Event WindowHistory::NewEvent(history::EventKind kind, const ImageBytes& image,
                                       std::uint8_t productCode) const {
  history::Event event = history::NewEvent(kind, image);
  event.product = ImageProductName(productCode, image);
  event.imageProduct = event.product;
  event.linkText = identification_;
  QString error;
  // A label the rule refuses (pasted tabs) is recorded cleaned by the store, never dropped.
  event.truck = history::CheckTruckLabel(truck_->text(), error).value_or(truck_->text().trimmed());
  return event;
}

void WindowHistory::Record(history::EventKind kind, const QString& file, const QString& chipLine,
                           std::optional<std::uint32_t> crc) {
  if (!recorder_) return;
  history::Event event = NewEvent(kind, sources_.image(), sources_.productCode());
  event.chipLine = chipLine;
  event.crc = crc;
  event.filePath = file;
  recorder_->Record(std::move(event));
}

void WindowHistory::RecordDownload(const ImageBytes& received, int length,
                                   std::optional<std::uint8_t> identification) {
  // The controller's own word, not the window's pages: after a swap at the same port the
  // pages may still be the previous controller's. Without it, the length tells the two Zorv
  // generations apart.
  QString named = identification ? history::ProductName(*identification) : QString();
  if (named.isEmpty()) named = history::ProductName(length == 121 ? product::kZorv10 : product::kZorv11);
  identification_ = named;
  if (!recorder_) return;
  const auto realLength = static_cast<std::size_t>(std::clamp(length, 0, int(kImageSize)));
  const std::uint8_t pages =
      identification ? PageCodeFor(*identification).value_or(sources_.productCode())
                     : sources_.productCode();
  history::Event event = NewEvent(history::EventKind::Downloaded, received, pages);
  event.imageLength = realLength;
  event.imageProduct = identification_;
  const ImageBytes shown = sources_.image();
  if (!std::equal(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(realLength),
                  shown.begin())) {
    event.repairedImage = shown;
  }
  recorder_->Record(std::move(event));
}

void WindowHistory::Finish(Prompts& prompts) {
  if (!recorder_) return;
  // A file another program holds will not be free within a second: keep the events at once.
  const bool held = recorder_->Line().startsWith("History file in use");
  const QString line = recorder_->Finish(held ? 0 : kFlushAtExitMs);
  recorder_.reset();
  if (line.contains(" kept in ") || line.contains(" lost")) {
    prompts.Message(Prompts::Kind::Information, "Service history", line);
  }
}

void WindowHistory::RecordSessionEvent(history::EventKind kind, const QString& file,
                                       const FormBridge& bridge) {
  if (kind == history::EventKind::Downloaded) {
    RecordDownload(bridge.LastDownload(), bridge.LastDownloadLength(), bridge.LastProduct());
  } else {
    Record(kind, file);
  }
}

void WindowHistory::KeepUnsentEdits(bool modified) {
  if (!modified) return;
  if (!recorder_ || !recorder_->Recording()) {
    ShowLine("Unsent edits were replaced and NOT kept: " +
             (recorder_ ? recorder_->Line() : QString("the history is off")));
    return;
  }
  Record(history::EventKind::ReplacedUnsent);
  ShowLine(kUnsentEditsKept, kNoteShownMs);
}

void WindowHistory::RecordFirmware(const QString& firmwareFile, const QString& chipLine,
                                   std::optional<std::uint32_t> fileCrc,
                                   std::optional<std::uint32_t> flashCrc) {
  if (!recorder_) return;
  history::Event event =
      NewEvent(history::EventKind::FirmwareInstalled, sources_.image(), sources_.productCode());
  event.chipLine = chipLine.trimmed();
  event.crc = fileCrc;
  event.flashCrc = flashCrc;
  event.filePath = firmwareFile;
  recorder_->Record(std::move(event));
}

std::optional<history::Event> WindowHistory::RunWindow(Prompts& prompts,
                                                       const SettingsImage& window,
                                                       std::uint8_t productCode) {
  QString file = HistoryFile();
  if (recorder_) {
    recorder_->Flush(kFlushBeforeWindowMs);
    file = recorder_->File();
  }
  HistoryWindow dialog(file, window, productCode, prompts, line_->window(),
                       recorder_ ? recorder_->Register() : ReadRegisterAddress());
  if (prompts.ShowModal(dialog) != HistoryWindow::kRestore) return std::nullopt;
  return dialog.Chosen();
}

void WindowHistory::RunAndRestore(Prompts& prompts, TruckSession& session) {
  const std::optional<history::Event> chosen =
      RunWindow(prompts, session.Image(), session.ProductCode());
  if (!chosen) return;
  session.BeforeReplace();
  session.Replace(chosen->image, false);
  session.Record(history::EventKind::Restored);
}

void WindowHistory::RunRegisterDialog(Prompts& prompts) {
#ifdef Q_OS_WIN
  // The register is reached through PostgreSQL's client library, which the Windows build
  // does not carry.
  prompts.Message(Prompts::Kind::Information, "History register", kNoRegisterOnWindows);
  return;
#endif
  RegisterDialog dialog(ReadRegisterAddress(), line_->window());
  if (prompts.ShowModal(dialog) != QDialog::Accepted) return;
  const history::RegisterAddress chosen = dialog.Address();
  WriteRegisterAddress(chosen);
  ShowLine({});
  const QString file = recorder_ ? recorder_->File() : HistoryFile();
  if (chosen.IsSet()) OfferEarlierEvents(prompts, file);
  Start(file, chosen);
}

void WindowHistory::OfferEarlierEvents(Prompts& prompts, const QString& file) {
  history::HistoryStore store(file);
  if (store.OpenForWriting().mode != history::StoreMode::ReadWrite) return;
  const long long earlier = store.NotWaitingCount();
  if (earlier <= 0) return;
  // Events the register holds already are not stored twice: sending them again is harmless.
  if (prompts.Confirm("History Register",
                      QString::number(earlier) +
                          " event(s) recorded on this laptop are not waiting for a register. "
                          "Send them to this register too?")) {
    store.MarkAllWaiting();
  }
}

}  // namespace zorv
