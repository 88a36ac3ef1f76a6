#include "cli/ConsoleBridge.h"

#include "cli/Interrupt.h"

#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "cli/CliCommon.h"
#include "cli/Progress.h"
#include "cli/Terminal.h"
#include "image/DefaultImage.h"

namespace zorv::cli {

bool ConsoleBridge::Noticed(std::uint8_t code) const {
  return std::find(notices.begin(), notices.end(), code) != notices.end();
}

void ConsoleBridge::PostNotice(std::uint8_t code, std::uint8_t, std::uint64_t) {
  if (code == notice::kByteReceived) ++bytesReceived;
  if (code == notice::kByteSent) ++bytesSent;
  if (code != notice::kByteReceived && code != notice::kByteSent) notices.push_back(code);
}

void ConsoleBridge::RefreshStatus(const StatusSnapshot& status) {
  last = status;
  if (status.progress > 0 && status.progress < 100) {
    progress_.Show(QString::fromStdString(status.text), status.progress,
                   QString::fromStdString(status.progressText));
  }
}

void ConsoleBridge::ShowLinkError(const std::string& text) {
  progress_.Done();
  errors.push_back(text);
  if (quietUntilFirmwareAsked && !firmwareAsked) return;
  Err(QString::fromStdString(text).replace("\r\n", "\n"));
}

void ConsoleBridge::ShowLinkInfo(const std::string& text) {
  progress_.Done();
  infos.push_back(text);
  Err(QString::fromStdString(text));
}

void ConsoleBridge::LoadBufferFromImage(ImageBytes& buffer) { buffer = toSend.bytes; }

void ConsoleBridge::StoreBufferToImage(const ImageBytes& buffer, int length) {
  upgradeSettings.Downloaded(buffer, length);
  bytesAsReceived = buffer;
  GlobalTrimPair trims;
  StoreDownloadedImage(buffer, received, trims);
  receivedLength = length;
  receivedBlank = buffer[33] == 255;
  ++downloads;
}

std::string ConsoleBridge::SelectFirmwareFile() {
  firmwareAsked = true;
  return firmwareFile;
}

bool ConsoleBridge::ConfirmFirmware(const std::string& check) {
  progress_.Done();
  bool write = yes;
  if (!write) {
    Err(QString::fromStdString(check).replace("\r\n", "\n"));
    write = AskYes("Write this firmware to the controller? [y/N] ");
  }
  write = write && !Interrupted();
  SetWritingFirmware(write);
  return write;
}

bool ConsoleBridge::AskRetryFirmware(const std::string& text) {
  progress_.Done();
  // The failure stays for the caller to report; a script decides itself whether to run again.
  SetWritingFirmware(false);
  errors.push_back(text);
  Err(QString::fromStdString(text).replace("\r\n", "\n"));
  if (yes) return false;
  const bool retry = AskYes("Retry? [y/N] ") && !Interrupted();
  SetWritingFirmware(retry);
  return retry;
}

std::string ConsoleBridge::SelectFirmwareReadFile() { return readBackFile; }

bool AskYes(const QString& question) {
  if (!IsTerminal(stdin)) {
    Err("No terminal to ask on: give --yes to write without asking");
    return false;
  }
  std::fputs(question.toLocal8Bit().constData(), stderr);
  std::fflush(stderr);
  QTextStream in(stdin);
  const QString answer = in.readLine().trimmed();
  return answer.startsWith('y', Qt::CaseInsensitive);
}

}  // namespace zorv::cli
