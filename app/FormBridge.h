#pragma once
// The window's side of the link, on the window's thread only: it turns the link's events into
// the status strip, the byte log, the window's image, the link's message boxes and the firmware
// questions (file, "Write", "Retry"), whose answers go back to the link as jobs. The link never
// waits for any of it.
#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/LinkControl.h"
#include "host/PortTooltip.h"
#include "image/SettingsImage.h"
#include "link/FirmwareFlow.h"
#include "link/LinkJobs.h"
#include "ui/Prompts.h"

namespace zorv {

class StatusStrip;
class UpgradeSettings;

class FormBridge final {
 public:
  FormBridge(StatusStrip& strip, SettingsImage& image, GlobalTrimPair& trims, Prompts& prompts,
             UpgradeSettings& upgradeSettings);

  // One event of `link` (the window's present link, or null).
  void Handle(const LinkEvent& event, LinkControl* link);

  void RefreshStatus(const StatusSnapshot& status);
  void ShowLinkError(const std::string& text);
  void ShowLinkInfo(const std::string& text);
  // Copies a download into the image (the defaults when byte 33 is 255: StoreDownloadedImage).
  // `length` bytes came from the controller (121 for a Zorv v1.0, else 256).
  void StoreBufferToImage(const ImageBytes& buffer, int length);
  // The settings to send, as a job; remembered, since a Zorv v1.0's short download is completed
  // with the bytes last sent on the same link.
  UploadJob Upload(const ImageBytes& bytes, std::uint64_t linkSource);

  // The questions of a firmware job.
  std::string SelectFirmwareFile();
  bool ConfirmFirmware(const std::string& check);
  bool AskRetryFirmware(const std::string& text);
  std::string SelectFirmwareReadFile();
  // Read Firmware's target, checked before anything is read: "" when it can be written, else
  // "Cannot write <file>: why".
  static std::string ReadTargetProblem(const std::string& file);
  void SetReadTarget(std::string file) { readTarget_ = std::move(file); }

  // Runs after every download store: the pages show what the image now holds.
  void OnImageStored(std::function<void()> stored) { imageStored_ = std::move(stored); }
  // Runs before a download replaces the window's image (to keep unsent edits).
  void OnBeforeStore(std::function<void()> before) { beforeStore_ = std::move(before); }
  // Bytes the last download brought (121 from a Zorv v1.0, else 256; 0 before any).
  int LastDownloadLength() const { return lastLength_; }
  // The product code the last download came with (nothing before any).
  std::optional<std::uint8_t> LastProduct() const { return lastProduct_; }

  // Where the firmware dialog starts: the program's own folder.
  static QString FirmwareStartPath();

 private:
  void Finished(const JobFinishedEvent& finished, LinkControl* link);
  void ByteLogged(const ByteEvent& byte);
  // A failure's box; its text then stays in red for 5 s.
  void ShowFailure(const std::string& text);

  StatusStrip& strip_;
  SettingsImage& image_;
  GlobalTrimPair& trims_;
  Prompts& prompts_;
  UpgradeSettings& upgradeSettings_;
  std::function<void()> imageStored_;
  std::function<void()> beforeStore_;
  int lastLength_ = 0;
  std::optional<std::uint8_t> lastProduct_;
  ImageBytes lastSent_{};
  std::uint64_t lastSentSource_ = 0;
  std::string readTarget_;
  // A failure stays over the status for 5 s after its box was closed.
  std::string failureText_;
  QElapsedTimer failureShown_;
  PortTooltip tooltip_;
  FirmwareFlow flow_;
};

// The file name to program, or "" unless `chosen` names an existing file without wildcards.
std::string AcceptedFirmwareFile(const QString& chosen);

}  // namespace zorv
