#include "app/FormBridge.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

#include "app/LinkNotice.h"
#include "app/StatusStrip.h"
#include "link/UpgradeSettings.h"
#include "host/PortFailHint.h"
#include "image/DefaultImage.h"

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

void FormBridge::PostNotice(std::uint8_t code, std::uint8_t value, std::uint64_t source) {
  PostLinkNotice(code, value, source);
}

void FormBridge::RefreshStatus(const StatusSnapshot& status) {
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

void FormBridge::LoadBufferFromImage(ImageBytes& buffer) { buffer = image_.bytes; }

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
  std::string accepted = AcceptedFirmwareFile(chosen);
  firmwareFile_ = QString::fromStdString(accepted);
  return accepted;
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

std::string AcceptedFirmwareFile(const QString& chosen) {
  if (chosen.isEmpty() || chosen.contains('*') || chosen.contains('?')) return {};
  const QFileInfo file(chosen);
  if (!file.exists() || !file.isFile()) return {};
  return chosen.toStdString();
}

}  // namespace zorv
