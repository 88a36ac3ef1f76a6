#include "cli/CliCommon.h"

#include "cli/Interrupt.h"
#include "cli/JsonResult.h"

#include <cstdio>

#include <QCoreApplication>

#include "history/TruckLabel.h"
#include "host/HostSettings.h"
#include "link/PortNames.h"

namespace zorv::cli {

Parser::Parser(const QString& usage, const QString& description, bool linkOptions)
    : linkOptions_(linkOptions) {
  parser_.setApplicationDescription(
      description + (description.contains("Exit status")
                         ? QString()
                         : QString("\n\nExit status: 0 done, 1 failed (the reason on standard "
                                   "error), 2 wrong usage or a file that cannot be read.")));
  parser_.addHelpOption();
  // The usage line reads "zorvtrim-cli [options] send FILE".
  parser_.addPositionalArgument("command", "The subcommand and its arguments.", usage);
  parser_.addOption({"quiet", "No progress bar."});
  if (linkOptions) {
    parser_.addOption({"port", "The port number N of COMN (default: the window's remembered "
                               "\"COM Port\").", "N"});
    parser_.addOption({"device", "The serial device PATH (a /dev/serial/by-id/... link, a "
                                 "pseudo-terminal) instead of a port number; never stored.",
                       "PATH"});
    parser_.addOption({"timeout", "Seconds to wait for the controller (default 10).", "SECONDS"});
    parser_.addOption({"truck", "The truck's label, recorded in the service history.", "LABEL"});
  }
}

std::optional<int> Parser::Parse(const QStringList& arguments, int minPositional,
                                 int maxPositional) {
  if (!parser_.parse(arguments)) return Fail(kUsage, parser_.errorText());
  if (parser_.isSet("help")) {
    // The usage line names the program as a user types it, not the path it was started by.
    QString help = parser_.helpText();
    help.replace(QCoreApplication::applicationFilePath(), "zorvtrim-cli");
    help.replace(QCoreApplication::arguments().value(0), "zorvtrim-cli");
    std::fputs(help.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    return kSuccess;
  }
  // The subcommand's own name stands where the parser expects the program's.
  const qsizetype count = parser_.positionalArguments().size();
  if (count < minPositional || count > maxPositional) {
    return Fail(kUsage, "Wrong number of arguments; see " + arguments.first() + " --help");
  }
  common_.quiet = parser_.isSet("quiet");
  if (jsonOption_ && parser_.isSet("json")) UseJson(arguments.first());
  if (!linkOptions_) return std::nullopt;
  if (parser_.isSet("device")) {
    if (parser_.isSet("port")) return Fail(kUsage, "--port and --device name the same thing: give one");
    const std::string device = parser_.value("device").toStdString();
    if (device.empty()) return Fail(kUsage, "--device takes a device path");
    common_.port = RunPortNumberForDevice(device);
    UseDeviceForRun(common_.port, device);
  }
  const QString port = parser_.isSet("port")
                           ? parser_.value("port")
                           : PeekSetting(kApplicationName, kComPortSetting, "1");
  bool ok = false;
  if (parser_.isSet("device")) {
    ok = true;
  } else {
    common_.port = port.trimmed().toInt(&ok);
  }
  if (parser_.isSet("port") && (!ok || common_.port < 1 || common_.port > 255)) {
    return Fail(kUsage, "--port takes a port number from 1 to 255, not " + port);
  }
  if (!ok) common_.port = PortNumberFromSetting(port);
  if (parser_.isSet("timeout")) {
    common_.timeoutSeconds = parser_.value("timeout").toInt(&ok);
    if (!ok || common_.timeoutSeconds < 1 || common_.timeoutSeconds > 3600) {
      return Fail(kUsage, "--timeout takes whole seconds from 1 to 3600");
    }
  }
  QString truckError;
  const auto truck = history::CheckTruckLabel(parser_.value("truck"), truckError);
  if (!truck) return Fail(kUsage, "--truck: " + truckError);
  common_.truck = *truck;
  return std::nullopt;
}

void Parser::OfferJson() {
  jsonOption_ = true;
  parser_.addOption({"json", "One JSON object on standard output: what was done, the product, "
                             "the error; the same exit status."});
}

void Out(const QString& line) {
  std::fputs((line + '\n').toLocal8Bit().constData(), stdout);
  std::fflush(stdout);
}

void Err(const QString& line) {
  std::fputs((line + '\n').toLocal8Bit().constData(), stderr);
  std::fflush(stderr);
}

int Fail(int status, const QString& text) {
  // After Ctrl+C a failing step is only its echo: the stop is what the user is told.
  if (Interrupted()) return status;
  JsonError(text);
  Err(text);
  return status;
}

}  // namespace zorv::cli
