#pragma once
// The window's side of the link on a console: no window, so the link's questions are answered
// from the command line's options (--yes, the firmware file, --read-back) or on the terminal,
// its messages go to standard error, and the image copies live here.
#include <QString>
#include <string>
#include <vector>

#include "image/SettingsImage.h"
#include "link/UpgradeSettings.h"
#include "link/WindowBridge.h"

namespace zorv::cli {

class Progress;

class ConsoleBridge final : public WindowBridge {
 public:
  explicit ConsoleBridge(Progress& progress) : progress_(progress) {}

  // What an upload sends.
  SettingsImage toSend;
  // What the last download left, as the window would hold it (the defaults for a blank
  // controller), and the bytes that came.
  SettingsImage received;
  ImageBytes bytesAsReceived{};  // the last download's bytes, before any defaults
  int receivedLength = 0;
  bool receivedBlank = false;  // byte 33 was 255: the defaults were taken instead
  int downloads = 0;
  UpgradeSettings upgradeSettings;

  // The firmware job's answers.
  std::string firmwareFile;
  std::string readBackFile;
  bool yes = false;

  std::vector<std::uint8_t> notices;  // every notice but the byte lamps
  std::uint64_t bytesReceived = 0;    // from the byte lamps: the line is alive
  std::uint64_t bytesSent = 0;
  std::vector<std::string> errors;
  std::vector<std::string> infos;
  bool firmwareAsked = false;
  // Errors are kept but not printed until the firmware file is asked for: a probe that finds
  // nothing has only "nothing answered" to say.
  bool quietUntilFirmwareAsked = false;
  StatusSnapshot last;

  bool Noticed(std::uint8_t code) const;

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

 private:
  Progress& progress_;
};

// Asks `question` on the terminal; true for an answer starting with y. False without a
// terminal on standard input: nothing is written on a guess.
bool AskYes(const QString& question);

}  // namespace zorv::cli
