#include "app/WindowHistory.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QStandardPaths>
#include <QStatusBar>

#include "host/HostSettings.h"
#include "link/FirmwareJob.h"
#include "ui/Prompts.h"
#include "ui/history/HistoryWindow.h"
#include "ui/history/RegisterDialog.h"

namespace zorv {
namespace {

constexpr int kTruckLabelLength = 24;
// How long opening the history window waits for events still being written.
constexpr int kFlushBeforeWindowMs = 1000;
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

  auto* truckBox = new QWidget(&window);
  auto* truckLayout = new QHBoxLayout(truckBox);
  truckLayout->setContentsMargins(0, 0, 4, 0);
  auto* caption = new QLabel("Truc&k:", truckBox);
  truck_ = new QLineEdit(truckBox);
  truck_->setObjectName("TruckLabelEdit");
  truck_->setMaxLength(kTruckLabelLength);
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
    WriteSetting(kApplicationName, kTruckLabelSetting, truck_->text().trimmed());
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

void WindowHistory::ShowLine(const QString& text) {
  line_->setText(text);
  line_->setToolTip(text);
}

void WindowHistory::Record(history::EventKind kind, const QString& file, const QString& chipLine,
                           std::optional<std::uint32_t> crc) {
  if (!recorder_) return;
  history::Event event = history::NewEvent(kind, sources_.image());
  event.product = history::ProductName(sources_.productCode());
  event.linkText = sources_.linkText();
  event.chipLine = chipLine;
  event.crc = crc;
  event.filePath = file;
  event.truck = truck_->text().trimmed();
  recorder_->Record(std::move(event));
}

void WindowHistory::KeepUnsentEdits(bool modified) {
  if (!modified) return;
  if (!recorder_ || !recorder_->Recording()) {
    ShowLine("Unsent edits were replaced and NOT kept: " +
             (recorder_ ? recorder_->Line() : QString("the history is off")));
    return;
  }
  Record(history::EventKind::ReplacedUnsent);
  ShowLine(kUnsentEditsKept);
}

void WindowHistory::RecordFirmware(const QString& firmwareFile, const QString& chipLine) {
  // The line arrives with the boot loader's line end.
  Record(history::EventKind::FirmwareInstalled, firmwareFile, chipLine.trimmed(),
         FileCrc32(firmwareFile.toStdString()));
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
  Start(recorder_ ? recorder_->File() : HistoryFile(), chosen);
}

}  // namespace zorv
