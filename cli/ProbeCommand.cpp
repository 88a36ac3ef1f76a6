// probe [--port N | --device PATH]: within about a second, what is on the port: a running
// program and its product, a boot loader and its chip line (held there, or announcing itself),
// or nothing. It only looks: a program is acknowledged as the window does, a boot loader that
// was about to start its program is told to start it, a held one is left held.
#include <QElapsedTimer>

#include "cli/Commands.h"
#include "cli/JsonResult.h"
#include "cli/Session.h"
#include "history/HistoryEvent.h"
#include "image/SettingsImage.h"
#include "link/LinkPort.h"
#include "link/PortNames.h"
#include "link/SystemSerialDevice.h"
#include "link/TCOMThread.h"
#include "link/WireBytes.h"

namespace zorv::cli {
namespace {

using namespace wire;  // the bytes on the line, as the link sends them
constexpr int kAnswerMs = 500;

// The next byte within `ms`, skipping nothing.
std::optional<std::uint8_t> Next(SerialDevice& device, int ms) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() <= ms) {
    std::uint8_t byte = 0;
    if (device.Read(byte)) return byte;
    device.WaitReadable(5);
  }
  return std::nullopt;
}

// The boot loader's identification line, CR LF removed; "" when none came.
QString ChipLine(SerialDevice& device) {
  if (!device.Write(kAskChipLine)) return {};
  QByteArray line;
  while (const auto byte = Next(device, kAnswerMs)) {
    line.append(static_cast<char>(*byte));
    if (line.endsWith("\r\n")) return QString::fromLatin1(line.chopped(2));
    if (line.size() > static_cast<qsizetype>(LinkPort::kMaxLineLength)) break;
  }
  return {};
}

struct Found {
  QString kind;  // "program", "boot loader", "held", "nothing"
  QString product;
  QString chipLine;
};

Found Look(SerialDevice& device) {
  // Whatever waits already: a boot loader announces itself with 'B' after power-up.
  bool bootLoaderAnnounced = false;
  while (const auto byte = Next(device, 0)) bootLoaderAnnounced |= *byte == kBootLoaderHere;
  if (!bootLoaderAnnounced) {
    device.Write(kIdentifyYourself);
    while (const auto byte = Next(device, kAnswerMs)) {
      if (product::IsProductCode(*byte)) {
        device.Write(kAcknowledge);
        return {"program", history::ProductName(*byte), {}};
      }
      if (*byte == kBootLoaderHere) {
        bootLoaderAnnounced = true;
        break;
      }
    }
  }
  if (bootLoaderAnnounced) {
    // Hooked so that it waits while asked, then told to go on as it would have.
    device.Write(kHookBootLoader);
    const auto prompt = Next(device, kAnswerMs);
    const QString chip = prompt == kBootPrompt ? ChipLine(device) : QString();
    device.Write(kRestart);
    return {"boot loader", {}, chip};
  }
  // A controller held in its boot loader (flash incomplete) says nothing until asked.
  const QString chip = ChipLine(device);
  if (!chip.isEmpty()) return {"held", {}, chip};
  return {"nothing", {}, {}};
}

}  // namespace

int Probe(const QStringList& arguments) {
  Parser parser("probe", "Says within about a second what is on the port: a running program "
                         "and its product, a boot loader and its chip line (\"held\": kept in "
                         "its boot loader, its firmware incomplete), or nothing. Changes "
                         "nothing on the controller.\n\nExit status: 0 something answered, "
                         "1 nothing answered or the port would not open, 2 wrong usage.", true);
  parser.OfferJson();
  if (const auto ended = parser.Parse(arguments, 0, 0)) return *ended;
  const int port = parser.Options().port;
  const QString com = "COM" + QString::number(port);
  JsonSet("port", com);
  SystemSerialDevice device;
  const std::string error = device.Open(DeviceNameForPort(port));
  if (!error.empty()) {
    return Fail(kFailure, "COM Port Fail: " + QString::fromStdString(PortErrorText(error)));
  }
  const Found found = Look(device);
  device.Close();
  JsonSet("found", found.kind);
  JsonSet("product", found.product.isEmpty() ? QJsonValue() : QJsonValue(found.product));
  JsonSet("chipLine", found.chipLine.isEmpty() ? QJsonValue() : QJsonValue(found.chipLine));
  QString line;
  if (found.kind == "program") line = com + ": a running program, " + found.product;
  if (found.kind == "boot loader") line = com + ": a boot loader, " + found.chipLine;
  if (found.kind == "held") {
    line = com + ": a boot loader holding the controller (firmware incomplete), " + found.chipLine;
  }
  if (found.kind == "nothing") return Fail(kFailure, com + ": nothing answered");
  if (!JsonWanted()) Out(line);
  return kSuccess;
}

}  // namespace zorv::cli
