#include "app/FormBridge.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <QTemporaryFile>
#else
#include <unistd.h>
#endif

#include "app/StatusStrip.h"
#include "host/PortFailHint.h"
#include "image/DefaultImage.h"
#include "link/HexWriter.h"
#include "link/UpgradeSettings.h"

namespace zorv {
namespace {

QColor ColourOf(StatusColour colour) {
  switch (colour) {
    case StatusColour::Red: return {255, 0, 0};
    case StatusColour::Green: return {0, 128, 0};
    case StatusColour::Blue: return {0, 0, 255};
  }
  return {255, 0, 0};
}

}  // namespace

FormBridge::FormBridge(StatusStrip& strip, SettingsImage& image, GlobalTrimPair& trims,
                       Prompts& prompts, UpgradeSettings& upgradeSettings)
    : strip_(strip),
      image_(image),
      trims_(trims),
      prompts_(prompts),
      upgradeSettings_(upgradeSettings),
      flow_(FirmwareFlow::Questions{
          [this] { return SelectFirmwareFile(); },
          [this](const std::string& check) { return ConfirmFirmware(check); },
          [this](const std::string& text) { return AskRetryFirmware(text); },
          [this](const std::string& text) { ShowFailure(text); },
          [this](const std::string& text) { ShowLinkInfo(text); }}) {}

void FormBridge::ShowFailure(const std::string& text) {
  ShowLinkError(text);
  failureText_ = text;
  failureShown_.start();
}

void FormBridge::Handle(const LinkEvent& event, LinkControl* link) {
  if (const auto* status = std::get_if<StatusEvent>(&event)) {
    RefreshStatus(status->status);
  } else if (const auto* byte = std::get_if<ByteEvent>(&event)) {
    ByteLogged(*byte);
  } else if (const auto* downloaded = std::get_if<DownloadedEvent>(&event)) {
    // A short image (a Zorv v1.0) is completed with what this link last sent, zeros before any
    // upload, as the link's own buffer always completed it.
    ImageBytes merged{};
    if (link != nullptr && link->NoticeSource() == lastSentSource_) merged = lastSent_;
    std::copy_n(downloaded->bytes.begin(), downloaded->length, merged.begin());
    lastProduct_ = downloaded->productCode;
    StoreBufferToImage(merged, downloaded->length);
  } else if (const auto* ready = std::get_if<BootLoaderReadyEvent>(&event)) {
    LinkJob answer = flow_.Ready(*ready);
    if (link != nullptr) link->Submit(std::move(answer));
  } else if (const auto* finished = std::get_if<JobFinishedEvent>(&event)) {
    Finished(*finished, link);
  } else if (const auto* message = std::get_if<MessageEvent>(&event)) {
    if (message->error) {
      ShowLinkError(message->text);
    } else {
      ShowLinkInfo(message->text);
    }
  }
}

void FormBridge::Finished(const JobFinishedEvent& finished, LinkControl* link) {
  if (finished.job == JobKind::Upgrade) {
    if (std::optional<LinkJob> retry = flow_.Finished(finished); retry && link != nullptr) {
      link->Submit(std::move(*retry));
    }
    return;
  }
  if (finished.job != JobKind::ReadFlash || finished.result == JobResult::Stopped) return;
  if (finished.result != JobResult::Done) {
    ShowFailure(finished.text);
    return;
  }
  const Outcome written = WriteHexFile(readTarget_, finished.flash);
  if (!written) {
    ShowLinkError(written.error);
    return;
  }
  ShowLinkInfo("Firmware read: " + std::to_string(finished.flash.size()) + " bytes saved to " +
               readTarget_);
}

void FormBridge::ByteLogged(const ByteEvent& byte) {
  if (strip_.LogShown()) {
    strip_.AppendLogLine((byte.sent ? "> " : "< ") + QString::number(byte.byte));
  }
}

void FormBridge::RefreshStatus(const StatusSnapshot& shown) {
  StatusSnapshot status = shown;
  constexpr qint64 kFailureShownMs = 5000;
  if (!failureText_.empty() && failureShown_.isValid() &&
      failureShown_.elapsed() < kFailureShownMs) {
    status.text = failureText_;
    status.colour = StatusColour::Red;
  } else {
    failureText_.clear();
  }
  strip_.SetStatus(QString::fromStdString(status.text), ColourOf(status.colour));
  strip_.ConnectedPanel()->setToolTip(
      QString::fromStdString(tooltip_.For(status.text, status.device, status.portNote)));
  strip_.ProgressGauge()->setValue(status.progress);
  // A firmware job says where it is and how long it still takes; otherwise the percentage.
  strip_.ProgressGauge()->setFormat(status.progressText.empty()
                                        ? QString("%p%")
                                        : QString::fromStdString(status.progressText));
  // Only lit here; the window's timer turns the lamps gray again.
  if (status.receiveLamp) StatusStrip::SetLamp(strip_.RXPanel(), kLampActive);
  if (status.transmitLamp) StatusStrip::SetLamp(strip_.TXPanel(), kLampActive);
}

void FormBridge::ShowLinkError(const std::string& text) {
  prompts_.Message(Prompts::Kind::Error, "Error", QString::fromStdString(text));
}

void FormBridge::ShowLinkInfo(const std::string& text) {
  prompts_.Message(Prompts::Kind::Information, "Information", QString::fromStdString(text));
}

UploadJob FormBridge::Upload(const ImageBytes& bytes, std::uint64_t linkSource) {
  lastSent_ = bytes;
  lastSentSource_ = linkSource;
  return UploadJob{bytes};
}

void FormBridge::StoreBufferToImage(const ImageBytes& buffer, int length) {
  upgradeSettings_.Downloaded(buffer, length);
  lastLength_ = length;
  received_ = buffer;
  if (beforeStore_) beforeStore_();
  StoreDownloadedImage(buffer, image_, trims_);
  if (imageStored_) imageStored_();
}

QString FormBridge::FirmwareStartPath() {
  return QCoreApplication::applicationDirPath() + "/*.hex";
}

std::string FormBridge::SelectFirmwareFile() {
  const QString chosen = prompts_.OpenFileName("Select Zorv Firmware File", FirmwareStartPath(),
                                               // Upper-case names too, as on Windows.
                                               "ATMega16 CPU files (*.hex *.HEX)");
  return AcceptedFirmwareFile(chosen);
}

bool FormBridge::ConfirmFirmware(const std::string& check) {
  return prompts_.Choose(Prompts::Kind::Confirmation, "Upgrade Firmware",
                         QString::fromStdString(check), {"Write", "Cancel"}, 1) == 0;
}

bool FormBridge::AskRetryFirmware(const std::string& text) {
  return prompts_.Choose(Prompts::Kind::Error, "Error", QString::fromStdString(text),
                         {"Retry", "Cancel"}, 0) == 0;
}

std::string FormBridge::SelectFirmwareReadFile() {
  const QString chosen = prompts_.SaveFileName(
      "Save Firmware Read From Controller",
      QCoreApplication::applicationDirPath() + "/controller-firmware.hex",
      "Intel HEX files (*.hex *.HEX)");
  return chosen.toStdString();
}

std::string FormBridge::ReadTargetProblem(const std::string& file) {
  namespace fs = std::filesystem;
  const std::string cannot = "Cannot write <" + file + ">: ";
  std::error_code ec;
  const fs::path target(file);
  if (fs::is_directory(target, ec)) return cannot + "it is a folder";
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ec)) return cannot + "the folder " + folder.string() + " does not exist";
  // The folder must take a new file (the temporary one the write goes through).
#ifdef _WIN32
  // Windows' access check sees only the read-only flag, not the folder's access list: a file
  // made and removed at once asks the system itself.
  QTemporaryFile probe(QString::fromStdWString(folder.wstring()) + "/.zorv-XXXXXX");
  if (!probe.open()) return cannot + probe.errorString().toStdString();
#else
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return cannot + std::strerror(errno);
#endif
  return {};
}

std::string AcceptedFirmwareFile(const QString& chosen) {
  if (chosen.isEmpty() || chosen.contains('*') || chosen.contains('?')) return {};
  // A folder or a FIFO is passed on: the HEX reader names it for what it is.
  if (!QFileInfo::exists(chosen)) return {};
  return chosen.toStdString();
}

}  // namespace zorv
