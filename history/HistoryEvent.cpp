#include "history/HistoryEvent.h"

#include <QUuid>

namespace zorv::history {
namespace {

struct KindNames {
  EventKind kind;
  const char* key;
  const char* text;
};

constexpr KindNames kKindNames[] = {
    {EventKind::Downloaded, "downloaded", "Downloaded"},
    {EventKind::Uploaded, "uploaded", "Uploaded"},
    {EventKind::FileOpened, "file-opened", "File opened"},
    {EventKind::FileSaved, "file-saved", "File saved"},
    {EventKind::JsonImported, "json-imported", "JSON imported"},
    {EventKind::FirmwareInstalled, "firmware-installed", "Firmware installed"},
    {EventKind::ReplacedUnsent, "replaced-unsent", "Replaced while holding unsent edits"},
    {EventKind::Restored, "restored", "Restored from history"},
};

struct ProductNames {
  std::uint8_t code;
  const char* name;
};

// The window's product code is 0 for both Zorv generations; the link text tells them apart.
constexpr ProductNames kProducts[] = {
    {product::kZorvPages, "Zorv"},     {product::kZorv10, "Zorv v1.0"},   {product::kZorv11, "Zorv v1.1"},
    {product::kTarnovex, "Tarnovex"},  {product::kHalverston, "Halverston"},
    {product::kQuirn, "Quirn"},
};

}  // namespace

QString KindKey(EventKind kind) {
  for (const KindNames& k : kKindNames) {
    if (k.kind == kind) return k.key;
  }
  return {};
}

QString KindText(EventKind kind) {
  for (const KindNames& k : kKindNames) {
    if (k.kind == kind) return k.text;
  }
  return {};
}

std::optional<EventKind> KindFromKey(const QString& key) {
  for (const KindNames& k : kKindNames) {
    if (key == QLatin1String(k.key)) return k.kind;
  }
  return std::nullopt;
}

QString ProductName(std::uint8_t productCode) {
  for (const ProductNames& p : kProducts) {
    if (p.code == productCode) return p.name;
  }
  return {};
}

std::uint8_t ProductCodeOf(const QString& name) {
  for (const ProductNames& p : kProducts) {
    if (name == QLatin1String(p.name)) return p.code;
  }
  return product::kZorvPages;
}

Event NewEvent(EventKind kind, const ImageBytes& image) {
  Event event;
  event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
  event.timeUtc = QDateTime::currentDateTimeUtc();
  event.kind = kind;
  event.image = image;
  return event;
}

}  // namespace zorv::history
