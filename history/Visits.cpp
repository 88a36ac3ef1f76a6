#include "history/Visits.h"

#include <algorithm>
#include <map>

#include "image/Catalogue.h"

namespace zorv::history {

const Event* Visit::Before() const {
  for (const Event& event : events) {
    if (event.kind == EventKind::Uploaded) return nullptr;
    if (event.kind == EventKind::Downloaded) return &event;
  }
  return nullptr;
}

const Event* Visit::After() const {
  for (auto it = events.rbegin(); it != events.rend(); ++it) {
    if (it->kind == EventKind::Uploaded) return &*it;
  }
  return nullptr;
}

QStringList Visit::Differences() const {
  const Event* after = After();
  if (after == nullptr) return {"Nothing was uploaded in this visit."};
  const Event* before = Before();
  if (before == nullptr) {
    return {"No download before the first upload: the image before the visit is not known."};
  }
  return NamedDifferences(*before, *after);
}

std::vector<Visit> GroupVisits(std::vector<Event> events) {
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.timeUtc < b.timeUtc; });
  std::map<std::pair<QDate, QString>, Visit> visits;
  for (Event& event : events) {
    const QDate day = event.timeUtc.toLocalTime().date();
    Visit& visit = visits[{day, event.truck}];
    visit.truck = event.truck;
    visit.day = day;
    visit.events.push_back(std::move(event));
  }
  std::vector<Visit> newestFirst;
  for (auto it = visits.rbegin(); it != visits.rend(); ++it)
    newestFirst.push_back(std::move(it->second));
  return newestFirst;
}

QStringList NamedDifferences(const Event& from, const Event& to) {
  SettingsImage a;
  SettingsImage b;
  a.bytes = from.image;
  b.bytes = to.image;
  const QString product = from.imageProduct.isEmpty() ? from.product : from.imageProduct;
  QStringList lines;
  for (const Difference& d : Compare(a, b, ProductCodeOf(product))) {
    lines << QString::fromStdString(d.Line());
  }
  if (lines.isEmpty()) lines << "No differences.";
  return lines;
}

}  // namespace zorv::history
