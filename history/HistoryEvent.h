#pragma once
// One event of the service history: which image the tool saw, when, how, on which truck.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

#include "image/SettingsImage.h"

namespace zorv::history {

enum class EventKind {
  Downloaded,
  Uploaded,
  FileOpened,
  FileSaved,
  JsonImported,
  FirmwareInstalled,
  ReplacedUnsent,  // replaced while holding unsent edits
  Restored,        // restored from the history
};
inline constexpr EventKind kAllKinds[] = {
    EventKind::Downloaded,   EventKind::Uploaded,          EventKind::FileOpened,
    EventKind::FileSaved,    EventKind::JsonImported,      EventKind::FirmwareInstalled,
    EventKind::ReplacedUnsent, EventKind::Restored};

// The word stored in the file (never changes once shipped) and the text the user reads.
QString KindKey(EventKind kind);
QString KindText(EventKind kind);
std::optional<EventKind> KindFromKey(const QString& key);

// "Zorv", "Tarnovex", ... for the window's product code (or an identification byte).
QString ProductName(std::uint8_t productCode);
std::uint8_t ProductCodeOf(const QString& name);

struct Event {
  QString id;  // unique, made where the event happens
  QDateTime timeUtc;
  EventKind kind = EventKind::Downloaded;
  QString product;  // the connected controller's product ("" when none answered)
  // The controller's identification as the link reported it ("Zorv v1.1"), never the status
  // panel's text of the moment; "" when no controller was connected.
  QString linkText;
  QString chipLine;                  // "" where not known
  std::optional<std::uint32_t> crc;  // "File CRC-32": the firmware file's bytes, where known
  // "Flash CRC-32": what is in the controller's flash (read back after programming), where known.
  std::optional<std::uint32_t> flashCrc;
  QString filePath;  // "" where not known
  // The event's image. For a download: the bytes as the controller sent them, never repaired.
  ImageBytes image{};
  // How many bytes of `image` are real (121 for a Zorv v1.0 download); only those are stored.
  std::size_t imageLength = kImageSize;
  // For a download the refresh repaired: the image after its repairs. Empty when it changed
  // nothing (and for every other kind).
  std::optional<ImageBytes> repairedImage;
  // The product whose layout `image` is in (a file may hold another product's image than the
  // connected controller's); "" where not known.
  QString imageProduct;
  QString truck;
  // Filled when read back: why the register refused this event on its own ("" when it did not).
  QString setAsideReason;
};

// A new event of `kind` stamped now, with a fresh id.
Event NewEvent(EventKind kind, const ImageBytes& image);

}  // namespace zorv::history
