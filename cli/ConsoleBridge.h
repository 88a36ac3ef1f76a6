#pragma once
// The window's side of the link on a console: the link's events are taken from a queue on the
// command line's own thread; its questions are answered from the options (--yes, the firmware
// file, --read-back) or on the terminal, its messages go to standard error, and the image
// copies live here.
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/SettingsImage.h"
#include "link/FirmwareFlow.h"
#include "link/LinkJobs.h"
#include "link/UpgradeSettings.h"

namespace zorv::cli {

class Progress;

class ConsoleBridge final {
 public:
  explicit ConsoleBridge(Progress& progress);

  // One event; `link` takes the answers.
  void Handle(const LinkEvent& event, LinkJobs& link);

  // What an upload sends.
  SettingsImage toSend;
  // What the last download left, as the window would hold it (the defaults for a blank
  // controller), and the bytes that came.
  SettingsImage received;
  ImageBytes receivedBytes{};
  int receivedLength = 0;
  bool receivedBlank = false;  // byte 33 was 255: the defaults were taken instead
  int downloads = 0;
  int uploads = 0;
  std::uint8_t productCode = 0;  // the pages' product code (0 for a Zorv)
  UpgradeSettings upgradeSettings;

  // The firmware job's answers.
  std::string firmwareFile;
  std::string readBackFile;
  bool yes = false;

  // What happened.
  std::optional<JobFinishedEvent> installed;    // an upgrade that ended verified
  std::optional<JobFinishedEvent> lastFailure;  // a firmware job that did not
  bool readBack = false;                        // the flash was read and saved
  bool unplugged = false;
  bool held = false;
  std::vector<std::string> errors;
  std::vector<std::string> infos;
  bool firmwareAsked = false;
  // Errors are kept but not printed until the firmware file is asked for: a probe that finds
  // nothing has only "nothing answered" to say.
  bool quietUntilFirmwareAsked = false;
  StatusSnapshot last;

 private:
  void Finished(const JobFinishedEvent& finished, LinkJobs& link);
  void Error(const std::string& text);
  void Info(const std::string& text);

  Progress& progress_;
  FirmwareFlow flow_;
};

// Asks `question` on the terminal; true for an answer starting with y. False without a
// terminal on standard input, and at once when Ctrl+C (or TERM, HUP) arrives while it waits:
// nothing is written on a guess.
bool AskYes(const QString& question);

}  // namespace zorv::cli
