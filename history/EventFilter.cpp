#include "history/EventFilter.h"

#include <QStringList>

namespace zorv::history {
namespace {

// The text form of time_utc, which sorts as it reads.
QString TimeText(const QDateTime& time) {
  return time.toUTC().toString("yyyy-MM-ddTHH:mm:ss.zzzZ");
}

// The search text as a LIKE pattern: its own % and _ are matched as themselves.
QString LikePattern(const QString& key) {
  QString escaped = key;
  escaped.replace('\\', "\\\\").replace('%', "\\%").replace('_', "\\_");
  return '%' + escaped + '%';
}

}  // namespace

QString SearchKey(const QString& text) {
  QString key = text.toLower();
  key.remove(' ');
  key.remove('\t');
  return key;
}

QString FilterSql(const Filter& filter, QVariantList& values) {
  QStringList where;
  const auto add = [&](const char* clause, const QVariant& value) {
    where << clause;
    values << value;
  };
  if (filter.truck) add("truck = ?", *filter.truck);
  if (filter.product) add("product = ?", *filter.product);
  if (filter.kind) add("kind = ?", KindKey(*filter.kind));
  const QString key = SearchKey(filter.truckSearch);
  if (!key.isEmpty()) add("REPLACE(LOWER(truck), ' ', '') LIKE ? ESCAPE '\\'", LikePattern(key));
  if (filter.from) add("time_utc >= ?", TimeText(*filter.from));
  if (filter.before) add("time_utc < ?", TimeText(*filter.before));
  return where.isEmpty() ? QString() : " WHERE " + where.join(" AND ");
}

bool Passes(const Event& event, const Filter& filter) {
  return (!filter.truck || event.truck == *filter.truck) &&
         (!filter.product || event.product == *filter.product) &&
         (!filter.kind || event.kind == *filter.kind) &&
         SearchKey(event.truck).contains(SearchKey(filter.truckSearch)) &&
         (!filter.from || event.timeUtc >= *filter.from) &&
         (!filter.before || event.timeUtc < *filter.before);
}

}  // namespace zorv::history
