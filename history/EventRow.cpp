#include "history/EventRow.h"

#include <QVariant>

namespace zorv::history {
namespace {

const char* kTimeFormat = "yyyy-MM-ddTHH:mm:ss.zzzZ";

// An empty text is stored as "", never as NULL (the columns refuse NULL).
QString Text(const QString& text) { return text.isNull() ? QString("") : text; }

}  // namespace

QString EventColumns() {
  return "id, time_utc, kind, product, link_text, chip_line, file_crc32, file_path, image, truck";
}

QString InsertEventSql(const QString& tail) {
  return "INSERT INTO events (" + EventColumns() + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)" +
         (tail.isEmpty() ? QString() : " " + tail);
}

void BindEvent(QSqlQuery& query, const Event& event) {
  query.addBindValue(event.id);
  query.addBindValue(event.timeUtc.toUTC().toString(kTimeFormat));
  query.addBindValue(KindKey(event.kind));
  query.addBindValue(Text(event.product));
  query.addBindValue(Text(event.linkText));
  query.addBindValue(Text(event.chipLine));
  query.addBindValue(event.crc ? QVariant(static_cast<qlonglong>(*event.crc))
                               : QVariant(QMetaType(QMetaType::LongLong)));
  query.addBindValue(Text(event.filePath));
  query.addBindValue(QByteArray(reinterpret_cast<const char*>(event.image.data()),
                                static_cast<qsizetype>(event.image.size())));
  query.addBindValue(Text(event.truck));
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
  if (!query.value(6).isNull()) event.crc = static_cast<std::uint32_t>(query.value(6).toLongLong());
  event.filePath = query.value(7).toString();
  const QByteArray image = query.value(8).toByteArray();
  for (qsizetype i = 0; i < image.size() && i < static_cast<qsizetype>(kImageSize); ++i) {
    event.image[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(image[i]);
  }
  event.truck = query.value(9).toString();
  return event;
}

}  // namespace zorv::history
