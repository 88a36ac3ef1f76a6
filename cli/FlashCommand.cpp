// flash [--port N] FILE.hex [--keep-settings] [--read-back OLD.hex] [--yes]: the firmware
// upgrade through the window's own job: its refusals, its check, verification and held state.
#include <QFileInfo>
#include <algorithm>

#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/Session.h"
#include "link/FirmwareJob.h"
#include "link/HexReader.h"
#include "link/TCOMThread.h"

namespace zorv::cli {
namespace {

// The boot loader of a controller without program says so; the job goes on from there.
constexpr const char* kNoFirmwareSelect = "This system has no firmware, please select firmware now.";
// Writing and verifying 64 KB at 9600 baud takes minutes; this only guards against a hang.
constexpr std::uint32_t kJobCapMs = 30 * 60 * 1000;

bool JobFailed(const ConsoleBridge& bridge) {
  if (bridge.lastFailure || bridge.unplugged) return true;
  for (const std::string& error : bridge.errors) {
    if (error != kNoFirmwareSelect) return true;
  }
  return false;
}

// The failure as the link left it: its text, and that the controller is held when it is.
int JobFailure(Session& session) {
  const ConsoleBridge& bridge = session.Bridge();
  const bool said = std::any_of(bridge.errors.begin(), bridge.errors.end(), [](const std::string& e) {
    return e.find(TCOMThread::kFirmwareIncomplete) != std::string::npos;
  });
  const bool held = bridge.held || session.Link().State() == LinkState::FirmwareHeld;
  JsonSet("held", held);
  if (held && !said) return Fail(kFailure, TCOMThread::kFirmwareIncomplete);
  // The link's box text is already on standard error; a script reads it in the JSON too.
  if (!bridge.errors.empty()) JsonError(QString::fromStdString(bridge.errors.back()));
  return kFailure;
}

// "" when Read Firmware's target can take the file; checked before the controller is asked.
QString ReadBackProblem(const QString& file) {
  const QFileInfo target(file);
  if (target.isDir()) return "Cannot write " + file + ": it is a folder";
  const QFileInfo folder(target.absolutePath());
  if (!folder.isDir()) return "Cannot write " + file + ": the folder " + folder.filePath() + " does not exist";
  if (!folder.isWritable()) return "Cannot write " + file + ": permission denied";
  return {};
}

}  // namespace

int Flash(const QStringList& arguments) {
  Parser parser("flash FILE.hex", "Installs the firmware in FILE.hex: the file is checked "
                                  "before anything is written, the flash is verified after.",
                true);
  parser.Raw().addOption({"yes", "Write without asking (the check is not printed)."});
  parser.Raw().addOption({"keep-settings", "Send the controller's own settings back when the "
                                           "new firmware changed them."});
  parser.Raw().addOption({"read-back", "Save the controller's present firmware here first.",
                          "OLD.hex"});
  parser.OfferJson();
  if (const auto ended = parser.Parse(arguments, 1, 1)) return *ended;
  const QString hex = parser.Positional().at(0);
  if (!QFileInfo(hex).isFile()) return Fail(kUsage, "No such file: " + hex);
  JsonSet("file", QFileInfo(hex).absoluteFilePath());
  JsonSet("installed", false);
  // The whole file is read before the controller is touched: a bad record found in the boot
  // loader would leave a running controller stopped for nothing.
  FlashImage checked;
  // The chip is not known yet: its own limit is checked once the boot loader names it.
  checked.chip.flashLimit = static_cast<std::uint32_t>(kFlashImageSize);
  if (const Outcome read = ReadHexFile(hex.toStdString(), checked); !read) {
    return Fail(kUsage, QString::fromStdString(read.error));
  }

  Session session(parser.Options());
  ConsoleBridge& bridge = session.Bridge();
  ConsoleLink& link = session.Link();
  bridge.firmwareFile = QFileInfo(hex).absoluteFilePath().toStdString();
  bridge.readBackFile = parser.Raw().value("read-back").toStdString();
  bridge.yes = parser.Raw().isSet("yes");
  if (!bridge.readBackFile.empty()) {
    const QString problem = ReadBackProblem(QString::fromStdString(bridge.readBackFile));
    if (!problem.isEmpty()) return Fail(kUsage, problem);
  }

  const QString connected = link.Connect(parser.Options().timeoutSeconds);
  const bool silent = !connected.isEmpty() && link.State() == LinkState::WaitingForIdentification;
  if (!connected.isEmpty() && !silent) return Fail(kFailure, session.WithDoctor(connected));
  if (silent) {
    // A running program identifies itself every 200 ms, so nothing at all means a controller
    // switched off, or one a failed run left in its boot loader, which answers only when asked.
    bridge.quietUntilFirmwareAsked = true;
    link.HoldForFirmware();
    const bool held = link.RunUntil([&] { return link.State() == LinkState::FirmwareHeld; }, 2000);
    link.SubmitWhenTaken(OpenBootLoaderJob{}, 2000);
    if (held) link.RunUntil([&] { return link.State() != LinkState::FirmwareHeld; }, 2000);
    link.RunUntil([&] { return bridge.firmwareAsked || JobFailed(bridge); }, 5000);
    if (!bridge.firmwareAsked) return Fail(kFailure, session.WithDoctor(connected));
  }
  // Held (a run left the flash unverified, here or in the window) or met in its boot loader.
  const bool heldAtStart = !silent && link.State() == LinkState::FirmwareHeld;
  const bool inBootLoader = silent || heldAtStart || link.State() == LinkState::BootHook;
  if (heldAtStart) {
    Err(QString(TCOMThread::kFirmwareIncomplete));
    link.SubmitWhenTaken(OpenBootLoaderJob{}, 5000);
  }
  if (!inBootLoader) {
    // A running program: its settings first, as the window takes them on every new link.
    const QString failed = session.ConnectAndDownload();
    if (!failed.isEmpty()) return Fail(kFailure, failed);
  }

  if (!bridge.readBackFile.empty() && !inBootLoader) {
    if (!link.RunUntil([&] { return link.State() == LinkState::ConnectedIdle; }, 5000)) {
      return Fail(kFailure, QString::fromStdString(link.StatusText()));
    }
    if (!link.SubmitWhenTaken(ReadFlashJob{}, 5000)) {
      return Fail(kFailure, QString::fromStdString(link.StatusText()));
    }
    link.RunUntil([&] { return bridge.readBack || JobFailed(bridge); }, kJobCapMs);
    if (JobFailed(bridge) || !bridge.readBack) return JobFailure(session);
  }

  if (!bridge.readBackFile.empty() && inBootLoader) {
    Err("No program to read back: the controller is in its boot loader");
  }

  // Kept whether or not they are sent back, as the window keeps them before every upgrade.
  if (bridge.downloads > 0) {
    const Outcome kept = bridge.upgradeSettings.KeepBeforeUpgrade(
        KeptSettingsFolder(), static_cast<char>(bridge.productCode));
    if (!kept) {
      Err("The controller's settings could not be kept before the upgrade: " +
          QString::fromStdString(kept.error));
    }
  }

  const int downloadsBefore = bridge.downloads;
  if (!inBootLoader) {
    if (!link.RunUntil([&] { return link.State() == LinkState::ConnectedIdle; }, 5000)) {
      return Fail(kFailure, QString::fromStdString(link.StatusText()));
    }
    if (!link.SubmitWhenTaken(OpenBootLoaderJob{}, 5000)) {
      return Fail(kFailure, QString::fromStdString(link.StatusText()));
    }
  }
  link.RunUntil([&] { return bridge.installed.has_value() || JobFailed(bridge); }, kJobCapMs);
  if (!bridge.installed) return JobFailure(session);
  bridge.upgradeSettings.UpgradeVerified();
  JsonSet("installed", true);
  JsonSet("held", false);
  JsonSet("chipLine", QString::fromStdString(bridge.installed->chipLine).trimmed());
  if (bridge.installed->crcs) {
    JsonSet("fileCrc32", QString::number(bridge.installed->crcs->file, 16).rightJustified(8, '0'));
    JsonSet("flashCrc32", QString::number(bridge.installed->crcs->flash, 16).rightJustified(8, '0'));
  }
  // Both CRCs came with the job's end; the history keeps the file's, of the bytes written.
  session.Record(history::EventKind::FirmwareInstalled, bridge.received,
                 QString::fromStdString(bridge.installed->fileName),
                 QString::fromStdString(bridge.installed->chipLine).trimmed(),
                 bridge.installed->crcs ? std::optional(bridge.installed->crcs->file)
                                        : std::nullopt);

  // The new program identifies itself and its settings come down again.
  if (!link.RunUntil([&] { return bridge.downloads > downloadsBefore; },
                     static_cast<std::uint32_t>(parser.Options().timeoutSeconds) * 1000 + 5000)) {
    return Fail(kFailure, "The new firmware did not answer on COM" +
                              QString::number(parser.Options().port));
  }
  session.TookDownload();
  const std::uint8_t product = session.ControllerProduct();
  JsonSet("product", history::ProductName(product == 0 ? product::kZorv11 : product));
  const std::optional<ImageBytes> kept = bridge.upgradeSettings.ChangedByUpgrade();
  JsonSet("settingsChanged", kept.has_value());
  if (!kept) return kSuccess;
  if (!parser.Raw().isSet("keep-settings")) {
    Err("The new firmware changed the controller's settings (--keep-settings sends the old ones "
        "back)");
    return kSuccess;
  }
  SettingsImage old;
  old.bytes = *kept;
  const QString failed = session.SendAndCheck(
      old, "The controller does not hold its old settings after sending them back");
  if (!failed.isEmpty()) return Fail(kFailure, failed);
  JsonSet("settingsSentBack", true);
  Err("The controller's own settings were sent back");
  return kSuccess;
}

}  // namespace zorv::cli
