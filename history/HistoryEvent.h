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
  QString product;
  QString linkText;
  QString chipLine;                  // "" where not known
  std::optional<std::uint32_t> crc;  // firmware file CRC-32, where known
  QString filePath;                  // "" where not known
  ImageBytes image{};
  QString truck;
};

// A new event of `kind` stamped now, with a fresh id.
Event NewEvent(EventKind kind, const ImageBytes& image);

}  // namespace zorv::history
