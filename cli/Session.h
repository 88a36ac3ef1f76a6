#pragma once
// One run against a controller: the progress bar, the console bridge, the link and the
// history, and the steps several subcommands share (connect and download, upload, check).
// The settings themselves live in the same TruckSession the window uses: a download replaces
// its image and marks it kept, an upload marks as sent the bytes it sent, and both record
// through its history hook.
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "cli/CliCommon.h"
#include "cli/ConsoleBridge.h"
#include "cli/ConsoleLink.h"
#include "cli/Progress.h"
#include "history/HistoryEvent.h"
#include "history/HistoryRecorder.h"
#include "link/TransferNotes.h"
#include "session/TruckSession.h"

namespace zorv::cli {

// Printed when an upload ended after some of the image had gone out.
inline constexpr const char* kHalfSent = kHalfSentText;

class Session {
 public:
  explicit Session(const Common& options);
  // Waits until the history has written its events.
  ~Session();

  // Waits for the controller and takes its settings, as the window does on every new link.
  // "" when done, else the text to print.
  QString ConnectAndDownload();
  // Sends `image` with the per-byte echo check.
  QString Upload(const SettingsImage& image);
  // Takes the settings again.
  QString Download();
  // The settings the link has just received become the session's image (recorded as a
  // download); for a flow that waited for them itself.
  void TookDownload();
  // Uploads `image`, downloads again and checks the controller holds it; "" when it does,
  // else the failure, or "`what`:" and the named differences one a line.
  QString SendAndCheck(const SettingsImage& image, const QString& what);

  // The product code that names the controller's settings (Zorv v1.0 by its 121 bytes).
  std::uint8_t ControllerProduct() const;

  // Records an event of the command line in the service history, with the truck's label.
  void Record(history::EventKind kind, const SettingsImage& image, const QString& file = {},
              const QString& chipLine = {}, std::optional<std::uint32_t> crc = {});

  // A port that would not open or where nothing answered: the failure, then the port doctor's
  // findings on this machine.
  QString WithDoctor(const QString& failure) const;

  // The truck's settings as last downloaded or sent.
  const SettingsImage& Image() const { return truck_.Image(); }
  // The session's image was written to `file` (recorded with its whole path).
  void Saved(const QString& file);
  ConsoleBridge& Bridge() { return bridge_; }
  ConsoleLink& Link() { return link_; }
  const Common& Options() const { return options_; }

 private:
  // Waits until the link is connected and idle, then hands it `job` and waits until `done`;
  // "" when done, else the link's text.
  QString RunCommand(LinkJob job, const std::function<bool()>& done);
  // Steps the link until `done`, a failed or unplugged port, or kSilenceCapMs without a sign
  // of life from the line; true when `done` holds.
  bool RunWhileAlive(const std::function<bool()>& done);
  // What the link says now: its status text, or the unplug it has just found.
  QString LinkText();

  Common options_;
  Progress progress_;
  ConsoleBridge bridge_{progress_};
  ConsoleLink link_;
  QObject context_;
  std::unique_ptr<history::HistoryRecorder> history_;
  TruckSession truck_;
};

}  // namespace zorv::cli
