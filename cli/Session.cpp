#include "cli/Session.h"

#include <algorithm>

#include "host/HostSettings.h"
#include "host/RegisterSetting.h"
#include "image/Catalogue.h"

namespace zorv::cli {
namespace {

// A transfer has its own 1 s silence limit; this only guards against a link that never ends.
constexpr std::uint32_t kTransferCapMs = 60000;
// The link is idle again once the controller identifies after a transfer (every 200 ms).
constexpr std::uint32_t kIdleWaitMs = 5000;
// How long the end of a run waits for the history to be written.
constexpr int kHistoryFlushMs = 5000;

}  // namespace

Session::Session(const Common& options)
    : options_(options),
      progress_(options.quiet),
      link_(bridge_, options.port),
      // The shop's register when the window set one: events it cannot take now wait in the
      // local file and go with the next run of either program.
      history_(std::make_unique<history::HistoryRecorder>(HistoryFile(), &context_,
                                                          [](const QString&) {},
                                                          ReadRegisterAddress())) {}

Session::~Session() {
  // What could not be written is kept for the next run, and the line says so.
  const QString line = history_->Finish(kHistoryFlushMs);
  if (!line.isEmpty()) Err(line);
}

QString Session::ConnectAndDownload() {
  const QString connected = link_.Connect(options_.timeoutSeconds);
  if (!connected.isEmpty()) return connected;
  const bool downloaded = link_.RunUntil(
      [this] {
        return bridge_.downloads > 0 || link_.State() == LinkState::PortFailed ||
               link_.State() == LinkState::BootHook || link_.State() == LinkState::FirmwareHeld;
      },
      kTransferCapMs);
  progress_.Done();
  if (bridge_.downloads > 0) {
    Record(history::EventKind::Downloaded, bridge_.received);
    return {};
  }
  if (!downloaded) return "Download Failed on COM" + QString::number(options_.port);
  return QString::fromStdString(link_.StatusText());
}

QString Session::RunCommand(LinkJob job, const std::function<bool()>& done) {
  const auto idle = [this] {
    const LinkState s = link_.State();
    return s == LinkState::ConnectedIdle || s == LinkState::PortFailed;
  };
  if (!link_.RunUntil(idle, kIdleWaitMs)) {
    return "The controller on COM" + QString::number(options_.port) + " stopped answering";
  }
  if (link_.State() == LinkState::PortFailed) return QString::fromStdString(link_.StatusText());
  if (!link_.SubmitWhenTaken(job, kIdleWaitMs)) {
    return "The controller on COM" + QString::number(options_.port) + " stopped answering";
  }
  const bool finished = link_.RunUntil(
      [&] { return done() || link_.State() == LinkState::PortFailed; }, kTransferCapMs);
  progress_.Done();
  if (done()) return {};
  if (!finished) return "The controller on COM" + QString::number(options_.port) + " stopped answering";
  return QString::fromStdString(link_.StatusText());
}

QString Session::Upload(const SettingsImage& image) {
  bridge_.toSend = image;
  const int before = bridge_.uploads;
  const QString failed =
      RunCommand(UploadJob{image.bytes}, [&] { return bridge_.uploads > before; });
  if (failed.isEmpty()) Record(history::EventKind::Uploaded, image);
  return failed;
}

QString Session::Download() {
  const int before = bridge_.downloads;
  const QString failed =
      RunCommand(DownloadJob{}, [this, before] { return bridge_.downloads > before; });
  if (failed.isEmpty()) Record(history::EventKind::Downloaded, bridge_.received);
  return failed;
}

QString Session::SendAndCheck(const SettingsImage& image, const QString& what) {
  QString failed = Upload(image);
  if (failed.isEmpty()) failed = Download();
  if (!failed.isEmpty()) return failed;
  const auto differences = Compare(image, bridge_.received, ControllerProduct());
  if (differences.empty()) return {};
  QStringList lines = {what + ":"};
  for (const Difference& d : differences) lines << QString::fromStdString(d.Line());
  return lines.join('\n');
}

std::uint8_t Session::ControllerProduct() const {
  return bridge_.receivedLength == 121 ? product::kZorv10 : bridge_.productCode;
}

void Session::Record(history::EventKind kind, const SettingsImage& image, const QString& file,
                     const QString& chipLine, std::optional<std::uint32_t> crc) {
  history::Event event = history::NewEvent(kind, image.bytes);
  event.product = history::ProductName(ControllerProduct());
  event.linkText = history::ProductName(ControllerProduct());  // the identification
  event.chipLine = chipLine;
  event.crc = crc;
  event.filePath = file;
  event.truck = options_.truck;
  history_->Record(std::move(event));
}

}  // namespace zorv::cli
