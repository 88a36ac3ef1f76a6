#include "history/EventRow.h"

#include <QVariant>
#include <algorithm>

namespace zorv::history {
namespace {

const char* kTimeFormat = "yyyy-MM-ddTHH:mm:ss.zzzZ";

// An empty text is stored as "", never as NULL (the columns refuse NULL). Control bytes go:
// PostgreSQL text cannot hold a NUL, and a line end would break the window's list and exports.
QString Text(const QString& text) {
  QString clean = text.isNull() ? QString("") : text;
  for (QChar& c : clean) {
    if (c.category() == QChar::Other_Control) c = u' ';
  }
  return clean;
}

QVariant Crc(const std::optional<std::uint32_t>& crc) {
  return crc ? QVariant(static_cast<qlonglong>(*crc)) : QVariant(QMetaType(QMetaType::LongLong));
}

std::optional<std::uint32_t> CrcOf(const QVariant& value) {
  if (value.isNull()) return std::nullopt;
  return static_cast<std::uint32_t>(value.toLongLong());
}

QByteArray Blob(const ImageBytes& image, std::size_t length) {
  return QByteArray(reinterpret_cast<const char*>(image.data()),
                    static_cast<qsizetype>(std::min(length, image.size())));
}

// Bytes past the blob's end stay 0.
ImageBytes ImageOf(const QByteArray& blob) {
  ImageBytes image{};
  for (qsizetype i = 0; i < blob.size() && i < static_cast<qsizetype>(kImageSize); ++i) {
    image[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(blob[i]);
  }
  return image;
}

}  // namespace

QString EventColumns() {
  return "id, time_utc, kind, product, link_text, chip_line, file_crc32, file_path, image, truck,"
         " repaired_image, flash_crc32, image_product";
}

QString InsertEventSql(const QString& tail) {
  return "INSERT INTO events (" + EventColumns() + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)" +
         (tail.isEmpty() ? QString() : " " + tail);
}

void BindEvent(QSqlQuery& query, const Event& event) {
  query.addBindValue(event.id);
  query.addBindValue(event.timeUtc.toUTC().toString(kTimeFormat));
  query.addBindValue(KindKey(event.kind));
  query.addBindValue(Text(event.product));
  query.addBindValue(Text(event.linkText));
  query.addBindValue(Text(event.chipLine));
  query.addBindValue(Crc(event.crc));
  query.addBindValue(Text(event.filePath));
  query.addBindValue(Blob(event.image, event.imageLength));
  query.addBindValue(Text(event.truck));
  query.addBindValue(event.repairedImage ? QVariant(Blob(*event.repairedImage, kImageSize))
                                         : QVariant(QMetaType(QMetaType::QByteArray)));
  query.addBindValue(Crc(event.flashCrc));
  query.addBindValue(Text(event.imageProduct));
}

std::optional<Event> EventFromRow(const QSqlQuery& query) {
  Event event;
  event.id = query.value(0).toString();
  event.timeUtc = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs);
  event.timeUtc.setTimeSpec(Qt::UTC);
  const auto kind = KindFromKey(query.value(2).toString());
  if (!kind) return std::nullopt;
  event.kind = *kind;
  event.product = query.value(3).toString();
  event.linkText = query.value(4).toString();
  event.chipLine = query.value(5).toString();
  event.crc = CrcOf(query.value(6));
  event.filePath = query.value(7).toString();
  const QByteArray image = query.value(8).toByteArray();
  event.image = ImageOf(image);
  event.imageLength = std::min(static_cast<std::size_t>(image.size()), kImageSize);
  event.truck = query.value(9).toString();
  if (!query.value(10).isNull()) event.repairedImage = ImageOf(query.value(10).toByteArray());
  event.flashCrc = CrcOf(query.value(11));
  event.imageProduct = query.value(12).toString();
  return event;
}

}  // namespace zorv::history
