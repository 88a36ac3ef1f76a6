#include "history/TruckCsv.h"

#include <QStringList>
#include <algorithm>

#include "history/Visits.h"
#include "report/SettingsExport.h"

namespace zorv::history {
namespace {

// Local time with its offset: what the technician saw, and unambiguous for the customer.
QString TimeText(const QDateTime& utc) {
  const QDateTime local = utc.toLocalTime();
  return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

QString CrcText(const std::optional<std::uint32_t>& crc) {
  return crc ? QString("%1").arg(*crc, 8, 16, QChar('0')).toUpper() : QString();
}

}  // namespace

QByteArray TruckHistoryCsv(const std::vector<Event>& events) {
  std::vector<const Event*> oldestFirst;
  for (const Event& event : events) oldestFirst.push_back(&event);
  std::stable_sort(oldestFirst.begin(), oldestFirst.end(),
                   [](const Event* a, const Event* b) { return a->timeUtc < b->timeUtc; });
  QStringList lines = {
      "Time,Kind,Truck,Product,Link,Chip,File CRC-32,Flash CRC-32,File,Differences"};
  const Event* previous = nullptr;
  for (const Event* event : oldestFirst) {
    const QString time = TimeText(event->timeUtc);
    const QString differences =
        previous ? NamedDifferences(*previous, *event).join("; ") : QString();
    QStringList fields = {time,
                          KindText(event->kind),
                          event->truck,
                          event->product,
                          event->linkText,
                          event->chipLine,
                          CrcText(event->crc),
                          CrcText(event->flashCrc),
                          event->filePath,
                          differences};
    for (QString& field : fields) field = CsvField(field);
    lines << fields.join(',');
    previous = event;
  }
  return CsvDocument(lines);
}

}  // namespace zorv::history
