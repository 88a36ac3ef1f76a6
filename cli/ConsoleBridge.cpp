#include "cli/ConsoleBridge.h"

#include <QByteArray>
#include <algorithm>
#include <cstdio>

#ifndef _WIN32
#include <poll.h>
#include <unistd.h>
#endif

#include "cli/CliCommon.h"
#include "cli/Interrupt.h"
#include "cli/Progress.h"
#include "cli/Terminal.h"
#include "image/DefaultImage.h"
#include "link/HexWriter.h"

namespace zorv::cli {

ConsoleBridge::ConsoleBridge(Progress& progress)
    : progress_(progress),
      flow_(FirmwareFlow::Questions{
          [this] {
            firmwareAsked = true;
            return firmwareFile;
          },
          [this](const std::string& check) {
            progress_.Done();
            bool write = yes;
            if (!write) {
              Err(QString::fromStdString(check).replace("\r\n", "\n"));
              write = AskYes("Write this firmware to the controller? [y/N] ");
            }
            write = write && !Interrupted();
            SetWritingFirmware(write);
            return write;
          },
          [this](const std::string& text) {
            progress_.Done();
            // The failure stays for the caller to report; a script decides itself whether to
            // run again.
            SetWritingFirmware(false);
            errors.push_back(text);
            Err(QString::fromStdString(text).replace("\r\n", "\n"));
            if (yes) return false;
            const bool retry = AskYes("Retry? [y/N] ") && !Interrupted();
            SetWritingFirmware(retry);
            return retry;
          },
          [this](const std::string& text) { Error(text); },
          [this](const std::string& text) { Info(text); }}) {}

void ConsoleBridge::Handle(const LinkEvent& event, LinkJobs& link) {
  if (const auto* status = std::get_if<StatusEvent>(&event)) {
    last = status->status;
    if (last.progress > 0 && last.progress < 100) {
      progress_.Show(QString::fromStdString(last.text), last.progress,
                     QString::fromStdString(last.progressText));
    }
  } else if (const auto* downloaded = std::get_if<DownloadedEvent>(&event)) {
    // A short image (a Zorv v1.0) is completed with what this run last sent, zeros before.
    ImageBytes merged = uploads > 0 ? toSend.bytes : ImageBytes{};
    std::copy_n(downloaded->bytes.begin(), downloaded->length, merged.begin());
    upgradeSettings.Downloaded(merged, downloaded->length);
    GlobalTrimPair trims;
    StoreDownloadedImage(merged, received, trims);
    receivedBytes = downloaded->bytes;
    receivedLength = downloaded->length;
    receivedBlank = downloaded->bytes[33] == 255;
    productCode = PageCodeFor(downloaded->productCode).value_or(productCode);
    ++downloads;
  } else if (const auto* ready = std::get_if<BootLoaderReadyEvent>(&event)) {
    link.Submit(flow_.Ready(*ready));
  } else if (const auto* finished = std::get_if<JobFinishedEvent>(&event)) {
    Finished(*finished, link);
  } else if (const auto* message = std::get_if<MessageEvent>(&event)) {
    if (message->error) {
      Error(message->text);
    } else {
      Info(message->text);
    }
  } else if (std::holds_alternative<UnpluggedEvent>(event)) {
    unplugged = true;
  } else if (const auto* h = std::get_if<HeldEvent>(&event)) {
    held = h->held;
  }
}

void ConsoleBridge::Finished(const JobFinishedEvent& finished, LinkJobs& link) {
  switch (finished.job) {
    case JobKind::Upload:
      if (finished.result == JobResult::Done) ++uploads;
      break;
    case JobKind::Upgrade:
      // A run begins and ends between two events.
      SetWritingFirmware(false);
      held = finished.held;
      if (finished.result == JobResult::Done) {
        installed = finished;
      } else {
        lastFailure = finished;
      }
      if (auto retry = flow_.Finished(finished)) {
        lastFailure.reset();
        link.Submit(std::move(*retry));
      }
      break;
    case JobKind::ReadFlash:
      if (finished.result != JobResult::Done) {
        lastFailure = finished;
        Error(finished.text);
      } else if (const Outcome written = WriteHexFile(readBackFile, finished.flash); !written) {
        lastFailure = finished;
        Error(written.error);
      } else {
        readBack = true;
        Info("Firmware read: " + std::to_string(finished.flash.size()) + " bytes saved to " +
             readBackFile);
      }
      break;
    default:
      break;
  }
}

void ConsoleBridge::Error(const std::string& text) {
  progress_.Done();
  errors.push_back(text);
  if (quietUntilFirmwareAsked && !firmwareAsked) return;
  Err(QString::fromStdString(text).replace("\r\n", "\n"));
}

void ConsoleBridge::Info(const std::string& text) {
  progress_.Done();
  infos.push_back(text);
  Err(QString::fromStdString(text));
}

bool AskYes(const QString& question) {
  if (!IsTerminal(stdin)) {
    Err("No terminal to ask on: give --yes to write without asking");
    return false;
  }
  std::fputs(question.toLocal8Bit().constData(), stderr);
  std::fflush(stderr);
  QByteArray answer;
#ifndef _WIN32
  // Waits in short slices, so Ctrl+C answers "no" at once instead of after the next Enter.
  while (!Interrupted()) {
    pollfd in{STDIN_FILENO, POLLIN, 0};
    const int ready = ::poll(&in, 1, 100);
    if (ready <= 0) continue;
    char c = 0;
    if (::read(STDIN_FILENO, &c, 1) != 1 || c == '\n') break;
    answer.append(c);
  }
#else
  char line[256] = {};
  if (std::fgets(line, sizeof line, stdin) != nullptr) answer = line;
#endif
  if (Interrupted()) return false;
  return answer.trimmed().startsWith('y') || answer.trimmed().startsWith('Y');
}

}  // namespace zorv::cli
