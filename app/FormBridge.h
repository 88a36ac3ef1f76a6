#pragma once
// The window's side of the link bridge, called on the window's thread only (the link thread
// reaches it through LinkThread's marshalling): the status strip, the link's message boxes, the
// two image copies and the firmware file dialog. Notices are posted to the application.
#include <QString>
#include <functional>

#include "image/SettingsImage.h"
#include "host/PortTooltip.h"
#include "link/WindowBridge.h"
#include "ui/Prompts.h"

namespace zorv {

class StatusStrip;
class UpgradeSettings;

class FormBridge final : public WindowBridge {
 public:
  FormBridge(StatusStrip& strip, SettingsImage& image, GlobalTrimPair& trims, Prompts& prompts,
             UpgradeSettings& upgradeSettings)
      : strip_(strip),
        image_(image),
        trims_(trims),
        prompts_(prompts),
        upgradeSettings_(upgradeSettings) {}

  void PostNotice(std::uint8_t code, std::uint8_t value, std::uint64_t source) override;
  void RefreshStatus(const StatusSnapshot& status) override;
  void ShowLinkError(const std::string& text) override;
  void ShowLinkInfo(const std::string& text) override;
  void LoadBufferFromImage(ImageBytes& buffer) override;
  void StoreBufferToImage(const ImageBytes& buffer, int length) override;
  std::string SelectFirmwareFile() override;
  bool ConfirmFirmware(const std::string& check) override;
  bool AskRetryFirmware(const std::string& text) override;
  std::string SelectFirmwareReadFile() override;

  // Runs after every download store, whichever link made it: the pages show what the image
  // now holds even when that link was replaced before its notice arrived.
  void OnImageStored(std::function<void()> stored) { imageStored_ = std::move(stored); }
  // Runs before a download replaces the window's image (to keep unsent edits).
  void OnBeforeStore(std::function<void()> before) { beforeStore_ = std::move(before); }
  // The firmware file last chosen for an upgrade ("" before any).
  QString FirmwareFile() const { return firmwareFile_; }

  // Bytes the last download brought (121 from a Zorv v1.0, else 256; 0 before any).
  int LastDownloadLength() const { return lastLength_; }
  // The bytes of the last download as the controller sent them, before any repair.
  const ImageBytes& LastDownload() const { return received_; }

  // Where the firmware dialog starts: the program's own folder.
  static QString FirmwareStartPath();

 private:
  StatusStrip& strip_;
  SettingsImage& image_;
  GlobalTrimPair& trims_;
  Prompts& prompts_;
  UpgradeSettings& upgradeSettings_;
  std::function<void()> imageStored_;
  int lastLength_ = 0;
  ImageBytes received_{};
  std::function<void()> beforeStore_;
  QString firmwareFile_;
  PortTooltip tooltip_;
};

// The file name to program, or "" unless `chosen` names an existing file without wildcards.
std::string AcceptedFirmwareFile(const QString& chosen);

}  // namespace zorv
