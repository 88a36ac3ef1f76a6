#include "cli/Session.h"

#include <algorithm>
#include <limits>
#include <tuple>
#include <utility>

#include "cli/JsonResult.h"
#include "host/HostSettings.h"
#include "host/PortTooltip.h"
#include "link/PortNames.h"
#include "host/RegisterSetting.h"
#include "image/Catalogue.h"

namespace zorv::cli {
namespace {

// A transfer has its own 1 s silence limit and the quiet line before a request at most 3 s;
// this only guards against a link that never ends. Silence, not the whole time, is limited:
// a slow line moves a transfer on for minutes, and cutting it would leave settings half-sent.
constexpr std::uint32_t kSilenceCapMs = 8000;
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
                                                          ReadRegisterAddress())) {
  // No window: nothing is typed or shown, so only the history hook is needed.
  TruckSession::Hooks hooks;
  hooks.record = [this](history::EventKind kind, const QString& file) {
    Record(kind, truck_.Image(), file);
  };
  truck_.SetHooks(std::move(hooks));
}

void Session::TookDownload() {
  truck_.DownloadArriving();
  truck_.Image() = bridge_.received;
  truck_.SetProductCode(ControllerProduct());
  truck_.DownloadArrived();
}

void Session::Saved(const QString& file) {
  truck_.MarkKept();
  truck_.Record(history::EventKind::FileSaved, file);
}

Session::~Session() {
  // What could not be written is kept for the next run, and the line says so.
  const QString line = history_->Finish(kHistoryFlushMs);
  if (!line.isEmpty()) Err(line);
}

QString Session::WithDoctor(const QString& failure) const {
  std::optional<PortTrouble> trouble = TroubleOfStatus(failure.toStdString());
  if (!trouble && failure.startsWith("No controller answered")) trouble = PortTrouble::NoAnswer;
  if (!trouble) return failure;
  const std::string device = DeviceNameForPort(options_.port);
  const QString doctor = QString::fromStdString(
      DoctorText(*trouble, failure.toStdString(), device, GatherSystemFacts(device)));
  // The doctor's text repeats the failure first; the command line has just said it.
  const QString advice = doctor.startsWith(failure) ? doctor.mid(failure.size()).trimmed() : doctor;
  return advice.isEmpty() ? failure : failure + "\n" + advice;
}

QString Session::LinkText() {
  // The link's own words; its state is known before its status event arrives, so the events
  // still on their way are taken first (a failed upload says "Upload Failed", not "Uploading").
  link_.RunUntil([] { return false; }, 50);
  if (link_.State() == LinkState::Unplugged || bridge_.unplugged) {
    return "Adapter unplugged from COM" + QString::number(options_.port);
  }
  return QString::fromStdString(link_.StatusText());
}

bool Session::RunWhileAlive(const std::function<bool()>& done) {
  Clock& clock = LinkClock();
  // Signs of life: the status the link posts as bytes move (progress, text, the lamps).
  const auto mark = [this] {
    const StatusSnapshot& s = bridge_.last;
    return std::make_tuple(s.progress, s.text, s.receiveLamp, s.transmitLamp, link_.State());
  };
  auto seen = mark();
  std::uint32_t lastByte = clock.Ticks();
  const bool ended = link_.RunUntil(
      [&] {
        if (done() || link_.State() == LinkState::PortFailed ||
            link_.State() == LinkState::Unplugged) {
          return true;
        }
        auto now = mark();
        if (now != seen || std::get<2>(now) || std::get<3>(now)) {
          seen = std::move(now);
          lastByte = clock.Ticks();
        }
        return clock.Since(lastByte) > kSilenceCapMs;
      },
      std::numeric_limits<std::uint32_t>::max());
  progress_.Done();
  return ended && done();
}

QString Session::ConnectAndDownload() {
  const QString connected = link_.Connect(options_.timeoutSeconds);
  if (!connected.isEmpty()) return WithDoctor(connected);
  RunWhileAlive([this] {
    return bridge_.downloads > 0 || link_.State() == LinkState::BootHook ||
           link_.State() == LinkState::FirmwareHeld;
  });
  if (bridge_.downloads > 0) {
    JsonSet("port", "COM" + QString::number(options_.port));
    // The link keeps 0 for a Zorv whose 256 bytes came: a v1.1.
    const std::uint8_t product = ControllerProduct();
    JsonSet("product", history::ProductName(product == 0 ? product::kZorv11 : product));
    TookDownload();
    return {};
  }
  const LinkState state = link_.State();
  if (state == LinkState::BootHook || state == LinkState::BootIdentification ||
      state == LinkState::FirmwareHeld) {
    return "The controller on COM" + QString::number(options_.port) +
           " is in its boot loader, not running its program: it has no settings to give. "
           "Install firmware (zorvtrim-cli flash) or switch it off and on";
  }
  if (state == LinkState::PortFailed || state == LinkState::Unplugged) {
    return LinkText();
  }
  return "Download Failed on COM" + QString::number(options_.port);
}

QString Session::RunCommand(LinkJob job, const std::function<bool()>& done) {
  const auto ended = [this] {
    const LinkState s = link_.State();
    return s == LinkState::PortFailed || s == LinkState::Unplugged;
  };
  const auto idle = [&] { return link_.State() == LinkState::ConnectedIdle || ended(); };
  if (!link_.RunUntil(idle, kIdleWaitMs)) {
    return "The controller on COM" + QString::number(options_.port) + " stopped answering";
  }
  if (ended()) return LinkText();
  // Handed over as soon as the link takes it: a keep-alive in between must not lose it.
  if (!link_.SubmitWhenTaken(job, kIdleWaitMs)) {
    if (ended()) return LinkText();
    return "The controller on COM" + QString::number(options_.port) + " stopped answering";
  }
  if (RunWhileAlive(done)) return {};
  if (ended()) return LinkText();
  return "The controller on COM" + QString::number(options_.port) + " stopped answering";
}

QString Session::Upload(const SettingsImage& image) {
  truck_.Replace(image.bytes, false);
  const ImageBytes& sending = truck_.UploadStarting();
  bridge_.toSend = truck_.Image();
  const int before = bridge_.uploads;
  // Image bytes go out once the status says "Uploading": from then on the controller holds
  // part of the new settings until the last echo.
  bool uploading = false;
  const QString failed = RunCommand(UploadJob{sending}, [&] {
    uploading = uploading || bridge_.last.text.rfind("Uploading", 0) == 0 ||
                link_.StatusText().rfind("Uploading", 0) == 0;
    return bridge_.uploads > before;
  });
  if (failed.isEmpty()) {
    truck_.UploadFinished();
    return failed;
  }
  if (uploading) {
    // Said even after Ctrl+C, whose own line follows.
    Err(kHalfSent);
    JsonSet("halfSent", true);
  }
  return failed;
}

QString Session::Download() {
  const int before = bridge_.downloads;
  const QString failed =
      RunCommand(DownloadJob{}, [this, before] { return bridge_.downloads > before; });
  if (failed.isEmpty()) TookDownload();
  return failed;
}

QString Session::SendAndCheck(const SettingsImage& image, const QString& what) {
  QString failed = Upload(image);
  if (failed.isEmpty()) failed = Download();
  if (!failed.isEmpty()) return failed;
  // The session now holds what came back; compared with what was sent by the catalogue's rule.
  const auto differences = Compare(image, truck_.Image(), ControllerProduct());
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
